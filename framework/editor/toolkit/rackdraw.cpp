#include "toolkit/iron.h"

namespace rackdraw {

void text(const NSString& text, CGRect rectangle, double size, const NSColor& colour, bool centred,
          bool serif) {
    NSMutableParagraphStyle style;
    style.setAlignment(centred ? NSTextAlignmentCenter : NSTextAlignmentLeft);
    std::shared_ptr<NSFont> font =
        serif ? NSFont::fontWithName("Baskerville", size)
              : NSFont::monospacedSystemFontOfSize(size, NSFontWeightMedium);
    if (!font) {
        font = NSFont::systemFontOfSize(size);
    }
    NSStringAttributes attributes{font, colour, style};
    text.drawInRect(rectangle, attributes);
}

void gradient(const NSBezierPath& path, std::span<const NSColor> colours, double angle) {
    NSGradient(colours).drawInBezierPath(path, angle);
}

void radial(CGRect rectangle, std::span<const NSColor> colours, CGPoint centre) {
    NSGradient(colours).drawInBezierPath(NSBezierPath::bezierPathWithOvalInRect(rectangle), centre);
}

} // namespace rackdraw
