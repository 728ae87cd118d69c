#pragma once
// NSBundle: a bundle directory and its resources, through Core Foundation's bundle registry.
//
// Promises:
// - bundleWithIdentifier finds a bundle already known to the process (opened through
//   CFBundleCreate or bundleWithURL); nullptr when none has that identifier.
// - bundleWithURL opens (and registers) the bundle at a directory; nullptr when it is not a
//   bundle. Two NSBundle objects of one CF bundle are interchangeable.
// - load loads the executable (running its static class registrars); true when it is loaded.
// - URLForResource(name, extension) is Contents/Resources/<name>.<extension> when that file
//   exists, nil otherwise.

#include <Foundation/NSObject.h>
#include <Foundation/NSString.h>
#include <Foundation/NSURL.h>

class FOUNDATION_EXPORT NSBundle : public NSObject {
public:
    static std::shared_ptr<NSBundle> bundleWithIdentifier(const NSString& identifier);
    static std::shared_ptr<NSBundle> bundleWithURL(const NSURL& url);
    static std::shared_ptr<NSBundle> bundleWithPath(const NSString& path);

    explicit NSBundle(CFBundleRef bundle); // retains
    ~NSBundle() override;

    CFBundleRef CFBundle() const { return bundle_; }
    NSString bundleIdentifier() const;
    NSURL bundleURL() const;
    NSString bundlePath() const;
    NSString resourcePath() const;
    NSURL resourceURL() const;
    NSURL URLForResource(const NSString& name, const NSString& extension) const;
    NSString pathForResource(const NSString& name, const NSString& type) const;
    bool load();
    bool isLoaded() const;

private:
    CFBundleRef bundle_ = nullptr;
};
