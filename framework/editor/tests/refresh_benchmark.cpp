// The cost of one 30 Hz frame: the poll and a full redraw of the faceplate and its controls
// into the window's bitmap. One frame has 33 ms.

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

} // namespace

BENCHMARK_MAIN();
