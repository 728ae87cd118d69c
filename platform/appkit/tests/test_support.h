#pragma once
// Helpers shared by the stand-in's tests: readable Foundation values and geometry checks.

#include <CoreGraphics/CGGeometry.h>
#include <Foundation/NSString.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>

inline void PrintTo(const NSString& s, std::ostream* os) {
    *os << (s ? "\"" + s.stdString() + "\"" : std::string("nil"));
}

inline void expectRect(CGRect r, double x, double y, double w, double h, double tolerance = 1e-9) {
    EXPECT_NEAR(r.origin.x, x, tolerance);
    EXPECT_NEAR(r.origin.y, y, tolerance);
    EXPECT_NEAR(r.size.width, w, tolerance);
    EXPECT_NEAR(r.size.height, h, tolerance);
}
