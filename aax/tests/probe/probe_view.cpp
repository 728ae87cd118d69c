// The probe's editor classes, which its Cocoa view property names: a factory that makes a
// plain view of the configured size, one that makes none, and a class that is no factory.

#include "probe_unit.h"

#include <AudioUnit/AUCocoaUIView.h>

namespace {

class ProbeViewFactory : public NSObject, public AUCocoaUIBase {
public:
    unsigned interfaceVersion() override { return 0; }
    std::shared_ptr<NSView> uiViewForAudioUnit(AudioUnit, NSSize) override {
        const probe::Configuration& configuration = probeConfiguration();
        return std::make_shared<NSView>(
            CGRectMake(0, 0, configuration.viewWidth, configuration.viewHeight));
    }
};

class ProbeBlankFactory : public NSObject, public AUCocoaUIBase {
public:
    unsigned interfaceVersion() override { return 0; }
    std::shared_ptr<NSView> uiViewForAudioUnit(AudioUnit, NSSize) override { return nullptr; }
};

class ProbeNotAFactory : public NSObject {};

const NSClassRegistrar<ProbeViewFactory> viewFactory("KelvoProbeViewFactory");
const NSClassRegistrar<ProbeBlankFactory> blankFactory("KelvoProbeBlankFactory");
const NSClassRegistrar<ProbeNotAFactory> notAFactory("KelvoProbeNotAFactory");

} // namespace
