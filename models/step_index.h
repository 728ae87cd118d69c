#pragma once
// Table lookup by a stepped parameter's target. Targets are normalised (whole numbers inside
// the row's range), so the index is always in range; the clamps keep it so whatever reaches
// it, NaN included.

namespace classic {

// [any thread]
inline unsigned stepIndex(float target, unsigned last) noexcept {
    if (!(target > 0.0f)) {
        return 0;
    }
    if (target >= static_cast<float>(last)) {
        return last;
    }
    return static_cast<unsigned>(target);
}

} // namespace classic
