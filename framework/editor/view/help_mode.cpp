// Help mode's switch and look-up.

#include "view/editor_view.h"

#include "help/help_texts.h"
#include "toolkit/iron.h"

void KelvoView::help(NSControl*) {
    helpOn = !helpOn;
    helpButton->setState(helpOn ? NSControlStateValueOn : NSControlStateValueOff);
    shownHelp = helpOn ? helpBannerText : nullptr;
    helpText = helpOn ? NSString(helpBannerText) : NSString::string();
    updateHelp();
    setNeedsDisplay(true);
}

void KelvoView::updateHelp() {
    if (!helpOn) {
        return;
    }
    NSPoint point = NSEvent::mouseLocation();
    if (NSWindow* w = window()) {
        point = w->convertPointFromScreen(point);
    }
    point = convertPointFromView(point, nullptr);
    // The texts are constants, so comparing where they live compares them without making a
    // string on every poll.
    const char* text = helpAtPoint(point);
    if (text != shownHelp) {
        shownHelp = text;
        helpText = NSString(text);
        setNeedsDisplay(true);
    }
}

const char* KelvoView::helpAtPoint(NSPoint point) const {
    for (const std::shared_ptr<NSView>& view : subviews()) {
        auto* control = dynamic_cast<const NSControl*>(view.get());
        if (control != nullptr && !control->isHidden() && NSPointInRect(point, control->frame())) {
            return helpForControl(control);
        }
    }
    return helpBannerText;
}

const char* KelvoView::helpForControl(const NSControl* control) const {
    if (control->tag() >= 0) {
        auto found = controls.find(static_cast<unsigned>(control->tag()));
        if (found != controls.end() && found->second.get() == control) {
            return parameterHelpText(static_cast<unsigned>(control->tag()));
        }
    }
    const SEL action = control->action();
    return actionHelpText(action.name != nullptr ? action.name : "");
}

void KelvoView::drawHelp() {
    if (!helpOn) {
        return;
    }
    NSBezierPath banner =
        NSBezierPath::bezierPathWithRoundedRect(CGRectMake(405, 83, 1490, 55), 7, 7);
    NSColor::colorWithRed(0.015, 0.016, 0.014, 0.97).setFill();
    banner.fill();
    banner.setLineWidth(1);
    NSColor::colorWithRed(0.59, 0.46, 0.25, 0.7).setStroke();
    banner.stroke();
    static const NSString fallback("HELP ON");
    rackdraw::text(helpText ? helpText : fallback, CGRectMake(419, 89, 1462, 43), 17,
                   NSColor::colorWithRed(0.91, 0.88, 0.76, 1), false, false);
}

// guide: is in guide/user_guide.cpp, presets: in presets/preset_menu.cpp.
