#pragma once
// The unit the accuracy tests of the engines' functions measure errors in.

#include <cmath>

namespace kelvo_test {

// The spacing of doubles at |y| (the binade's ulp; subnormal spacing below 2^-1022).
inline long double ulpAt(long double y) {
    y = fabsl(y);
    if (y < 0x1p-1022L) {
        return 0x1p-1074L;
    }
    int exponent = 0;
    frexpl(y, &exponent); // y = m 2^exponent, 0.5 <= m < 1
    return ldexpl(1.0L, exponent - 53);
}

} // namespace kelvo_test
