#pragma once
// Drawing NSStrings: NSString::drawInRect and friends, with their attributes.
//
// Attributes: NSStringAttributes stands for the platform's attribute dictionary; its fields
// are named after the keys it replaces (NSFontAttributeName → font,
// NSForegroundColorAttributeName → foregroundColor, NSParagraphStyleAttributeName →
// paragraphStyle). Missing font: the system font of size 12 (the platform's default); missing
// colour: black.
//
// Promises:
// - drawInRect lays the text out from the rectangle's top edge (its minY in a flipped space,
//   its maxY in an unflipped one), glyphs upright on screen, wrapped at the rectangle's width
//   (word wrapping, then character wrapping for a word longer than the width) and aligned
//   within it. Lines are not clipped to the rectangle's height.
// - Natural alignment is left alignment (the product's texts are left-to-right).
// - drawAtPoint draws the text unwrapped; as on the platform the point is the layout's
//   top-left corner in a flipped space and its bottom-left corner in an unflipped one.
// - sizeWithAttributes is the unwrapped size; boundingRectWithSize the size wrapped at the
//   given width, as a rectangle at the origin.
// - Text is laid out by Pango; fonts come from fontconfig (see <AppKit/NSFont.h>).

#include <AppKit/NSColor.h>
#include <AppKit/NSFont.h>
#include <AppKit/NSParagraphStyle.h>
#include <Foundation/NSString.h>

struct NSStringAttributes {
    std::shared_ptr<NSFont> font;
    NSColor foregroundColor;
    NSParagraphStyle paragraphStyle;
};
