// PNG decoding and encoding.

#include "png_codec.h"

#include "image_internal.h"

#include <array>
#include <cmath>
#include <cstring>

namespace cg {
namespace {

constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

uint32_t readBig32(const unsigned char* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

void writeBig32(std::vector<unsigned char>& out, uint32_t v) {
    out.push_back(static_cast<unsigned char>(v >> 24));
    out.push_back(static_cast<unsigned char>(v >> 16));
    out.push_back(static_cast<unsigned char>(v >> 8));
    out.push_back(static_cast<unsigned char>(v));
}

// CRC-32 of PNG chunks (polynomial 0xEDB88320).
uint32_t crc32(const unsigned char* data, std::size_t length) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    uint32_t c = 0xffffffffu;
    for (std::size_t i = 0; i < length; ++i) {
        c = table[(c ^ data[i]) & 0xff] ^ (c >> 8);
    }
    return c ^ 0xffffffffu;
}

struct Reader {
    const unsigned char* data;
    std::size_t length;
    std::size_t position;
};

cairo_status_t readBytes(void* closure, unsigned char* out, unsigned int count) {
    auto* reader = static_cast<Reader*>(closure);
    if (reader->length - reader->position < count) {
        return CAIRO_STATUS_READ_ERROR;
    }
    std::memcpy(out, reader->data + reader->position, count);
    reader->position += count;
    return CAIRO_STATUS_SUCCESS;
}

cairo_status_t writeBytes(void* closure, const unsigned char* data, unsigned int count) {
    auto* out = static_cast<std::vector<unsigned char>*>(closure);
    out->insert(out->end(), data, data + count);
    return CAIRO_STATUS_SUCCESS;
}

} // namespace

DecodedPNG decodePNG(const void* bytes, std::size_t length) {
    DecodedPNG result;
    const auto* p = static_cast<const unsigned char*>(bytes);
    if (!p || length < 8 || std::memcmp(p, kSignature, 8) != 0) {
        return result;
    }
    // Chunks: length, type, data, CRC. Only the density is read here.
    for (std::size_t at = 8; at + 12 <= length;) {
        const uint32_t size = readBig32(p + at);
        if (size > length - at - 12) {
            break;
        }
        if (std::memcmp(p + at + 4, "pHYs", 4) == 0 && size == 9 && p[at + 16] == 1) {
            result.pixelsPerMetreX = readBig32(p + at + 8);
            result.pixelsPerMetreY = readBig32(p + at + 12);
        }
        if (std::memcmp(p + at + 4, "IDAT", 4) == 0) {
            break; // pHYs comes before the image data
        }
        at += 12 + size;
    }
    Reader reader{p, length, 0};
    cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(readBytes, &reader);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return DecodedPNG{};
    }
    // Drawing always samples ARGB32; an RGB24 or A8 PNG surface is converted once here.
    if (cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32) {
        CGImageRef image = imageCopyingSurface(surface);
        cairo_surface_destroy(surface);
        result.image = image;
    } else {
        result.image = imageFromSurface(surface);
    }
    return result;
}

std::vector<unsigned char> encodePNG(CGImageRef image, double ppmX, double ppmY) {
    std::vector<unsigned char> out;
    cairo_surface_t* surface = surfaceOf(image);
    if (!surface) {
        return out;
    }
    cairo_surface_flush(surface);
    if (cairo_surface_write_to_png_stream(surface, writeBytes, &out) != CAIRO_STATUS_SUCCESS) {
        out.clear();
        return out;
    }
    if (ppmX > 0 && ppmY > 0 && out.size() > 33) {
        // After the signature (8) and the IHDR chunk (4 + 4 + 13 + 4).
        std::vector<unsigned char> chunk;
        writeBig32(chunk, 9);
        chunk.insert(chunk.end(), {'p', 'H', 'Y', 's'});
        writeBig32(chunk, static_cast<uint32_t>(std::lround(ppmX)));
        writeBig32(chunk, static_cast<uint32_t>(std::lround(ppmY)));
        chunk.push_back(1); // unit: metre
        writeBig32(chunk, crc32(chunk.data() + 4, chunk.size() - 4));
        out.insert(out.begin() + 33, chunk.begin(), chunk.end());
    }
    return out;
}

} // namespace cg
