#include "window/canvas_painter.h"

#include <QPainter>
#include <algorithm>
#include <cstdint>

namespace tessel {

namespace {
const QRgb kGrey = qRgb(kCanvasGrey.r, kCanvasGrey.g, kCanvasGrey.b);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);
} // namespace

CanvasPainter::CanvasPainter()
    : workSurface_(kBufferWidth, kBufferHeight, QImage::Format_RGB32),
      canvas_(kCanvasRect.size(), QImage::Format_RGB32),
      preview_(kPreviewRect.size(), QImage::Format_RGB32)
{
    workSurface_.fill(kGrey);
    canvas_.fill(kGrey);
    preview_.fill(kBlack);
}

void CanvasPainter::compose(const EditorState& state)
{
    canvas_.fill(kGrey);
    drawSunkenEdge();
    renderWorkSurface(state, surface_);
    for (int y = 0; y < kBufferHeight; ++y) {
        auto* row = reinterpret_cast<QRgb*>(workSurface_.scanLine(y));
        for (int x = 0; x < kBufferWidth; ++x) {
            const Rgb c = surface_[y * kBufferWidth + x];
            row[x] = qRgb(c.r, c.g, c.b);
        }
    }
    magnifyWorkSurface();
    drawSelectionOutline(state.selection.selectionRect);
    composePreview(state);
}

void CanvasPainter::paint(QPainter& painter) const
{
    painter.drawImage(kCanvasRect.topLeft(), canvas_);
    painter.drawImage(kPreviewRect.topLeft(), preview_);
}

void CanvasPainter::drawSunkenEdge()
{
    // Two rings: dark grey and black on the top and left, white and light
    // grey on the bottom and right, as a sunken 3-D edge is drawn.
    const int w = canvas_.width(), h = canvas_.height();
    auto ring = [&](int inset, QRgb topLeft, QRgb bottomRight) {
        const int l = inset, t = inset, r = w - 1 - inset, b = h - 1 - inset;
        for (int x = l; x <= r; ++x) {
            canvas_.setPixel(x, t, topLeft);
            canvas_.setPixel(x, b, bottomRight);
        }
        for (int y = t; y <= b; ++y) {
            canvas_.setPixel(l, y, topLeft);
            canvas_.setPixel(r, y, bottomRight);
        }
    };
    ring(0, qRgb(128, 128, 128), qRgb(255, 255, 255));
    ring(1, qRgb(64, 64, 64), qRgb(212, 208, 200));
}

void CanvasPainter::magnifyWorkSurface()
{
    // Each sprite pixel becomes a kZoom x kZoom block; the whole 64 x 80
    // surface is magnified, so the area outside the sprite shows grey too.
    for (int y = 0; y < kBufferHeight; ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(workSurface_.constScanLine(y));
        auto* first = reinterpret_cast<QRgb*>(canvas_.scanLine(kCanvasMargin + y * kZoom));
        QRgb* out = first + kCanvasMargin;
        for (int x = 0; x < kBufferWidth; ++x) {
            const QRgb c = src[x];
            for (int k = 0; k < kZoom; ++k) *out++ = c;
        }
        for (int k = 1; k < kZoom; ++k) {
            auto* row = reinterpret_cast<QRgb*>(canvas_.scanLine(kCanvasMargin + y * kZoom + k));
            std::copy(first + kCanvasMargin, first + kCanvasMargin + kBufferWidth * kZoom,
                      row + kCanvasMargin);
        }
    }
}

void CanvasPainter::drawSelectionOutline(const Rect& selection)
{
    // The outline runs from (left, top) to (right, bottom) in sprite pixels,
    // scaled and shifted by the margin; like a rectangle outline it covers
    // its first row and column but not its last. Dots alternate white and
    // the canvas grey. A rectangle may hang over any edge: it is clipped.
    std::int64_t x1 = std::int64_t{selection.left} * kZoom + kCanvasMargin;
    std::int64_t y1 = std::int64_t{selection.top} * kZoom + kCanvasMargin;
    std::int64_t x2 = std::int64_t{selection.right} * kZoom + kCanvasMargin;
    std::int64_t y2 = std::int64_t{selection.bottom} * kZoom + kCanvasMargin;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 - x1 < 1 || y2 - y1 < 1) return;
    const std::int64_t right = x2 - 1, bottom = y2 - 1;
    const int w = canvas_.width(), h = canvas_.height();
    auto dot = [&](std::int64_t x, std::int64_t y) {
        if (x < 0 || y < 0 || x >= w || y >= h) return;
        canvas_.setPixel(int(x), int(y), ((x + y) & 1) == 0 ? kWhite : kGrey);
    };
    const std::int64_t fromX = std::max<std::int64_t>(x1, 0), toX = std::min<std::int64_t>(right, w - 1);
    for (std::int64_t x = fromX; x <= toX; ++x) {
        dot(x, y1);
        dot(x, bottom);
    }
    const std::int64_t fromY = std::max<std::int64_t>(y1, 0), toY = std::min<std::int64_t>(bottom, h - 1);
    for (std::int64_t y = fromY; y <= toY; ++y) {
        dot(x1, y);
        dot(right, y);
    }
}

void CanvasPainter::composePreview(const EditorState& state)
{
    preview_.fill(kBlack);
    if (!state.hasSprite()) return;
    const SpriteRecord& s = state.current();
    const int w = std::clamp(s.widthPixels(), 0, kBufferWidth);
    const int h = std::clamp(s.heightPixels(), 0, kBufferHeight);
    const int left = kBufferWidth / 2 - w / 2, top = kBufferHeight / 2 - h / 2;
    for (int y = 0; y < h; ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(workSurface_.constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(preview_.scanLine(top + y));
        std::copy(src, src + w, dst + left);
    }
}

} // namespace tessel
