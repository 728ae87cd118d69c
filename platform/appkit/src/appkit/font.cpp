// Fonts by name, laid out by Pango.

#include <AppKit/NSFont.h>

#include "../coregraphics/text_layout.h"

#include <cstring>
#include <strings.h>
#include <vector>

namespace {

// Serif faces of the platform that a Linux machine rarely has: they fall back to the serif
// family instead of fontconfig's overall default (usually a sans face).
bool isSerifFace(const char* name) {
    static const char* const serif[] = {"Baskerville", "Times",     "Times New Roman", "Georgia",
                                        "Palatino",    "Didot",     "Hoefler Text",    "Cochin",
                                        "Garamond",    "Bodoni 72", "Big Caslon"};
    for (const char* s : serif) {
        if (strncasecmp(name, s, std::strlen(s)) == 0) {
            return true;
        }
    }
    return false;
}

std::shared_ptr<NSFont> shared(const char* name, const char* families, CGFloat size,
                               NSFontWeight weight) {
    static std::vector<std::shared_ptr<NSFont>> fonts;
    for (const auto& f : fonts) {
        if (f->pointSize() == size && f->weight() == weight &&
            std::strcmp(f->fontName().UTF8String(), name) == 0) {
            return f;
        }
    }
    auto font = std::make_shared<NSFont>(NSString(name), std::string(families), size, weight);
    fonts.push_back(font);
    return font;
}

} // namespace

NSFont::NSFont(NSString name, std::string families, CGFloat size, NSFontWeight weight)
    : name_(std::move(name)), families_(std::move(families)), size_(size), weight_(weight) {}

NSFont::~NSFont() = default;

std::shared_ptr<NSFont> NSFont::fontWithName(const NSString& name, CGFloat size) {
    if (!name || name.length() == 0 || !(size > 0)) {
        return nullptr;
    }
    const char* n = name.UTF8String();
    if (isSerifFace(n)) {
        const std::string families = std::string(n) + ",Serif";
        return shared(n, families.c_str(), size, NSFontWeightRegular);
    }
    return shared(n, n, size, NSFontWeightRegular);
}

std::shared_ptr<NSFont> NSFont::systemFontOfSize(CGFloat size) {
    return shared("Sans", "Sans", size > 0 ? size : systemFontSize(), NSFontWeightRegular);
}

std::shared_ptr<NSFont> NSFont::boldSystemFontOfSize(CGFloat size) {
    return shared("Sans", "Sans", size > 0 ? size : systemFontSize(), NSFontWeightBold);
}

std::shared_ptr<NSFont> NSFont::monospacedSystemFontOfSize(CGFloat size, NSFontWeight weight) {
    return shared("Monospace", "Monospace", size > 0 ? size : systemFontSize(), weight);
}

CGFloat NSFont::systemFontSize() {
    return 13;
}

CGFloat NSFont::ascender() const {
    return cg::fontMetrics(families_, size_, weight_).ascent;
}

CGFloat NSFont::descender() const {
    return -cg::fontMetrics(families_, size_, weight_).descent;
}

CGFloat NSFont::lineHeight() const {
    return cg::fontMetrics(families_, size_, weight_).lineHeight;
}
