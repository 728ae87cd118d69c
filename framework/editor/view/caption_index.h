#pragma once
// Which entry of a value-string table a stepped parameter's value shows.

#include <algorithm>
#include <cmath>

// Rounded half away from zero and kept inside the table of count entries; a value that is
// not a number has no place in it and takes the first entry. [any thread]
inline unsigned captionIndex(float v, unsigned count) {
    const double index = std::round(static_cast<double>(v));
    if (!(index >= 0)) {
        return 0;
    }
    return static_cast<unsigned>(std::min(index, static_cast<double>(count - 1)));
}
