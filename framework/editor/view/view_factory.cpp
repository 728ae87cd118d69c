// KelvoViewFactory (KelvoTolvarViewFactory, KelvoRackCorvelFactory): the class the unit's
// Cocoa view property names. The bundle registers it, and the view classes, with the class registry
// when its executable is loaded.

#include "classes.h"
#include "view/editor_view.h"

#include "model.h"

#include <AudioUnit/AUCocoaUIView.h>

#include <string_view>

static_assert(std::string_view(KELVO_CLASS_NAME(KelvoViewFactory)) ==
                  std::string_view(classic::model.viewFactoryClass),
              "the editor's factory is the class the unit's Cocoa view property names");

class KelvoViewFactory : public NSObject, public AUCocoaUIBase {
public:
    unsigned interfaceVersion() override { return 0; }
    NSString description() const override { return classic::model.product; }
    // A new view for every request; the size is ignored. [main thread]
    std::shared_ptr<NSView> uiViewForAudioUnit(AudioUnit unit, NSSize) override {
        return KelvoView::initWithUnit(unit);
    }
};

namespace {

const NSClassRegistrar<KelvoViewFactory> factoryClass(KELVO_CLASS_NAME(KelvoViewFactory));
const NSClassRegistrar<KelvoView> viewClass(KELVO_CLASS_NAME(KelvoView));
const NSClassRegistrar<KelvoDial> dialClass(KELVO_CLASS_NAME(KelvoDial));
const NSClassRegistrar<KelvoButton> buttonClass(KELVO_CLASS_NAME(KelvoButton));

} // namespace
