// The cost of one 30 Hz frame: the poll and a full redraw of the faceplate and its controls
// into the window's bitmap (one frame has 33 ms), and the part of it that the one full-size
// image draw takes at the interpolation qualities the platform offers.

#include "editor_harness.h"

#include <benchmark/benchmark.h>

namespace {

void refreshAndDraw(benchmark::State& state) {
    EditorHarness editor;
    editor.window->display(); // the composites are built on the first draw
    for (auto _ : state) {
        editor.view->refresh();
        editor.window->display();
    }
}
BENCHMARK(refreshAndDraw)->Unit(benchmark::kMillisecond);

void refreshOnly(benchmark::State& state) {
    EditorHarness editor;
    for (auto _ : state) {
        editor.view->refresh();
    }
}
BENCHMARK(refreshOnly)->Unit(benchmark::kMicrosecond);

// The faceplate composite drawn into the view's 1500 by 600 points, as drawRect does first.
void faceplate(benchmark::State& state, NSImageInterpolation interpolation) {
    EditorHarness editor;
    auto bitmap = std::make_shared<NSBitmapImageRep>(editor.view->bounds().size, 1.0);
    NSGraphicsContext::saveGraphicsState();
    NSGraphicsContext::setCurrentContext(
        NSGraphicsContext::graphicsContextWithBitmapImageRep(bitmap));
    for (auto _ : state) {
        editor.view->faceplateImage()->drawInRect(editor.view->bounds(), NSZeroRect,
                                                  NSCompositingOperationSourceOver, 1.0, true,
                                                  NSImageHints{interpolation});
    }
    NSGraphicsContext::restoreGraphicsState();
}
BENCHMARK_CAPTURE(faceplate, high, NSImageInterpolationHigh)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(faceplate, medium, NSImageInterpolationMedium)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
