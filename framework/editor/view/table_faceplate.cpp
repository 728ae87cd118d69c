// The framework faceplate (Tolvar and the five further models): controls laid out from the
// flags of the parameter table, DETAIL mode by the utility flag, and the needle following the
// model's Meter parameter. Its drawing is view/faceplate_drawing.cpp.

#include "view/editor_view.h"

#include "model/editor_model.h"
#include "view/needle_motion.h"
#include "view/view_layout.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr unsigned meterId = classic::model.meterId;
constexpr unsigned bypassId = classic::model.bypassId;

} // namespace

void KelvoView::buildFaceplate() {
    const ViewLayout::Plan plan =
        ViewLayout::plan(classic::definitions, classic::parameterCount, meterId, bypassId);
    for (std::size_t i = 0; i < plan.mainDialCount; ++i) {
        mainDials.push_back(plan.mainDials[i]);
    }
    for (std::size_t i = 0; i < plan.mainDialCount; ++i) {
        const ViewLayout::Dial place = ViewLayout::mainDial(plan.mainDialCount, i);
        dial(plan.mainDials[i], place.centre, place.hit, place.radius, false, nullptr);
    }
    for (std::size_t k = 0; k < plan.toggleCount; ++k) {
        const unsigned id = plan.toggles[k];
        std::shared_ptr<KelvoButton> toggle =
            button(classic::definitions[id].name, ViewLayout::toggle(plan.mainDialCount, k),
                   SELECTOR(KelvoView, changed));
        toggle->setTag(id);
        toggle->setButtonType(NSButtonTypePushOnPushOff);
        toggle->persistentIndicator = true;
        toggle->customFace = true;
        controls[id] = toggle;
    }

    std::shared_ptr<KelvoButton> meter =
        button("METER", CGRectMake(1480, 660, 300, 37), SELECTOR(KelvoView, nextMeter));
    meter->setTag(meterId);
    meter->customFace = true;
    meter->setAccessibilityLabel("Meter mode: click to switch");
    controls[meterId] = meter;

    for (std::size_t k = 0; k < plan.sliderCount; ++k) {
        const classic::Definition& row = classic::definitions[plan.sliders[k]];
        std::shared_ptr<NSSlider> control = slider(plan.sliders[k], ViewLayout::slider(k));
        if (row.isSwitch || row.isIndexed) {
            control->setNumberOfTickMarks(static_cast<NSInteger>(row.maximum - row.minimum + 1));
            control->setAllowsTickMarkValuesOnly(true);
        }
    }

    addScaleMenu({"UI 75%", "UI 85%", "UI 100%"});
}

void KelvoView::layoutUtility() {
    scaleMenu->setHidden(!utility);
    for (const auto& [id, control] : controls) {
        if (id == meterId || id == bypassId) {
            continue;
        }
        control->setHidden(static_cast<bool>(classic::definitions[id].isUtility) != utility);
    }
}

void KelvoView::showSelections() {
    // Every lamp of this faceplate is a button bound to its own parameter.
}

double KelvoView::needleTarget() {
    // Meter 1 shows the output level; Meter 0 the input level or, in the dynamics models, the
    // larger gain reduction made negative, without offset (no reduction rests at the 0 mark,
    // 5 dB reads -5).
    if (value(meterId) >= 0.5f) {
        return needlemotion::louder(telemetry.output) + needlemotion::vuOffset;
    }
    if (classic::editorModel.meterKind == classic::MeterKind::gainReduction) {
        // A reduction that is not a number reads as none.
        const double reduction = std::max(telemetry.gr[0], telemetry.gr[1]);
        return std::isfinite(reduction) ? -reduction : 0.0;
    }
    return needlemotion::louder(telemetry.input) + needlemotion::vuOffset;
}
