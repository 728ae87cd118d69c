#pragma once
// Helpers shared by the stand-in's tests: readable Foundation values, geometry checks and a
// window's picture saved for a person to look at.

#include <AppKit/NSImage.h>
#include <AppKit/NSWindow.h>
#include <CoreGraphics/CGGeometry.h>
#include <Foundation/NSData.h>
#include <Foundation/NSString.h>
#include <Foundation/NSURL.h>

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

// The window's last drawn image as a PNG file at path.
inline bool writeWindowPNG(const NSWindow& window, const std::string& path) {
    const std::shared_ptr<NSBitmapImageRep>& drawn = window.backingImageRep();
    const NSData png = drawn ? drawn->representationUsingType(NSBitmapImageFileTypePNG) : NSData();
    return png && png.writeToURL(NSURL::fileURLWithPath(path.c_str(), false), NSDataWritingAtomic,
                                 nullptr);
}
