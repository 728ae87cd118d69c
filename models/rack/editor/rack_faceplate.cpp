// The rack faceplate (Corvel, Fennic): the controls at the fixed places of the model's rack
// layout, DETAIL mode by its slider list, and the selectors: Fennic's ratio and meter columns
// and Corvel's IN / OUT switch of the VU source (faceplate_selectors.h). The model's editor
// folder draws the faceplate's print and meter and decides where the needle heads
// (rack_drawing.h).

#include "view/editor_view.h"

#include "model/editor_model.h"
#include "rack/editor/faceplate_selectors.h"
#include "rack/editor/rack_layout.h"
#include "view/view_layout.h"

namespace {

constexpr unsigned bypassId = classic::model.bypassId;

// The DETAIL slider k, placed by layoutUtility in ascending ID order whatever the order the
// sliders were made in.
CGRect sliderPlace(double k) {
    return CGRectMake(420, 330 + 100 * k, 680, 27);
}

// A button's action: the view's changed:, or one the selectors perform.
SEL selectorOf(classic::RackAction action) {
    switch (action) {
    case classic::RackAction::toggleMeter:
        return SELECTOR(FaceplateSelectors, toggleMeter);
    case classic::RackAction::ratio:
        return SELECTOR(FaceplateSelectors, ratio);
    case classic::RackAction::meter:
        return SELECTOR(FaceplateSelectors, meter);
    case classic::RackAction::changed:
        break;
    }
    return SELECTOR(KelvoView, changed);
}

NSArray markingsOf(const classic::RackDial& dial) {
    if (dial.markings.empty()) {
        return nullptr;
    }
    NSMutableArray markings = NSMutableArray::arrayWithCapacity(dial.markings.size());
    for (const char* marking : dial.markings) {
        markings.addObject(NSString(marking));
    }
    return markings;
}

} // namespace

void KelvoView::buildFaceplate() {
    selectors = std::make_shared<FaceplateSelectors>(*this);
    // Here the UI size pop-up comes before the dials, which puts it first in the help look-up.
    addScaleMenu({"75%", "85%", "100%"});
    for (const classic::RackDial& d : classic::rackLayout.dials) {
        dial(d.id, d.centre, d.hit, d.radius, d.ring, markingsOf(d));
    }
    for (const classic::RackButton& b : classic::rackLayout.buttons) {
        std::shared_ptr<KelvoButton> control = button(b.title, b.art, selectorOf(b.action));
        if (b.action != classic::RackAction::changed) {
            control->setTarget(selectors);
        }
        control->setTag(b.tag);
        if (b.pushOnPushOff) {
            control->setButtonType(NSButtonTypePushOnPushOff);
        }
        control->persistentIndicator = b.persistentIndicator;
        control->customFace = b.customFace;
        if (b.toolTip != nullptr) {
            control->setToolTip(b.toolTip);
        }
        switch (b.group) {
        case classic::RackGroup::parameter:
            controls[static_cast<unsigned>(b.tag)] = control;
            break;
        case classic::RackGroup::ratio:
            selectors->addRatioButton(control);
            break;
        case classic::RackGroup::meter:
            selectors->addMeterButton(control);
            break;
        case classic::RackGroup::none:
            break;
        }
    }
    // A parameter that already has its knob gets no slider as well.
    for (unsigned id : classic::rackLayout.sliders) {
        if (!controls.contains(id)) {
            slider(id, CGRectZero);
        }
    }
}

void KelvoView::layoutUtility() {
    scaleMenu->setHidden(!utility);
    double k = 0;
    for (const auto& [id, control] : controls) {
        if (dynamic_cast<NSSlider*>(control.get()) != nullptr) {
            control->setHidden(!utility);
            control->setFrame(ViewLayout::scaled(sliderPlace(k)));
            k += 1;
        } else if (id != bypassId) {
            control->setHidden(utility);
        }
    }
    for (const std::shared_ptr<KelvoButton>& button : selectors->ratioButtonList()) {
        button->setHidden(utility);
    }
}

void KelvoView::showSelections() {
    selectors->showSelections();
}
