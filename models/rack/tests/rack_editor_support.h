#pragma once
// What the rack editors' tests share: art-space points and rectangles in view points, and the
// view's subviews named as a reader of the faceplate would name them.

#include "editor_harness.h"
#include "rack/editor/faceplate_selectors.h"
#include "view/view_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace racktest {

inline NSPoint inView(double artX, double artY) {
    return NSPoint{artX * ViewLayout::artScale, artY * ViewLayout::artScale};
}

inline void expectFrame(const NSView& view, CGRect art) {
    const CGRect expected = ViewLayout::scaled(art);
    const NSRect f = view.frame();
    EXPECT_NEAR(f.origin.x, expected.origin.x, 1e-9);
    EXPECT_NEAR(f.origin.y, expected.origin.y, 1e-9);
    EXPECT_NEAR(f.size.width, expected.size.width, 1e-9);
    EXPECT_NEAR(f.size.height, expected.size.height, 1e-9);
}

// Buttons by their title, everything else by its accessibility label (a dial's or slider's
// row name, "UI Size").
inline std::vector<std::string> subviewNames(const NSView& view) {
    std::vector<std::string> names;
    for (const std::shared_ptr<NSView>& subview : view.subviews()) {
        const auto* button = dynamic_cast<const KelvoButton*>(subview.get());
        const auto* slider = dynamic_cast<const NSSlider*>(subview.get());
        std::string name = button != nullptr ? button->title().stdString()
                                             : subview->accessibilityLabel().stdString();
        names.push_back(slider != nullptr ? "slider " + name : name);
    }
    return names;
}

// The view's ratio and meter columns and VU source switch.
inline FaceplateSelectors& selectors(KelvoView& view) {
    return *view.faceplateSelectors();
}

// The control a click at an art-space point reaches, as the window routes it.
inline NSView* hitAt(EditorHarness& editor, double artX, double artY) {
    return editor.window->contentView()->hitTest(editor.toWindow(inView(artX, artY)));
}

} // namespace racktest
