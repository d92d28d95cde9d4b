// The selection operations on the largest sprite (number 18, 64 x 80) with
// a block as large as the sprite, beside a naive version of each written
// the obvious way: per-pixel, bounds-checked, through std::vector copies.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "selection/clipboard.h"
#include "selection/flip.h"
#include "selection/selection.h"

namespace tessel {
namespace {

constexpr int kSprite = 18, W = 64, H = 80;

std::unique_ptr<EditorState> makeState(bool transparent)
{
    auto state = std::make_unique<EditorState>();
    state->currentSprite = kSprite;
    state->current().widthTiles = W / 8;
    state->current().heightTiles = H / 8;
    for (int i = 0; i < kBufferSize; ++i) state->current().pixels[i] = static_cast<std::uint8_t>(i * 7);
    state->tools.currentTool = ToolId::Select;
    state->tools.backgroundIndex = 3;
    state->tools.transparentSelection = transparent;
    state->selection.selectionRect = {0, 0, W, H};
    return state;
}

// A floating block covering the sprite, moved to (4, 4) so that it hangs
// over the right and bottom edges.
std::unique_ptr<EditorState> floatingState(bool transparent)
{
    auto state = makeState(transparent);
    beginSelectionMove(*state, {2, 2}, true);
    moveSelection(*state, {18, 18});
    return state;
}

// The naive side: sprite, block and background as vectors read and written
// with at(), one pixel at a time.
struct Naive {
    std::vector<std::uint8_t> pixels = std::vector<std::uint8_t>(kBufferSize, 1);
    std::vector<std::uint8_t> block = std::vector<std::uint8_t>(kBufferSize, 2);
    std::vector<std::uint8_t> backup = std::vector<std::uint8_t>(kBufferSize, 3);
    Rect rect{4, 4, 4 + W, 4 + H};
    bool transparent = false;
    int key = 3;

    void stamp()
    {
        for (int j = 0; j < rect.height(); ++j)
            for (int i = 0; i < rect.width(); ++i) {
                const int x = rect.left + i, y = rect.top + j;
                if (x < 0 || x >= W || y < 0 || y >= H) continue;
                const std::uint8_t v = block.at(j * kBufferWidth + i);
                if (transparent && (v & 15) == key) continue;
                pixels.at(y * kBufferWidth + x) = v;
            }
    }
    void lift()
    {
        std::vector<std::uint8_t> lifted(kBufferSize);
        for (int j = 0; j < H; ++j)
            for (int i = 0; i < W; ++i) {
                lifted.at(j * kBufferWidth + i) = pixels.at(j * kBufferWidth + i);
                pixels.at(j * kBufferWidth + i) = static_cast<std::uint8_t>(key);
            }
        block = lifted;
    }
    void move(int left, int top)
    {
        for (int k = 0; k < kBufferSize; ++k) pixels.at(k) = backup.at(k);
        rect = {left, top, left + W, top + H};
        stamp();
    }
    void flip()
    {
        std::vector<std::uint8_t> scratch(kBufferSize);
        for (int j = 0; j < H; ++j)
            for (int i = 0; i < W; ++i) scratch.at(j * kBufferWidth + W - 1 - i) = block.at(j * kBufferWidth + i);
        for (int j = 0; j < H; ++j)
            for (int i = 0; i < W; ++i) block.at(j * kBufferWidth + i) = scratch.at(j * kBufferWidth + i);
        move(rect.left, rect.top);
    }
    void paste(const std::vector<std::uint8_t>& clipboard, std::vector<std::vector<std::uint8_t>>& undo)
    {
        stamp(); // the previous block is put down
        undo.at(2) = undo.at(1);
        undo.at(1) = undo.at(0);
        undo.at(0) = pixels;
        for (int j = 0; j < H; ++j)
            for (int i = 0; i < W; ++i) block.at(j * kBufferWidth + i) = clipboard.at(j * kBufferWidth + i);
        backup = pixels;
        move(0, 0);
    }
};

void BM_Lift(benchmark::State& run)
{
    auto state = makeState(false);
    for (auto _ : run) {
        state->selection.selectionFloating = false;
        liftSelection(*state, false);
        benchmark::DoNotOptimize(state->selection.floatingPixels.data());
    }
}
BENCHMARK(BM_Lift);

void BM_NaiveLift(benchmark::State& run)
{
    Naive naive;
    for (auto _ : run) {
        naive.lift();
        benchmark::DoNotOptimize(naive.block.data());
    }
}
BENCHMARK(BM_NaiveLift);

void BM_MoveStep(benchmark::State& run)
{
    auto state = floatingState(run.range(0) != 0);
    int k = 0;
    for (auto _ : run) {
        k = (k + 1) & 15;
        moveSelection(*state, {2 + 4 * k, 6 + 4 * k}); // also past the edges
        benchmark::DoNotOptimize(state->current().pixels.data());
    }
}
BENCHMARK(BM_MoveStep)->ArgName("transparent")->Arg(0)->Arg(1);

void BM_NaiveMoveStep(benchmark::State& run)
{
    Naive naive;
    naive.transparent = run.range(0) != 0;
    int k = 0;
    for (auto _ : run) {
        k = (k + 1) & 15;
        naive.move(k, k + 1);
        benchmark::DoNotOptimize(naive.pixels.data());
    }
}
BENCHMARK(BM_NaiveMoveStep)->ArgName("transparent")->Arg(0)->Arg(1);

void BM_Commit(benchmark::State& run)
{
    auto state = floatingState(false);
    for (auto _ : run) {
        state->selection.selectionFloating = true;
        commitSelection(*state);
        benchmark::DoNotOptimize(state->current().pixels.data());
    }
}
BENCHMARK(BM_Commit);

void BM_NaiveCommit(benchmark::State& run)
{
    Naive naive;
    for (auto _ : run) {
        naive.stamp();
        benchmark::DoNotOptimize(naive.pixels.data());
    }
}
BENCHMARK(BM_NaiveCommit);

void BM_Paste(benchmark::State& run)
{
    auto state = makeState(false);
    copySelection(*state); // the whole sprite as a 64 x 80 block
    for (auto _ : run) {
        pasteClipboard(*state); // puts the previous paste down first
        benchmark::DoNotOptimize(state->current().pixels.data());
    }
}
BENCHMARK(BM_Paste);

void BM_NaivePaste(benchmark::State& run)
{
    Naive naive;
    const std::vector<std::uint8_t> clipboard(kBufferSize, 5);
    std::vector<std::vector<std::uint8_t>> undo(3, std::vector<std::uint8_t>(kBufferSize));
    for (auto _ : run) {
        naive.paste(clipboard, undo);
        benchmark::DoNotOptimize(naive.pixels.data());
    }
}
BENCHMARK(BM_NaivePaste);

void BM_FlipFloating(benchmark::State& run)
{
    auto state = floatingState(false);
    for (auto _ : run) {
        if (run.range(0) != 0)
            flipVertical(*state);
        else
            flipHorizontal(*state);
        benchmark::DoNotOptimize(state->current().pixels.data());
    }
}
BENCHMARK(BM_FlipFloating)->ArgName("vertical")->Arg(0)->Arg(1);

void BM_NaiveFlipFloating(benchmark::State& run)
{
    Naive naive;
    for (auto _ : run) {
        naive.flip();
        benchmark::DoNotOptimize(naive.pixels.data());
    }
}
BENCHMARK(BM_NaiveFlipFloating);

} // namespace
} // namespace tessel

BENCHMARK_MAIN();
