#pragma once
// AUCocoaUIBase: the protocol of an Audio Unit's Cocoa view factory, the class its CocoaUI
// property names.
//
// A factory class derives from NSObject and AUCocoaUIBase and registers itself by name
// (NSClassRegistrar); a host finds it with NSClassFromString, checks
// instancesRespondToSelector("uiViewForAudioUnit:withSize:"), makes an instance with
// newInstance() and asks it, through dynamic_cast<AUCocoaUIBase*>, for a view.

#include <AppKit/NSView.h>

// The Audio Unit handle, declared as AudioToolbox declares it (<AudioUnit/AUComponent.h>).
typedef struct ComponentInstanceRecord* AudioComponentInstance;
typedef AudioComponentInstance AudioUnit;

class APPKIT_EXPORT AUCocoaUIBase {
public:
    static constexpr const char* protocolSelectors[] = {"interfaceVersion",
                                                        "uiViewForAudioUnit:withSize:"};
    virtual ~AUCocoaUIBase();
    virtual unsigned interfaceVersion() = 0;
    // A new view for the unit (the size is a hint the editor may ignore); nullptr on failure.
    virtual std::shared_ptr<NSView> uiViewForAudioUnit(AudioUnit unit, NSSize preferredSize) = 0;
};
