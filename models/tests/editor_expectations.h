#pragma once
// What a further model's editor must show, written out from its editor's description: each
// model's tests folder defines `editortest::expected` in its editor_test.cpp, and the checks
// the models share (editor_checks.cpp) hold the editor built with the model's data to it.

#include <CoreGraphics/CGGeometry.h>

#include <string>
#include <vector>

namespace editortest {

struct ExpectedDial {
    unsigned id;
    double x, y; // centre, art units
    double hit;  // side of the square it answers clicks in
    double radius;
    bool stepped;
};

struct ExpectedToggle {
    unsigned id;
    const char* title;
    CGRect art;
};

// A DETAIL row k: its slider at (410, 310 + 65k, 600, 27) and its line in the panel.
struct ExpectedSlider {
    unsigned id;
    const char* name;
    int tickMarks; // 0: continuous
};

struct ExpectedCaption {
    unsigned id;
    std::string text; // formatted: at the parameter's default
};

struct ExpectedEditor {
    const char* product;
    std::vector<ExpectedDial> dials; // in layout order
    std::vector<ExpectedToggle> toggles;
    std::vector<ExpectedSlider> sliders; // in row order
    std::vector<ExpectedCaption> captions;
    std::vector<float> startValues; // what INIT writes, ID 0 to N-1
    const char* legend;
    CGPoint badgeTile;
    // The needle and the meter caption follow the gain reduction at Meter 0 (the dynamics
    // models); otherwise the needle follows the input level and the caption stays the VU's.
    bool gainReduction;
    const char* meterTitles[2]; // the METER button at Meter 0 and 1
    const char* guideTitle;     // first line of the model's user guide
};

extern const ExpectedEditor expected;

} // namespace editortest
