// The rack faceplate (Corvel, Fennic): the controls at the fixed places of the model's rack
// layout, DETAIL mode by its slider list, Fennic's ratio and meter columns and Corvel's IN / OUT
// switch of the VU source. The model's editor folder draws the faceplate's print and meter and
// decides where the needle heads (rack_drawing.h).

#include "view/editor_view.h"

#include "model/editor_model.h"
#include "rack/editor/rack_layout.h"
#include "step_index.h"
#include "view/view_layout.h"

namespace {

constexpr unsigned bypassId = classic::model.bypassId;

// The DETAIL slider k, placed by layoutUtility in ascending ID order whatever the order the
// sliders were made in.
CGRect sliderPlace(double k) {
    return CGRectMake(420, 330 + 100 * k, 680, 27);
}

SEL selectorOf(classic::RackAction action) {
    switch (action) {
    case classic::RackAction::toggleMeter:
        return SELECTOR(KelvoView, toggleMeter);
    case classic::RackAction::ratio:
        return SELECTOR(KelvoView, ratio);
    case classic::RackAction::meter:
        return SELECTOR(KelvoView, meter);
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

// A stepped parameter's value as the step it selects; a failed read (0) selects the first,
// and so does a model without that parameter (Corvel has no Meter).
unsigned stepOf(float value, unsigned id) {
    if (id >= classic::parameterCount) {
        return 0;
    }
    return classic::stepIndex(value, static_cast<unsigned>(classic::definitions[id].maximum));
}

void light(const std::vector<std::shared_ptr<KelvoButton>>& buttons, unsigned selected, bool all) {
    for (const std::shared_ptr<KelvoButton>& button : buttons) {
        const bool on = all || static_cast<unsigned>(button->tag()) == selected;
        button->setState(on ? NSControlStateValueOn : NSControlStateValueOff);
        button->setNeedsDisplay(true);
    }
}

} // namespace

void KelvoView::buildFaceplate() {
    // Here the UI size pop-up comes before the dials, which puts it first in the help look-up.
    addScaleMenu({"75%", "85%", "100%"});
    for (const classic::RackDial& d : classic::rackLayout.dials) {
        dial(d.id, d.centre, d.hit, d.radius, d.ring, markingsOf(d));
    }
    for (const classic::RackButton& b : classic::rackLayout.buttons) {
        std::shared_ptr<KelvoButton> control = button(b.title, b.art, selectorOf(b.action));
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
            ratioButtons.push_back(control);
            break;
        case classic::RackGroup::meter:
            meterButtons.push_back(control);
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
    for (const std::shared_ptr<KelvoButton>& button : ratioButtons) {
        button->setHidden(utility);
    }
}

void KelvoView::showSelections() {
    if (!ratioButtons.empty()) {
        const unsigned id = classic::rackLayout.ratioId;
        const unsigned ratio = stepOf(value(id), id);
        light(ratioButtons, ratio, ratio == stepOf(classic::rackLayout.allRatios, id));
    }
    if (!meterButtons.empty()) {
        const unsigned id = classic::model.meterId;
        light(meterButtons, stepOf(value(id), id), false);
    }
}

void KelvoView::ratio(NSControl* sender) {
    if (sender == nullptr) {
        return;
    }
    // Shift held at the click selects All Buttons, whichever ratio was clicked.
    const bool shift = (NSEvent::currentModifierFlags() & NSEventModifierFlagShift) != 0;
    set(classic::rackLayout.ratioId,
        shift ? classic::rackLayout.allRatios : static_cast<float>(sender->tag()));
    refresh();
}

void KelvoView::meter(NSControl* sender) {
    if (sender == nullptr) {
        return;
    }
    set(classic::model.meterId, static_cast<float>(sender->tag()));
    refresh();
}

void KelvoView::toggleMeter(NSControl*) {
    // The VU source is the view's own: nothing reaches the unit.
    meterInput = !meterInput;
    refresh();
}
