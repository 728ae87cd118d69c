// The Corvel faceplate read back from the recording context: the composite, the dial scales
// with their markings, titles, readouts, the meter caption and the DETAIL panel; and the
// photographs the composite is made of, measured where the view draws on them.

#include "photograph.h"
#include "rack_editor_support.h"
#include "recording.h"

#include "editor/plate_corvel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using editortest::firstPoint;
using editortest::lastPoint;
using editortest::Recording;
using racktest::Photograph;

class CorvelFaceplate : public ::testing::Test {
protected:
    EditorHarness editor;
    Recording recording{{1500, 599.8487140695914}};

    void draw() { editor.view->drawRect(editor.view->bounds()); }

    // Positions quoted to three decimals are compared to within half of the last.
    void expectText(const char* text, CGRect at, double size, std::size_t nth = 0,
                    double tolerance = 1e-9) {
        const CGRecordedOperation* op = recording.text(text, nth);
        ASSERT_NE(op, nullptr) << text;
        EXPECT_NEAR(op->bounds.origin.x, at.origin.x, tolerance) << text;
        EXPECT_NEAR(op->bounds.origin.y, at.origin.y, tolerance) << text;
        EXPECT_NEAR(op->bounds.size.width, at.size.width, 1e-9) << text;
        EXPECT_NEAR(op->bounds.size.height, at.size.height, 1e-9) << text;
        EXPECT_EQ(op->fontSize, size) << text;
    }

    // Scale ticks (line width 1.2) running from inner to outer units off the centre.
    int ticksAround(CGPoint c, double inner, double outer) const {
        int count = 0;
        for (const CGRecordedOperation* op : recording.of(CGRecordedKind::stroke)) {
            const CGPoint a = firstPoint(op->path);
            const CGPoint b = lastPoint(op->path);
            if (op->lineWidth == 1.2 && std::abs(std::hypot(a.x - c.x, a.y - c.y) - inner) < 1e-9 &&
                std::abs(std::hypot(b.x - c.x, b.y - c.y) - outer) < 1e-9) {
                ++count;
            }
        }
        return count;
    }
};

TEST_F(CorvelFaceplate, ScalesWithTheirMarkings) {
    draw();
    // Input Gain: radius 79, K = 105.86, 21 steps, labels at size 10.
    EXPECT_EQ(ticksAround({230, 452}, 100.86, 105.86), 21);
    expectText("\u221210", CGRectMake(123.246, 527.754, 44, 20), 10, 0, 5e-4);
    expectText("80", CGRectMake(292.754, 527.754, 44, 20), 10, 0, 5e-4);
    const double a = -130.5 * M_PI / 180; // "OFF", upper left
    expectText("OFF",
               CGRectMake(230 + 119.86 * std::cos(a) - 22, 452 + 119.86 * std::sin(a) - 9, 44, 20),
               10);
    // High Shelf: K = 80.4, five markings at size 13, "0" straight up.
    EXPECT_EQ(ticksAround({470, 452}, 75.4, 80.4), 5);
    expectText("0", CGRectMake(448, 348.6, 44, 20), 13, 1);
    // The mid pair: the ring's six ticks at K = 118.3; the inner knob's nine without labels.
    EXPECT_EQ(ticksAround({750, 452}, 113.3, 118.3), 6);
    EXPECT_EQ(ticksAround({750, 452}, 55.3, 60.3), 9);
    EXPECT_EQ(ticksAround({1025, 452}, 55.3, 60.3), 9);
    // High Pass: K = 55 x 1.34, "300" at the lower right.
    expectText("300", CGRectMake(1290.013, 505.013, 44, 20), 13, 0, 5e-4);
    const char* titles[] = {"INPUT GAIN", "HIGH \u00b7 12 kHz", "MID \u00b7 kHz", "LOW \u00b7 Hz",
                            "HIGH PASS"};
    const double x[] = {120, 360, 640, 915, 1140};
    for (int i = 0; i < 5; ++i) {
        expectText(titles[i], CGRectMake(x[i], 260, 220, 27), 18);
    }
}

