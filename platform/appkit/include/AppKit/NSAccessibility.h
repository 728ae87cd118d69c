#pragma once
// Accessibility roles (the values of accessibilityRole()).

#include <AppKit/AppKitDefines.h>
#include <Foundation/NSString.h>

typedef NSString NSAccessibilityRole;
APPKIT_EXPORT extern const NSAccessibilityRole NSAccessibilityUnknownRole;
APPKIT_EXPORT extern const NSAccessibilityRole NSAccessibilityGroupRole;
APPKIT_EXPORT extern const NSAccessibilityRole NSAccessibilityButtonRole;
APPKIT_EXPORT extern const NSAccessibilityRole NSAccessibilitySliderRole;
APPKIT_EXPORT extern const NSAccessibilityRole NSAccessibilityPopUpButtonRole;
APPKIT_EXPORT extern const NSAccessibilityRole NSAccessibilityStaticTextRole;
APPKIT_EXPORT extern const NSAccessibilityRole NSAccessibilityTextAreaRole;
APPKIT_EXPORT extern const NSAccessibilityRole NSAccessibilityScrollAreaRole;
