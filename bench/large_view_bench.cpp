// The Large View's paint at 32x of the largest sprite (64 x 80), grids and
// a selection outline on: the core work of one repaint (work surface, then
// the magnified picture), into a full-HD view and into a view that holds
// the whole 2048 x 2560 magnified sprite.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "editor/zoomed_view.h"
#include "support/recording_view.h"

namespace tessel {
namespace {

void paintAt32(benchmark::State& bench)
{
    const int width = static_cast<int>(bench.range(0)), height = static_cast<int>(bench.range(1));
    auto state = std::make_unique<EditorState>();
    testing::RecordingView view;
    testing::attachForEditing(*state, view);
    state->currentSprite = 18;
    SpriteRecord& s = state->current();
    s.widthTiles = 8;
    s.heightTiles = 10;
    for (int i = 0; i < kBufferSize; ++i) s.pixels[i] = static_cast<std::uint8_t>((i / 7) & 15);
    state->selection.selectionRect = {4, 4, 60, 76};
    const ZoomedLayout layout = zoomedLayout(*state, width, height, 32);
    std::vector<std::uint32_t> image(static_cast<std::size_t>(width) * height);
    WorkSurface surface;
    for (auto _ : bench) {
        renderWorkSurface(*state, surface);
        paintZoomed(*state, surface, layout, {true, true}, image.data(), width);
        benchmark::DoNotOptimize(image.data());
        benchmark::ClobberMemory();
    }
    bench.SetItemsProcessed(bench.iterations() * width * height);
}
BENCHMARK(paintAt32)->Args({1920, 1080})->Args({2048, 2560})->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace tessel

BENCHMARK_MAIN();
