// What the toolkit and the view draw, read back from the recording context: needle tips,
// pointer directions, the button styles, the dial scales and the DETAIL panel.

#include "editor_harness.h"
#include "recording.h"
#include "toolkit/iron.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using editortest::firstPoint;
using editortest::lastPoint;
using editortest::Recording;

TEST(NeedleDrawing, TipFollowsTheCalibrationTable) {
    struct Case {
        double reading, x, y;
    };
    const Case cases[] = {{-30, 1245, 489},   {-24, 1245, 489},   {6, 1644, 492},
                          {0, 1556, 401},     {-15, 1283, 448.5}, {0.5, 1572, 411.5},
                          {-22, 1255, 482.5}, {NAN, 1644, 492}};
    for (const Case& c : cases) {
        Recording recording({1983, 793});
        iron::needle(c.reading, false);
        const auto strokes = recording.of(CGRecordedKind::stroke);
        ASSERT_EQ(strokes.size(), 2u) << c.reading;
        const CGRecordedOperation& needle = *strokes[1];
        EXPECT_EQ(needle.lineWidth, 1.8);
        EXPECT_EQ(needle.lineCap, kCGLineCapButt);
        EXPECT_NEAR(lastPoint(needle.path).x, c.x, 1e-9) << c.reading;
        EXPECT_NEAR(lastPoint(needle.path).y, c.y, 1e-9) << c.reading;
        EXPECT_NEAR(firstPoint(needle.path).x, 1434.5, 1e-9);
        // The shadow runs 1.2 right and down of the tip, from its own root.
        EXPECT_NEAR(lastPoint(strokes[0]->path).x, c.x + 1.2, 1e-9);
        EXPECT_NEAR(firstPoint(strokes[0]->path).y, 593.2, 1e-9);
    }
}

TEST(NeedleDrawing, RestingTipLandsOnTheFaceplatesMeter) {
    Recording recording({1983, 793});
    iron::needle(-24, false);
    const CGRecordedOperation& needle = *recording.of(CGRecordedKind::stroke)[1];
    const CGPoint device = CGPointApplyAffineTransform(lastPoint(needle.path), needle.ctm);
    EXPECT_NEAR(device.x, 1448.30, 0.01);
    EXPECT_NEAR(device.y, 508.50, 0.01);
}

TEST(NeedleDrawing, DimCoversTheWindow) {
    Recording recording({1983, 793});
    iron::needle(0, true);
    const auto fills = recording.of(CGRecordedKind::fill);
    ASSERT_FALSE(fills.empty());
    EXPECT_NEAR(fills.back()->color.alpha, 0.56, 1e-12);
    EXPECT_NEAR(fills.back()->bounds.size.width, 474, 1e-9);
}

TEST(MarkerDrawing, PointsLowerLeftUpAndLowerRight) {
    struct Case {
        double fraction, dx, dy;
    };
    const double d = std::sqrt(0.5);
    for (const Case& c : {Case{0, -d, d}, Case{0.5, 0, -1}, Case{1, d, d}}) {
        Recording recording({1983, 793});
        iron::marker({500, 400}, 100, c.fraction, false);
        const auto strokes = recording.of(CGRecordedKind::stroke);
        ASSERT_EQ(strokes.size(), 2u);
        const CGPoint p0 = firstPoint(strokes[1]->path);
        const CGPoint p1 = lastPoint(strokes[1]->path);
        EXPECT_NEAR(p0.x, 500 + 43 * c.dx, 1e-9);
        EXPECT_NEAR(p0.y, 400 + 43 * c.dy, 1e-9);
        EXPECT_NEAR(p1.x, 500 + 93 * c.dx, 1e-9);
        EXPECT_NEAR(p1.y, 400 + 93 * c.dy, 1e-9);
        EXPECT_EQ(strokes[1]->lineWidth, 5.4);
        EXPECT_EQ(strokes[1]->lineCap, kCGLineCapRound);
    }
}

TEST(ButtonDrawing, WideStyleStartsAbove250) {
    auto gradients = [](double width) {
        Recording recording({1983, 793});
        iron::newButton(CGRectMake(100, 100, width, 44), "PRESETS", false);
        return recording.of(CGRecordedKind::linearGradient).size();
    };
    EXPECT_EQ(gradients(250), 1u); // the photographed face and one inner gradient
    EXPECT_EQ(gradients(251), 3u); // three drawn layers
}

TEST(ButtonDrawing, UnlitLampDrawsNothing) {
    Recording recording({1983, 793});
    iron::buttonLight(CGRectMake(0, 0, 100, 40), false);
    EXPECT_TRUE(recording.operations().empty());
    iron::buttonLight(CGRectMake(0, 0, 100, 40), true);
    EXPECT_EQ(recording.of(CGRecordedKind::radialGradient).size(), 1u);
}

TEST(ResourceDrawing, MissingImageIsNotRemembered) {
    EXPECT_EQ(iron::resource("No-Such-Image"), nullptr);
    EXPECT_EQ(iron::resource("No-Such-Image"), nullptr);
}