TEST_F(CorvelFaceplate, ReadoutsCaptionAndVersionAtTheDefaults) {
    draw();
    expectText("LINE 0", CGRectMake(120, 604, 220, 35), 25);
    expectText("+0.0 dB", CGRectMake(380, 604, 180, 35), 24, 0);
    expectText("+0.0 dB", CGRectMake(660, 604, 180, 35), 24, 1);
    expectText("+0.0 dB", CGRectMake(935, 604, 180, 35), 24, 2);
    expectText("OUTPUT \u00b7 0 VU = \u221218 dBFS", CGRectMake(1380, 656, 505, 20), 13);
    expectText("KELVO ORVELLA \u00b7 1.0.0", CGRectMake(1320, 739, 530, 21), 12);
    EXPECT_EQ(recording.text("Output Trim"), nullptr) << "no DETAIL panel";

    racktest::selectors(*editor.view).toggleMeter(nullptr);
    Recording again({1500, 599.8487140695914});
    draw();
    EXPECT_NE(again.text("INPUT \u00b7 0 VU = \u221218 dBFS"), nullptr);
}

TEST_F(CorvelFaceplate, InputGainReadoutStaysInsideItsTable) {
    // The step is rounded and clamped as a caption is, whatever value the unit reports.
    struct Case {
        float value;
        const char* shown;
    };
    const Case cases[] = {{2.5f, "LINE +5"}, {7, "OFF"},       {8.4f, "MIC +20"},
                          {25, "MIC +80"},   {-3, "LINE -10"}, {NAN, "LINE -10"}};
    for (const Case& c : cases) {
        editor.state().values[0] = c.value;
        Recording each({1500, 599.8487140695914});
        draw();
        EXPECT_NE(each.text(c.shown), nullptr) << c.value;
    }
}

TEST_F(CorvelFaceplate, DetailPanelListsTheSliders) {
    editor.view->detail(nullptr);
    draw();
    const char* names[] = {"Output Trim", "Mix", "Analog Shimmer"};
    const char* values[] = {"0.0 dB", "100.0 %", "0.0 %"};
    for (int k = 0; k < 3; ++k) {
        expectText(names[k], CGRectMake(170, 330 + 100 * k, 240, 32), 20);
        expectText(values[k], CGRectMake(1130, 330 + 100 * k, 165, 32), 20);
    }
    // The caption, version line and scales still draw beneath and beside the panel.
    EXPECT_NE(recording.text("OUTPUT \u00b7 0 VU = \u221218 dBFS"), nullptr);
    EXPECT_NE(recording.text("KELVO ORVELLA \u00b7 1.0.0"), nullptr);
}

TEST_F(CorvelFaceplate, ButtonsRepaintTheCorvelComposite) {
    const std::shared_ptr<NSImage> plate = iron::plateCorvel();
    EXPECT_EQ(iron::plateCorvel(), plate) << "built once";
    EXPECT_EQ(editor.view->faceplateImage(), plate);
    EXPECT_EQ(plate->size().width, 1983);
    EXPECT_EQ(plate->size().height, 793);
    auto* eqIn = editor.control<KelvoButton>(7);
    eqIn->drawRect(eqIn->bounds());
    const auto images = recording.of(CGRecordedKind::image);
    ASSERT_FALSE(images.empty());
    EXPECT_EQ(images.front()->imageObject, plate.get());
}

// The plate under the composite's print: the blank panel inside the region the composite
// pastes from it, the FET photograph it is pasted on elsewhere.
class CorvelPanel : public CorvelFaceplate {
protected:
    const Photograph frame{"IronFennic-Approved"};
    const Photograph panel{"Iron-Blank-Panel"};
    const CGRect pasted = CGRectMake(77, 146, 1825, 568);

    double plate(double x, double y) const {
        return CGRectContainsPoint(pasted, {x, y}) ? panel.luminance(x, y) : frame.luminance(x, y);
    }

