#pragma once
// NSFont: a font by family name, size and weight, rendered with Pango and fontconfig.
//
// Promises:
// - fontWithName gives a font for any non-empty name (nullptr for an empty one or a size that
//   is not positive). A face that is not installed falls back as fontconfig decides, with a
//   known serif face ("Baskerville", "Times", "Georgia", "Palatino" ...) falling back to the
//   serif family rather than fontconfig's overall default.
// - systemFontOfSize is the "Sans" family; monospacedSystemFontOfSize the "Monospace" family
//   at the given weight (NSFontWeightMedium → Pango's medium, 500).
// - Fonts are shared: the same name, size and weight give the same object (no allocation after
//   the first request).

#include <AppKit/AppKitDefines.h>
#include <Foundation/NSGeometry.h>
#include <Foundation/NSObject.h>
#include <Foundation/NSString.h>

typedef CGFloat NSFontWeight;
inline constexpr NSFontWeight NSFontWeightUltraLight = -0.8;
inline constexpr NSFontWeight NSFontWeightThin = -0.6;
inline constexpr NSFontWeight NSFontWeightLight = -0.4;
inline constexpr NSFontWeight NSFontWeightRegular = 0.0;
inline constexpr NSFontWeight NSFontWeightMedium = 0.23;
inline constexpr NSFontWeight NSFontWeightSemibold = 0.3;
inline constexpr NSFontWeight NSFontWeightBold = 0.4;
inline constexpr NSFontWeight NSFontWeightHeavy = 0.56;
inline constexpr NSFontWeight NSFontWeightBlack = 0.62;

class APPKIT_EXPORT NSFont : public NSObject {
public:
    static std::shared_ptr<NSFont> fontWithName(const NSString& name, CGFloat size);
    static std::shared_ptr<NSFont> systemFontOfSize(CGFloat size);
    static std::shared_ptr<NSFont> boldSystemFontOfSize(CGFloat size);
    static std::shared_ptr<NSFont> monospacedSystemFontOfSize(CGFloat size, NSFontWeight weight);
    static CGFloat systemFontSize(); // 13

    NSFont(NSString name, std::string pangoFamilies, CGFloat size, NSFontWeight weight);
    ~NSFont() override;

    const NSString& fontName() const { return name_; }
    NSString familyName() const { return name_; }
    CGFloat pointSize() const { return size_; }
    NSFontWeight weight() const { return weight_; } // stand-in extension
    // Stand-in extension: the Pango family list the font is laid out with.
    const std::string& pangoFamilies() const { return families_; }
    // Metrics of the face fontconfig picks (points).
    CGFloat ascender() const;
    CGFloat descender() const; // negative, as on the platform
    CGFloat lineHeight() const;

private:
    NSString name_;
    std::string families_;
    CGFloat size_;
    NSFontWeight weight_;
};
