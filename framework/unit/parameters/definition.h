#pragma once
// One row of a model's parameter table. The table (`classic::definitions`, indexed by
// parameter ID) is the single source of names, ranges, defaults and kinds for the unit, the
// engine, state validation and the editor.

#include <cmath>
#include <cstdint>

namespace classic {

struct Definition {
    const char* name; // host-visible parameter name, UTF-8
    float minimum;
    float maximum;
    float defaultValue;
    const char* unitText;   // "dB", "%" or ""
    std::uint8_t isSwitch;  // two-state switch: values rounded
    std::uint8_t isIndexed; // stepped parameter: values rounded, may have value strings
    std::uint8_t isUtility; // drawn in the editor's DETAIL strip
};

// The normalise rule every value passes on its way into the unit or an engine: non-finite
// values fall back to the default, others are clamped to the range and, for stepped rows,
// rounded half away from zero.
// [any thread]
inline float normalize(const Definition& row, float value) noexcept {
    if (!std::isfinite(value)) {
        return row.defaultValue;
    }
    if (value < row.minimum) {
        value = row.minimum;
    } else if (value > row.maximum) {
        value = row.maximum;
    }
    if (row.isSwitch || row.isIndexed) {
        value = std::round(value);
    }
    return value;
}

} // namespace classic
