// The editor view's parameter I/O: reading and setting values inside host gestures, the
// dial edit bracket, the actions, the captions and the 30 Hz poll.

#include "view/editor_view.h"

#include "model/editor_model.h"
#include "view/caption_index.h"
#include "view/needle_motion.h"

#include <AudioToolbox/AudioUnitUtilities.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr unsigned meterId = classic::model.meterId;

AudioUnitParameter address(AudioUnit unit, unsigned id) {
    return AudioUnitParameter{unit, id, kAudioUnitScope_Global, 0};
}

} // namespace

float KelvoView::value(unsigned id) {
    // A failed read yields 0, shown as such, whatever the unit left in the value.
    AudioUnitParameterValue v = 0;
    if (AudioUnitGetParameter(unit, id, kAudioUnitScope_Global, 0, &v) != noErr) {
        return 0;
    }
    return v;
}

void KelvoView::gesture(unsigned id, bool begin) {
    AudioUnitEvent event{};
    event.mEventType = begin ? kAudioUnitEvent_BeginParameterChangeGesture
                             : kAudioUnitEvent_EndParameterChangeGesture;
    event.mArgument.mParameter = address(unit, id);
    AUEventListenerNotify(nullptr, this, &event);
}

void KelvoView::set(unsigned id, float v) {
    // While a dial of this parameter is being edited its own changes are inside its bracket.
    const bool wrap = active != static_cast<std::int64_t>(id);
    if (wrap) {
        gesture(id, true);
    }
    if (id < classic::parameterCount) {
        const classic::Definition& row = classic::definitions[id];
        v = std::isfinite(v) ? std::clamp(v, row.minimum, row.maximum) : row.defaultValue;
    }
    const AudioUnitParameter parameter = address(unit, id);
    AUParameterSet(nullptr, this, &parameter, v, 0);
    if (wrap) {
        gesture(id, false);
    }
}

void KelvoView::beginDial(NSControl* dial) {
    active = dial->tag();
    gesture(static_cast<unsigned>(dial->tag()), true);
}

void KelvoView::endDial(NSControl* dial) {
    gesture(static_cast<unsigned>(dial->tag()), false);
    active = -1;
}

void KelvoView::changed(NSControl* sender) {
    if (sender == nullptr) {
        return;
    }
    selectedPreset = "Custom";
    float v = 0;
    if (auto* button = dynamic_cast<NSButton*>(sender)) {
        v = button->state() == NSControlStateValueOn ? 1.0f : 0.0f;
    } else {
        v = static_cast<float>(sender->doubleValue());
    }
    set(static_cast<unsigned>(sender->tag()), v);
    refresh();
}

void KelvoView::nextMeter(NSControl*) {
    set(meterId, value(meterId) < 0.5f ? 1.0f : 0.0f);
    refresh();
}

void KelvoView::initialize(NSControl*) {
    // The preset title stays: INIT is not a preset, and no preset notification is sent.
    finish();
    for (unsigned id = 0; id < classic::parameterCount; ++id) {
        set(id, classic::editorModel.startValues[id]);
    }
    refresh();
}

void KelvoView::finish() {
    for (const auto& [id, control] : controls) {
        if (auto* dial = dynamic_cast<KelvoDial*>(control.get())) {
            dial->finish();
        }
    }
}

NSString KelvoView::formatted(unsigned id) {
    const float v = value(id);
    unsigned count = 0;
    if (const char* const* list = classic::choices(id, count); list != nullptr && count > 0) {
        return NSString(list[captionIndex(v, count)]);
    }
    const char* unitText = id < classic::parameterCount ? classic::definitions[id].unitText : "";
    return NSString::stringWithFormat("%.1f %s", static_cast<double>(v), unitText);
}

void KelvoView::updatePresetTitle() {
    // Rebuilt only when the name changes, so the poll does not make a string per frame.
    const NSString& name = selectedPreset ? selectedPreset : NSString("Studio Start");
    if (shownPreset && shownPreset.isEqualToString(name)) {
        return;
    }
    shownPreset = name;
    presetButton->setTitle(
        NSString::stringWithFormat("PRESETS \u00b7 %s  \u25be", name.UTF8String()));
}

void KelvoView::updateMeterTitle(NSButton* meter) {
    unsigned count = 0;
    const char* const* list = classic::choices(meterId, count);
    const int caption = list != nullptr && count > 0
                            ? static_cast<int>(captionIndex(value(meterId), count))
                            : -2; // no table: the caption follows the number, rebuild each time
    if (caption >= 0 && caption == shownMeterCaption) {
        return;
    }
    shownMeterCaption = caption;
    meter->setTitle(NSString::stringWithFormat("METER \u00b7 %s",
                                               formatted(meterId).uppercaseString().UTF8String()));
}

void KelvoView::refresh() {
    updateHelp();
    updatePresetTitle();
    for (const auto& [id, control] : controls) {
        const float v = value(id);
        if (static_cast<std::int64_t>(id) != active) {
            control->setDoubleValue(v);
        }
        if (auto* button = dynamic_cast<NSButton*>(control.get())) {
            button->setState(v > 0.5f ? NSControlStateValueOn : NSControlStateValueOff);
            if (id == meterId) {
                updateMeterTitle(button);
            }
        }
        control->setNeedsDisplay(true);
    }

    showSelections();

    // A failed read leaves the last block in place.
    UInt32 size = sizeof telemetry;
    AudioUnitGetProperty(unit, classic::model.meterProperty, kAudioUnitScope_Global, 0, &telemetry,
                         &size);
    needle = needlemotion::approach(needle, needleTarget());
    setNeedsDisplay(true);
}
