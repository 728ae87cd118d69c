#pragma once
// NSAppearance: a named appearance. Views record the appearance they are given; drawing does
// not change with it (the faceplate is a photograph).

#include <AppKit/AppKitDefines.h>
#include <Foundation/NSObject.h>
#include <Foundation/NSString.h>

typedef NSString NSAppearanceName;
APPKIT_EXPORT extern const NSAppearanceName NSAppearanceNameAqua;
APPKIT_EXPORT extern const NSAppearanceName NSAppearanceNameDarkAqua;

class APPKIT_EXPORT NSAppearance : public NSObject {
public:
    // One shared object per name; nullptr for an unknown name.
    static std::shared_ptr<NSAppearance> appearanceNamed(const NSAppearanceName& name);
    const NSAppearanceName& name() const { return name_; }
    explicit NSAppearance(NSAppearanceName name);

private:
    NSAppearanceName name_;
};
