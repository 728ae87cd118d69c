// Appearances and accessibility role names.

#include <AppKit/NSAccessibility.h>
#include <AppKit/NSAppearance.h>

const NSAppearanceName NSAppearanceNameAqua = "NSAppearanceNameAqua";
const NSAppearanceName NSAppearanceNameDarkAqua = "NSAppearanceNameDarkAqua";

const NSAccessibilityRole NSAccessibilityUnknownRole = "AXUnknown";
const NSAccessibilityRole NSAccessibilityGroupRole = "AXGroup";
const NSAccessibilityRole NSAccessibilityButtonRole = "AXButton";
const NSAccessibilityRole NSAccessibilitySliderRole = "AXSlider";
const NSAccessibilityRole NSAccessibilityPopUpButtonRole = "AXPopUpButton";
const NSAccessibilityRole NSAccessibilityStaticTextRole = "AXStaticText";
const NSAccessibilityRole NSAccessibilityTextAreaRole = "AXTextArea";
const NSAccessibilityRole NSAccessibilityScrollAreaRole = "AXScrollArea";

NSAppearance::NSAppearance(NSAppearanceName name) : name_(std::move(name)) {}

std::shared_ptr<NSAppearance> NSAppearance::appearanceNamed(const NSAppearanceName& name) {
    static const auto aqua = std::make_shared<NSAppearance>(NSAppearanceNameAqua);
    static const auto dark = std::make_shared<NSAppearance>(NSAppearanceNameDarkAqua);
    if (name == NSAppearanceNameAqua) {
        return aqua;
    }
    if (name == NSAppearanceNameDarkAqua) {
        return dark;
    }
    return nullptr;
}