    // The largest step between neighbouring columns' mean brightness inside the rectangle
    // (a cut, seam or frame running down through it), and between rows two pixels apart (one
    // running across; brushed grain differs from row to row by half as much).
    std::pair<double, double> steps(CGRect r) const {
        const double pixel = 1 / panel.density();
        std::vector<double> columns, rows;
        for (double y = r.origin.y; y < CGRectGetMaxY(r); y += pixel) {
            rows.push_back(0);
            for (double x = r.origin.x; x < CGRectGetMaxX(r); x += pixel) {
                const std::size_t column = static_cast<std::size_t>((x - r.origin.x) / pixel);
                columns.resize(std::max(columns.size(), column + 1));
                const double l = plate(x, y);
                rows.back() += l;
                columns[column] += l;
            }
        }
        double across = 0, down = 0;
        for (std::size_t i = 1; i < columns.size(); ++i) {
            across = std::max(across, std::abs(columns[i] - columns[i - 1]) / rows.size());
        }
        for (std::size_t i = 2; i < rows.size(); ++i) {
            down = std::max(down, std::abs(rows[i] - rows[i - 2]) / columns.size());
        }
        return {across, down};
    }
};

// No divider, seam, frame or recess edge under a control or anything the composite and the
// view print: every dial and button below the top row, every text of the view, the title and
// its rules.
TEST_F(CorvelPanel, NothingPrintedLiesAcrossAnEdgeOfThePlate) {
    ASSERT_TRUE(frame.loaded() && panel.loaded());
    draw();
    struct Place {
        std::string what;
        CGRect art;
    };
    std::vector<Place> places{{"PREAMP & EQUALISER", CGRectMake(1402.5, 247, 460, 32)},
                              {"left rule", CGRectMake(1385, 256, 45, 10)},
                              {"right rule", CGRectMake(1834, 256, 46, 10)}};
    for (const CGRecordedOperation* op : recording.of(CGRecordedKind::text)) {
        places.push_back({op->text, op->bounds});
    }
    for (const std::shared_ptr<NSView>& subview : editor.view->subviews()) {
        const CGRect f = subview->frame();
        const double k = ViewLayout::artScale;
        const CGRect art =
            CGRectMake(f.origin.x / k, f.origin.y / k, f.size.width / k, f.size.height / k);
        if (!subview->isHidden() && art.origin.y > 100) {
            places.push_back({"the control at (" + std::to_string(art.origin.x) + ", " +
                                  std::to_string(art.origin.y) + ")",
                              art});
        }
    }
    ASSERT_GT(places.size(), 60u);
    for (const Place& place : places) {
        const auto [across, down] = steps(place.art);
        EXPECT_LT(across, 0.01) << place.what << ": an edge runs down through it";
        EXPECT_LT(down, 0.04) << place.what << ": an edge runs across it";
    }
}

// Along the pasted region's edges the two photographs agree pixel for pixel, so the panel runs
// on into the frame: no seam, no screw cut in half, no field whose frame stops at the cut.
TEST_F(CorvelPanel, PastedRegionMeetsTheFrameWithoutASeam) {
    ASSERT_TRUE(frame.loaded() && panel.loaded());
    const double pixel = 1 / panel.density();
    const double band = 3;
    int differing = 0;
    for (double y = pasted.origin.y - band; y < CGRectGetMaxY(pasted) + band; y += pixel) {
        for (double x = pasted.origin.x - band; x < CGRectGetMaxX(pasted) + band; x += pixel) {
            const bool nearEdge = std::abs(x - pasted.origin.x) < band ||
                                  std::abs(x - CGRectGetMaxX(pasted)) < band ||
                                  std::abs(y - pasted.origin.y) < band ||
                                  std::abs(y - CGRectGetMaxY(pasted)) < band;
            if (nearEdge && std::abs(frame.luminance(x, y) - panel.luminance(x, y)) > 0.5 / 255) {
                ++differing;
            }
        }
    }
    EXPECT_EQ(differing, 0);
}

} // namespace
