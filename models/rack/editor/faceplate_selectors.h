#pragma once
// The rack faceplate's selectors: the buttons that choose without being bound to one parameter
// each. Fennic's ratio column writes Ratio (Shift-click: All Buttons) and lights the selected
// lamp, or all five for All Buttons; its meter-mode column writes Meter; Corvel's IN / OUT
// switch chooses the VU source, a choice of the view's own that reaches neither the unit nor
// a preset. The rack faceplate builds them with the view, which holds them; they are those
// buttons' target. Main thread only.

#include "view/editor_view.h"

#include <memory>
#include <vector>

class FaceplateSelectors : public NSObject {
public:
    explicit FaceplateSelectors(KelvoView& view);

    // Keeps a button of the ratio or the meter-mode column (not in the view's `controls`), in
    // the column's order.
    void addRatioButton(std::shared_ptr<KelvoButton> button);
    void addMeterButton(std::shared_ptr<KelvoButton> button);

    // Actions: a ratio button, a meter-mode button, the IN / OUT switch.
    void ratio(NSControl* sender);
    void meter(NSControl* sender);
    void toggleMeter(NSControl* sender);

    // At every poll: the lamps of the selected ratio and meter mode.
    void showSelections();

    const std::vector<std::shared_ptr<KelvoButton>>& ratioButtonList() const {
        return ratioButtons;
    }
    const std::vector<std::shared_ptr<KelvoButton>>& meterButtonList() const {
        return meterButtons;
    }
    // The VU follows the input (true) or the output.
    bool isMeterInput() const { return meterInput; }

private:
    KelvoView& view; // holds these selectors, so outlives them
    std::vector<std::shared_ptr<KelvoButton>> ratioButtons;
    std::vector<std::shared_ptr<KelvoButton>> meterButtons;
    bool meterInput = false;
};
