// A full canvas repaint: the sprite rendered to the work surface, magnified
// four times, the selection outlined and the preview composed, then put on
// the window. Beside it, the same picture drawn the obvious way, one
// QImage::setPixel per sprite pixel and one QPainter::drawRect per
// magnified pixel.
#include <QApplication>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <memory>

#include "window/canvas_painter.h"
#include "window/main_window.h"
#include "editor/sprite_selection.h"
#include "support/fake_prompts.h"

using namespace tessel;

namespace {

// The largest sprite (8 x 10 tiles), every index used, a selection shown.
std::unique_ptr<EditorState> makeState()
{
    auto state = std::make_unique<EditorState>();
    SpriteRecord& r = state->document.spriteStore[0];
    r.widthTiles = 8;
    r.heightTiles = 10;
    for (int i = 0; i < kBufferSize; ++i) r.pixels[i] = static_cast<std::uint8_t>((i * 7) % 16);
    for (int i = 0; i < 16; ++i) {
        state->document.displayPalettes[0].red[i] = 16 * i;
        state->document.displayPalettes[0].green[i] = 255 - 16 * i;
        state->document.displayPalettes[0].blue[i] = 8 * i;
    }
    state->currentSprite = 0;
    state->currentDisplayPalette = state->document.displayPalettes[0];
    state->selection.selectionRect = Rect{5, 7, 40, 60};
    return state;
}

void BM_CanvasRepaint(benchmark::State& bs)
{
    auto state = makeState();
    CanvasPainter painter;
    QImage window(554, 375, QImage::Format_RGB32);
    for (auto _ : bs) {
        painter.compose(*state);
        QPainter p(&window);
        painter.paint(p);
        p.end();
        benchmark::DoNotOptimize(window.constBits());
    }
}
BENCHMARK(BM_CanvasRepaint)->Unit(benchmark::kMicrosecond);

// The real window's synchronous repaint on the offscreen platform.
void BM_WindowRepaintCanvas(benchmark::State& bs)
{
    auto state = makeState();
    tessel::testing::FakePrompts prompts;
    MainWindow window(*state, prompts);
    window.show();
    QApplication::processEvents();
    for (auto _ : bs) window.repaintCanvas();
}
BENCHMARK(BM_WindowRepaintCanvas)->Unit(benchmark::kMicrosecond);

void BM_NaiveCanvasRepaint(benchmark::State& bs)
{
    auto state = makeState();
    QImage surface(64, 80, QImage::Format_RGB32);
    QImage window(554, 375, QImage::Format_RGB32);
    const QColor grey(127, 127, 127);
    for (auto _ : bs) {
        const SpriteRecord& s = state->current();
        const DisplayPalette& pal = state->currentDisplayPalette;
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 64; ++x) {
                const bool in = x < s.widthPixels() && y < s.heightPixels();
                const int k = s.pixels[y * 64 + x] & 15;
                surface.setPixel(x, y, in ? qRgb(pal.red[k], pal.green[k], pal.blue[k]) : grey.rgb());
            }
        QPainter p(&window);
        p.fillRect(0, 0, 420, 330, grey);
        p.setPen(Qt::NoPen);
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 64; ++x) {
                p.setBrush(QColor(surface.pixel(x, y)));
                p.drawRect(2 + 4 * x, 2 + 4 * y, 4, 4);
            }
        const Rect& r = state->selection.selectionRect;
        p.setPen(QPen(Qt::white, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.left * 4 + 2, r.top * 4 + 2, (r.right - r.left) * 4 - 1, (r.bottom - r.top) * 4 - 1);
        p.fillRect(450, 0, 64, 80, Qt::black);
        for (int y = 0; y < s.heightPixels(); ++y)
            for (int x = 0; x < s.widthPixels(); ++x)
                window.setPixel(450 + 32 - s.widthPixels() / 2 + x, 40 - s.heightPixels() / 2 + y,
                                surface.pixel(x, y));
        p.end();
        benchmark::DoNotOptimize(window.constBits());
    }
}
BENCHMARK(BM_NaiveCanvasRepaint)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Q_INIT_RESOURCE(tessel);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
