// One page of the sprite browser and one picture of the sprite information
// dialog, painted as their paint events do, beside a naive painter that
// converts and copies pixel by pixel (QImage::setPixel, QPainter::drawPoint).
// Target: each paint well under 1 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <memory>

#include "browser/sprite_browser.h"
#include "browser/sprite_thumbnail.h"
#include "dialogs/sprite_info_dialog.h"
#include "support/rom_fixture.h"

namespace {

using namespace tessel;

EditorState& romState()
{
    static testing::RomFixture rom; // sprites and palettes of the synthetic ROM
    return rom.state();
}

constexpr int kPage = 2; // sprites 16..23, among them the 64 x 80 sprite 18

QPoint cellOf(int slot) { return QPoint(5 + 72 * (slot % 4), 5 + 102 * (slot / 4)); }

// The naive reference: every pixel set on a 64 x 80 image one call at a
// time, the cell filled black, then the sprite drawn point by point.
void naiveCell(QPainter& painter, const EditorState& state, int sprite, QPoint cell)
{
    const SpriteRecord& r = state.document.spriteStore[sprite];
    const DisplayPalette& pal = state.document.displayPalettes[r.paletteIndex & 31];
    QImage surface(kBufferWidth, kBufferHeight, QImage::Format_RGB32);
    for (int y = 0; y < kBufferHeight; ++y)
        for (int x = 0; x < kBufferWidth; ++x) {
            const int i = r.pixels[y * kBufferWidth + x] & 15;
            surface.setPixel(x, y, qRgb(pal.red[i], pal.green[i], pal.blue[i]));
        }
    painter.fillRect(QRect(cell, QSize(64, 80)), Qt::black);
    const int w = r.widthPixels(), h = r.heightPixels();
    const QPoint origin = cell + QPoint(32 - w / 2, 40 - h / 2);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            painter.setPen(QColor::fromRgb(surface.pixel(x, y)));
            painter.drawPoint(origin + QPoint(x, y));
        }
}

void BM_BrowserPage(benchmark::State& st)
{
    const EditorState& state = romState();
    QImage window(290, 218, QImage::Format_ARGB32_Premultiplied);
    WorkSurface surface{};
    for (auto _ : st) {
        QPainter painter(&window);
        for (int k = 0; k < 8; ++k) paintSpriteCell(painter, state, kPage * 8 + k, cellOf(k), surface);
        painter.end();
        benchmark::DoNotOptimize(window.constBits());
    }
}
BENCHMARK(BM_BrowserPage)->Unit(benchmark::kMicrosecond);

void BM_BrowserPageNaive(benchmark::State& st)
{
    const EditorState& state = romState();
    QImage window(290, 218, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : st) {
        QPainter painter(&window);
        for (int k = 0; k < 8; ++k) naiveCell(painter, state, kPage * 8 + k, cellOf(k));
        painter.end();
        benchmark::DoNotOptimize(window.constBits());
    }
}
BENCHMARK(BM_BrowserPageNaive)->Unit(benchmark::kMicrosecond);

void BM_InfoPicture(benchmark::State& st)
{
    const EditorState& state = romState();
    QImage window(230, 145, QImage::Format_ARGB32_Premultiplied);
    WorkSurface surface{};
    for (auto _ : st) {
        QPainter painter(&window);
        paintSpriteCell(painter, state, 18, QPoint(5, 5), surface);
        painter.end();
        benchmark::DoNotOptimize(window.constBits());
    }
}
BENCHMARK(BM_InfoPicture)->Unit(benchmark::kMicrosecond);

void BM_InfoPictureNaive(benchmark::State& st)
{
    const EditorState& state = romState();
    QImage window(230, 145, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : st) {
        QPainter painter(&window);
        naiveCell(painter, state, 18, QPoint(5, 5));
        painter.end();
        benchmark::DoNotOptimize(window.constBits());
    }
}
BENCHMARK(BM_InfoPictureNaive)->Unit(benchmark::kMicrosecond);

// The whole widgets, labels and buttons included, rendered as on screen.
void BM_BrowserWidgetRender(benchmark::State& st)
{
    EditorState& state = romState();
    state.currentSprite = kPage * 8;
    QWidget owner;
    SpriteBrowser browser(state, &owner);
    browser.show();
    QImage window(browser.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : st) {
        browser.render(&window);
        benchmark::DoNotOptimize(window.constBits());
    }
}
BENCHMARK(BM_BrowserWidgetRender)->Unit(benchmark::kMicrosecond);

void BM_InfoDialogRender(benchmark::State& st)
{
    EditorState& state = romState();
    state.currentSprite = 18;
    SpriteInfoDialog dialog(state);
    QImage window(dialog.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : st) {
        dialog.render(&window);
        benchmark::DoNotOptimize(window.constBits());
    }
}
BENCHMARK(BM_InfoDialogRender)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
