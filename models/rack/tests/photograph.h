#pragma once
// A bundle photograph read back pixel by pixel at art-space points, for the tests that measure
// what the artwork shows where the editor draws.

#include "toolkit/iron.h"

#include <AppKit/AppKit.h>

#include <memory>
#include <string_view>

namespace racktest {

class Photograph {
public:
    // The photograph the editor loads by that name; empty when it does not load.
    explicit Photograph(std::string_view name) {
        if (std::shared_ptr<NSImage> image = iron::resource(name);
            image && !image->representations().empty()) {
            bitmap_ = std::dynamic_pointer_cast<NSBitmapImageRep>(image->representations()[0]);
        }
    }

    bool loaded() const { return bitmap_ != nullptr; }
    // Pixels per art unit, across.
    double density() const { return static_cast<double>(bitmap_->pixelsWide()) / 1983; }

    // The pixel an art point falls in, its colour's luminance from 0 to 1.
    double luminance(double x, double y) const {
        const CGRGBAColor c = pixel(x, y);
        return 0.2126 * c.red + 0.7152 * c.green + 0.0722 * c.blue;
    }
    CGRGBAColor pixel(double x, double y) const {
        const double k = density();
        return bitmap_->colorAtX(static_cast<NSInteger>(x * k), static_cast<NSInteger>(y * k));
    }

private:
    std::shared_ptr<NSBitmapImageRep> bitmap_;
};

} // namespace racktest
