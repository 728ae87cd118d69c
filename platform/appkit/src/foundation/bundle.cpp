// NSBundle over CFBundle.

#include <Foundation/NSBundle.h>

std::shared_ptr<NSBundle> NSBundle::bundleWithIdentifier(const NSString& identifier) {
    if (!identifier) {
        return nullptr;
    }
    CFBundleRef bundle = CFBundleGetBundleWithIdentifier(identifier.cf());
    return bundle ? std::make_shared<NSBundle>(bundle) : nullptr;
}

std::shared_ptr<NSBundle> NSBundle::bundleWithURL(const NSURL& url) {
    if (!url) {
        return nullptr;
    }
    CFBundleRef bundle = CFBundleCreate(kCFAllocatorDefault, url.cf());
    if (!bundle) {
        return nullptr;
    }
    auto result = std::make_shared<NSBundle>(bundle);
    CFRelease(bundle);
    return result;
}

std::shared_ptr<NSBundle> NSBundle::bundleWithPath(const NSString& path) {
    return bundleWithURL(NSURL::fileURLWithPath(path, true));
}

NSBundle::NSBundle(CFBundleRef bundle) : bundle_(bundle) {
    if (bundle_) {
        CFRetain(bundle_);
    }
}

NSBundle::~NSBundle() {
    if (bundle_) {
        CFRelease(bundle_);
    }
}

NSString NSBundle::bundleIdentifier() const {
    return bundle_ ? NSString::bridge(CFBundleGetIdentifier(bundle_)) : NSString();
}

NSURL NSBundle::bundleURL() const {
    return bundle_ ? NSURL::bridgeTransfer(CFBundleCopyBundleURL(bundle_)) : NSURL();
}

NSString NSBundle::bundlePath() const {
    return bundleURL().path();
}

NSURL NSBundle::resourceURL() const {
    return bundle_ ? NSURL::bridgeTransfer(CFBundleCopyResourcesDirectoryURL(bundle_)) : NSURL();
}

NSString NSBundle::resourcePath() const {
    return resourceURL().path();
}

NSURL NSBundle::URLForResource(const NSString& name, const NSString& extension) const {
    if (!bundle_ || !name) {
        return NSURL();
    }
    return NSURL::bridgeTransfer(CFBundleCopyResourceURL(
        bundle_, name.cf(), extension && extension.length() ? extension.cf() : nullptr, nullptr));
}

NSString NSBundle::pathForResource(const NSString& name, const NSString& type) const {
    return URLForResource(name, type).path();
}

bool NSBundle::load() {
    return bundle_ && CFBundleLoadExecutable(bundle_);
}

bool NSBundle::isLoaded() const {
    return bundle_ && CFBundleIsExecutableLoaded(bundle_);
}
