#include "rack/editor/faceplate_selectors.h"

#include "rack/editor/rack_layout.h"
#include "step_index.h"

namespace {

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

FaceplateSelectors::FaceplateSelectors(KelvoView& owner) : view(owner) {}

void FaceplateSelectors::addRatioButton(std::shared_ptr<KelvoButton> button) {
    ratioButtons.push_back(std::move(button));
}

void FaceplateSelectors::addMeterButton(std::shared_ptr<KelvoButton> button) {
    meterButtons.push_back(std::move(button));
}

void FaceplateSelectors::ratio(NSControl* sender) {
    if (sender == nullptr) {
        return;
    }
    // Shift held at the click selects All Buttons, whichever ratio was clicked.
    const bool shift = (NSEvent::currentModifierFlags() & NSEventModifierFlagShift) != 0;
    view.set(classic::rackLayout.ratioId,
             shift ? classic::rackLayout.allRatios : static_cast<float>(sender->tag()));
    view.refresh();
}

void FaceplateSelectors::meter(NSControl* sender) {
    if (sender == nullptr) {
        return;
    }
    view.set(classic::model.meterId, static_cast<float>(sender->tag()));
    view.refresh();
}

void FaceplateSelectors::toggleMeter(NSControl*) {
    // The VU source is the view's own: nothing reaches the unit.
    meterInput = !meterInput;
    view.refresh();
}

void FaceplateSelectors::showSelections() {
    if (!ratioButtons.empty()) {
        const unsigned id = classic::rackLayout.ratioId;
        const unsigned selected = stepOf(view.value(id), id);
        light(ratioButtons, selected, selected == stepOf(classic::rackLayout.allRatios, id));
    }
    if (!meterButtons.empty()) {
        const unsigned id = classic::model.meterId;
        light(meterButtons, stepOf(view.value(id), id), false);
    }
}
