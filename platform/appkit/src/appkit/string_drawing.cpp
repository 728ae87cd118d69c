// Drawing and measuring strings.

#include <AppKit/NSStringDrawing.h>

#include "../coregraphics/context_internal.h"
#include "../coregraphics/text_layout.h"
#include "drawing_internal.h"

namespace {

CGRecordedTextAlignment alignmentOf(NSTextAlignment alignment) {
    switch (alignment) {
    case NSTextAlignmentLeft:
        return CGRecordedTextAlignment::left;
    case NSTextAlignmentRight:
        return CGRecordedTextAlignment::right;
    case NSTextAlignmentCenter:
        return CGRecordedTextAlignment::center;
    case NSTextAlignmentJustified:
        return CGRecordedTextAlignment::justified;
    case NSTextAlignmentNatural:
        break;
    }
    return CGRecordedTextAlignment::natural;
}

cg::TextDraw describe(const NSString& text, NSRect rect, const NSStringAttributes& attributes,
                      bool wrap) {
    static const std::shared_ptr<NSFont> fallback = NSFont::systemFontOfSize(12);
    const std::shared_ptr<NSFont>& font = attributes.font ? attributes.font : fallback;
    cg::TextDraw draw;
    draw.text = text.UTF8String();
    draw.rect = rect;
    draw.requestedFamily = font->fontName().UTF8String();
    draw.families = font->pangoFamilies();
    draw.size = font->pointSize();
    draw.weight = font->weight();
    draw.color = attributes.foregroundColor.rgba();
    draw.alignment = alignmentOf(attributes.paragraphStyle.alignment());
    draw.wrap = wrap;
    return draw;
}

} // namespace

void NSString::drawInRect(NSRect rect, const NSStringAttributes& attributes) const {
    CGContextRef c = appkit::currentCGContext();
    if (!c || !object_ || length() == 0) {
        return;
    }
    cg::TextDraw draw = describe(*this, rect, attributes, true);
    draw.topAtMinY = cg::userSpaceIsFlipped(c);
    cg::drawText(c, draw);
}

void NSString::drawAtPoint(NSPoint point, const NSStringAttributes& attributes) const {
    CGContextRef c = appkit::currentCGContext();
    if (!c || !object_ || length() == 0) {
        return;
    }
    const NSSize size = sizeWithAttributes(attributes);
    cg::TextDraw draw =
        describe(*this, NSMakeRect(point.x, point.y, size.width, size.height), attributes, false);
    draw.topAtMinY = cg::userSpaceIsFlipped(c);
    cg::drawText(c, draw);
}

NSSize NSString::sizeWithAttributes(const NSStringAttributes& attributes) const {
    if (!object_ || length() == 0) {
        return NSZeroSize;
    }
    return cg::measureLayout(describe(*this, NSZeroRect, attributes, false));
}

NSRect NSString::boundingRectWithSize(NSSize size, NSStringDrawingOptions,
                                      const NSStringAttributes& attributes) const {
    if (!object_ || length() == 0) {
        return NSZeroRect;
    }
    const NSSize laid = cg::measureLayout(
        describe(*this, NSMakeRect(0, 0, size.width, size.height), attributes, size.width > 0));
    return NSMakeRect(0, 0, laid.width, laid.height);
}
