// Drawing tool speed on the largest sprite (64 x 80): one figure drag step
// and a flood fill of the whole area, each beside a naive reference that
// works the way the original program did (figure pixels through a generic
// per-pixel callback onto an RGB surface, then every sprite pixel read back
// as the lowest palette index of its colour; the fill with a visited set).
#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <queue>
#include <set>
#include <utility>
#include <vector>

#include "editor/mouse.h"
#include "model/work_surface.h"
#include "selection/tool_table.h"
#include "support/recording_view.h"
#include "tools/drawing_tools.h"
#include "tools/undo.h"

namespace tessel {
namespace {

constexpr int kSprite = 18;
constexpr int kWidePen = 20;

struct Editor {
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
    testing::RecordingView view;

    explicit Editor(ToolId tool)
    {
        testing::attachForEditing(*state, view);
        state->currentSprite = kSprite;
        SpriteRecord& s = state->current();
        s.widthTiles = 8;
        s.heightTiles = 10;
        for (int i = 0; i < kBufferSize; ++i) s.pixels[i] = static_cast<std::uint8_t>((i / 7) & 15);
        for (int i = 0; i < 16; ++i) {
            state->currentDisplayPalette.red[i] = i * 16;
            state->currentDisplayPalette.green[i] = 255 - i * 16;
            state->currentDisplayPalette.blue[i] = i * 5;
        }
        state->tools.currentTool = tool;
        state->tools.fillMode = FillMode::Background;
        state->tools.foregroundIndex = 3;
        state->tools.backgroundIndex = 12;
        view.lineSizeText = kWidePen;
        view.curveRadiusText = 24;
    }
};

Point clientOf(int x, int y) { return {2 + 4 * x + 1, 2 + 4 * y + 1}; }

// The pointer wanders between a few end points so no two steps are alike.
const Point kEnds[] = {{60, 75}, {40, 70}, {63, 50}, {30, 30}, {58, 79}};

void BM_ShapeDragStep(benchmark::State& bs)
{
    Editor e(static_cast<ToolId>(bs.range(0)));
    const FigureFunction figure = toolEntry(e.state->tools.currentTool).figure;
    onLeftButtonDown(*e.state, clientOf(2, 3));
    std::size_t i = 0;
    for (auto _ : bs) {
        dragShape(*e.state, clientOf(kEnds[i].x, kEnds[i].y), figure);
        i = (i + 1) % std::size(kEnds);
        benchmark::DoNotOptimize(e.state->current().pixels.data());
    }
}

// --- The naive reference -----------------------------------------------------

using PixelCallback = std::function<void(int, int)>;

bool insideEllipse(int l, int t, int r, int b, int x, int y)
{
    const double cx = (l + r) / 2.0, cy = (t + b) / 2.0, a = (r - l) / 2.0, h = (b - t) / 2.0;
    const double u = (x + 0.5 - cx) / a, v = (y + 0.5 - cy) / h;
    return u * u + v * v <= 1.0 || std::abs(y + 0.5 - cy) <= 0.5 || std::abs(x + 0.5 - cx) <= 0.5;
}

// The ellipse through a per-pixel callback: region by the centre test,
// outline by the neighbour test, the wide pen stamped disc pixel by disc
// pixel and remembered in a set.
void naiveEllipse(int l, int t, int r, int b, int width, const PixelCallback& pen,
                  const PixelCallback& brush)
{
    auto in = [&](int x, int y) {
        return x >= l && x < r && y >= t && y < b && insideEllipse(l, t, r, b, x, y);
    };
    std::set<std::pair<int, int>> penned;
    const int e = width % 2 == 0 ? 1 : 0;
    for (int y = t; y < b; ++y)
        for (int x = l; x < r; ++x) {
            if (!in(x, y) || (in(x - 1, y) && in(x + 1, y) && in(x, y - 1) && in(x, y + 1)))
                continue;
            for (int v = -width; v <= width; ++v)
                for (int u = -width; u <= width; ++u)
                    if ((2 * u + e) * (2 * u + e) + (2 * v + e) * (2 * v + e) <= width * width)
                        penned.insert({x + u, y + v});
        }
    for (int y = t; y < b; ++y)
        for (int x = l; x < r; ++x)
            if (in(x, y) && !penned.count({x, y})) brush(x, y);
    for (const auto& [x, y] : penned) pen(x, y);
}

void BM_ShapeDragStepNaive(benchmark::State& bs)
{
    Editor e(ToolId::Ellipse);
    EditorState& st = *e.state;
    const PixelBuffer backup = st.current().pixels;
    const DisplayPalette& pal = st.currentDisplayPalette;
    std::vector<Rgb> surface(kBufferSize);
    std::size_t i = 0;
    for (auto _ : bs) {
        // Repaint the surface from the backup, draw in colours, read back.
        for (int p = 0; p < kBufferSize; ++p) surface[p] = colourOf(pal, backup[p] & 15);
        auto paint = [&](Rgb c) {
            return PixelCallback([&surface, c](int x, int y) {
                if (x >= 0 && x < kBufferWidth && y >= 0 && y < kBufferHeight)
                    surface[y * 64 + x] = c;
            });
        };
        const Point end = kEnds[i];
        i = (i + 1) % std::size(kEnds);
        naiveEllipse(2, 3, end.x, end.y, kWidePen, paint(colourOf(pal, 3)),
                     paint(colourOf(pal, 12)));
        for (int p = 0; p < kBufferSize; ++p) {
            int index = 0;
            while (index < 15 && !(colourOf(pal, index) == surface[p])) ++index;
            st.current().pixels[p] = static_cast<std::uint8_t>(index);
        }
        benchmark::DoNotOptimize(st.current().pixels.data());
    }
}

void BM_FloodFillWholeArea(benchmark::State& bs)
{
    Editor e(ToolId::FloodFill);
    e.state->current().pixels.fill(5);
    int index = 0;
    for (auto _ : bs) {
        e.state->tools.penAndBrush.brushIndex = index;
        index = (index + 1) & 15;
        floodFill(*e.state, clientOf(31, 40)); // the whole 64 x 80 area is one colour
        benchmark::DoNotOptimize(e.state->current().pixels.data());
    }
}

void BM_FloodFillWholeAreaNaive(benchmark::State& bs)
{
    Editor e(ToolId::FloodFill);
    EditorState& st = *e.state;
    st.current().pixels.fill(5);
    const DisplayPalette& pal = st.currentDisplayPalette;
    int index = 0;
    for (auto _ : bs) {
        WorkSurface surface;
        renderWorkSurface(st, surface);
        const Rgb target = surface[40 * 64 + 31], brush = colourOf(pal, index);
        index = (index + 1) & 15;
        std::set<std::pair<int, int>> seen{{31, 40}};
        std::queue<std::pair<int, int>> todo;
        todo.push({31, 40});
        while (!todo.empty()) {
            auto [x, y] = todo.front();
            todo.pop();
            surface[y * 64 + x] = brush;
            for (auto [nx, ny] : {std::pair{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}})
                if (nx >= 0 && nx < 64 && ny >= 0 && ny < 80 && surface[ny * 64 + nx] == target &&
                    seen.insert({nx, ny}).second)
                    todo.push({nx, ny});
        }
        for (int p = 0; p < kBufferSize; ++p) {
            int i = 0;
            while (i < 15 && !(colourOf(pal, i) == surface[p])) ++i;
            st.current().pixels[p] = static_cast<std::uint8_t>(i);
        }
        benchmark::DoNotOptimize(st.current().pixels.data());
    }
}

// One edit's way into the history on a journal at its 8 MiB budget: the
// undo snapshot settles the edit before it (a 64 x 80 state recorded, the
// oldest state of another sprite dropped) and notes the new one.
void BM_JournalPush(benchmark::State& bs)
{
    Editor e(ToolId::Pencil);
    EditorState& st = *e.state;
    PixelBuffer other = st.current().pixels;
    const std::size_t cost = kBufferSize + SpriteJournal::kStateOverhead;
    for (int n = 0; st.journal.bytes() + cost <= SpriteJournal::kByteBudget; ++n) {
        other[0] = static_cast<std::uint8_t>(n); // no state equals the one before
        st.journal.record(100 + n / SpriteJournal::kStatesPerSprite, EditCause::Pencil, {}, other.data(),
                          kBufferWidth, kBufferWidth, kBufferHeight);
    }
    std::uint8_t mark = 0;
    for (auto _ : bs) {
        st.current().pixels[0] = mark++; // every state differs from the one before
        pushUndoSnapshot(st);
        benchmark::DoNotOptimize(st.journal.size());
    }
}

BENCHMARK(BM_ShapeDragStep)
    ->ArgName("tool")
    ->Arg(static_cast<int>(ToolId::Line))
    ->Arg(static_cast<int>(ToolId::Rectangle))
    ->Arg(static_cast<int>(ToolId::Ellipse))
    ->Arg(static_cast<int>(ToolId::RoundedRectangle))
    ->Unit(benchmark::kMicrosecond);
// The naive side draws the ellipse only: it pairs with that tool's row.
BENCHMARK(BM_ShapeDragStepNaive)
    ->ArgName("tool")
    ->Arg(static_cast<int>(ToolId::Ellipse))
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FloodFillWholeArea)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FloodFillWholeAreaNaive)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_JournalPush)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace tessel

BENCHMARK_MAIN();