TEST(ResourceDrawing, LoadedImageIsKeptAndFillsTheArtSpace) {
    EditorHarness editor; // opens the resource bundle
    std::shared_ptr<NSImage> clean = iron::resource("IronFennic-Clean");
    ASSERT_NE(clean, nullptr);
    EXPECT_EQ(iron::resource("IronFennic-Clean"), clean);
    // Made at twice the art resolution, in the faceplate's proportions.
    EXPECT_NEAR(clean->size().width / clean->size().height, 1983.0 / 793.0, 1e-3);
    // A crop of the top strip is drawn from the image's top, in its own bottom-left points.
    Recording recording({1983, 793});
    iron::topCrop(clean.get(), CGRectMake(0, 0, 1983, 100), CGRectMake(0, 0, 1983, 100));
    const auto images = recording.of(CGRecordedKind::image);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0]->imageObject, clean.get());
    EXPECT_EQ(images[0]->interpolation, kCGInterpolationHigh);
    EXPECT_NEAR(images[0]->imageSource.origin.y, 0, 1e-9); // pixels from the top
    EXPECT_NEAR(images[0]->imageSource.size.height, 100.0 * clean->size().height / 793, 1e-6);
}

TEST(BadgeDrawing, TolvarTileFromTheAtlas) {
    EditorHarness editor;
    Recording recording({1983, 793});
    iron::modelPlate();
    const auto fills = recording.of(CGRecordedKind::fill);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_TRUE(fills[0]->shadow.active);
    EXPECT_EQ(fills[0]->shadow.offset.width, 1);
    EXPECT_EQ(fills[0]->shadow.offset.height, -3);
    const auto images = recording.of(CGRecordedKind::image);
    ASSERT_EQ(images.size(), 1u);
    // The 674 by 153 tile at (800, 422) of the 1538 by 1000 point atlas.
    EXPECT_NEAR(images[0]->imageSource.origin.x, 800, 1e-9);
    EXPECT_NEAR(images[0]->imageSource.origin.y, 422, 1e-9);
    EXPECT_NEAR(images[0]->imageSource.size.width, 674, 1e-9);
    EXPECT_NEAR(images[0]->bounds.origin.x, 1460, 1e-9);
    EXPECT_NEAR(images[0]->bounds.size.height, 78, 1e-9);
}

class FaceplateDrawing : public ::testing::Test {
protected:
    EditorHarness editor;
    void draw(Recording&) { editor.view->drawRect(editor.view->bounds()); }
};

TEST_F(FaceplateDrawing, DialScalesNamesAndValues) {
    Recording recording({1500, 599.8487140695914});
    draw(recording);
    const CGRecordedOperation* name = recording.text("GAIN", 2);
    ASSERT_NE(name, nullptr);
    EXPECT_NEAR(name->bounds.origin.x, 85, 1e-9);
    EXPECT_NEAR(name->bounds.origin.y, 242, 1e-9);
    EXPECT_NEAR(name->bounds.size.width, 370, 1e-9);
    EXPECT_EQ(name->fontSize, 21);
    const CGRecordedOperation* value = recording.text("0 dB", 2);
    ASSERT_NE(value, nullptr);
    EXPECT_NEAR(value->bounds.origin.y, 432, 1e-9);
    int ticks = 0;
    for (const CGRecordedOperation* op : recording.of(CGRecordedKind::stroke)) {
        if (op->lineWidth != 1.7) {
            continue;
        }
        ++ticks;
        if (ticks <= 11) {
            EXPECT_NEAR(std::hypot(firstPoint(op->path).x - 270, firstPoint(op->path).y - 350),
                        63.96, 1e-9);
            EXPECT_NEAR(std::hypot(lastPoint(op->path).x - 270, lastPoint(op->path).y - 350), 67.6,
                        1e-9);
        }
    }
    EXPECT_EQ(ticks, 66);
    ASSERT_NE(recording.text("DUAL-STAGE TUBE PREAMP & EQ", 2), nullptr);
    ASSERT_NE(recording.text("0 VU = \u221218 dBFS \u00b7 RMS"), nullptr);
    ASSERT_NE(recording.text("1.0.0 \u00b7 ORVELLA"), nullptr);
}

TEST_F(FaceplateDrawing, DetailPanelListsTheUtilityRows) {
    editor.view->detail(nullptr);
    Recording recording({1500, 599.8487140695914});
    draw(recording);
    const char* rows[] = {"Input Trim", "Output Trim", "Parallel Mix", "Analog Shimmer"};
    for (int k = 0; k < 4; ++k) {
        const CGRecordedOperation* op = recording.text(rows[k]);
        ASSERT_NE(op, nullptr) << rows[k];
        EXPECT_NEAR(op->bounds.origin.x, 175, 1e-9);
        EXPECT_NEAR(op->bounds.origin.y, 310 + 65 * k, 1e-9);
    }
    EXPECT_EQ(recording.text("GAIN"), nullptr);
    ASSERT_NE(recording.text("100.0 %"), nullptr);
    ASSERT_NE(recording.text("1.0.0 \u00b7 ORVELLA"), nullptr);
}

TEST_F(FaceplateDrawing, HelpBannerLiesOverEverything) {
    editor.view->help(nullptr);
    Recording recording({1500, 599.8487140695914});
    draw(recording);
    const auto texts = recording.of(CGRecordedKind::text);
    ASSERT_FALSE(texts.empty());
    EXPECT_NEAR(texts.back()->bounds.origin.x, 419, 1e-9);
    EXPECT_NEAR(texts.back()->bounds.size.width, 1462, 1e-9);
    EXPECT_EQ(texts.back()->fontSize, 17);
}

} // namespace
