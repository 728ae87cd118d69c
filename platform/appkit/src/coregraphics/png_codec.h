#pragma once
// PNG decoding and encoding with Cairo, with the pHYs density chunk (Cairo ignores it).

#include <CoreGraphics/CGImage.h>

#include <cstddef>
#include <vector>

namespace cg {

struct DecodedPNG {
    CGImageRef image = nullptr; // +1, nullptr when the bytes are not a PNG
    double pixelsPerMetreX = 0; // 0 when the file gives no density in metres
    double pixelsPerMetreY = 0;
};

DecodedPNG decodePNG(const void* bytes, std::size_t length);
// pixelsPerMetre 0: no pHYs chunk.
std::vector<unsigned char> encodePNG(CGImageRef image, double pixelsPerMetreX,
                                     double pixelsPerMetreY);

} // namespace cg
