#include "browser/sprite_thumbnail.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

namespace tessel {

static_assert(sizeof(Rgb) == 3, "a work surface row must be packed RGB for QImage");

QPoint thumbnailOrigin(QPoint cellTopLeft, int widthPixels, int heightPixels)
{
    return cellTopLeft + QPoint(kCellWidth / 2 - widthPixels / 2, kCellHeight / 2 - heightPixels / 2);
}

void paintSpriteCell(QPainter& painter, const EditorState& state, int sprite,
                     QPoint cellTopLeft, WorkSurface& surface)
{
    painter.fillRect(QRect(cellTopLeft, QSize(kCellWidth, kCellHeight)), Qt::black);
    if (sprite < 0 || sprite >= kSpriteCount) return;
    const SpriteRecord& record = state.document.spriteStore[sprite];
    // A record never claims more than the 64 x 80 store; stay inside it anyway.
    const int w = std::clamp(record.widthPixels(), 0, kCellWidth);
    const int h = std::clamp(record.heightPixels(), 0, kCellHeight);
    if (w == 0 || h == 0) return;
    renderPixels(record.pixels, w, h, state.document.displayPalettes[record.paletteIndex & 31], surface);
    const QImage image(reinterpret_cast<const uchar*>(surface.data()), kBufferWidth, kBufferHeight,
                       kBufferWidth * int(sizeof(Rgb)), QImage::Format_RGB888);
    painter.drawImage(thumbnailOrigin(cellTopLeft, w, h), image, QRect(0, 0, w, h));
}

} // namespace tessel
