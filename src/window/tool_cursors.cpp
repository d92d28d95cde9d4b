#include "window/tool_cursors.h"

#include <QHash>
#include <QPixmap>

#include "model/command_ids.h"

namespace tessel {

QPoint cursorHotSpot(int cursorId)
{
    switch (cursorId) {
    case ids::PencilCursor: return {7, 22};
    case ids::FloodFillCursor: return {10, 19};
    case ids::CrossHairCursor: return {12, 13};
    case ids::MoveCursor: return {14, 15};
    case ids::ColourPickerCursor: return {5, 17};
    case ids::HandCursor: return {11, 6};
    default: return {0, 0};
    }
}

QCursor toolCursor(int cursorId)
{
    // Loaded once each: the cursor is set on every mouse move.
    static QHash<int, QCursor> cache;
    auto it = cache.constFind(cursorId);
    if (it != cache.constEnd()) return *it;
    QCursor cursor(Qt::ArrowCursor);
    if (cursorId != ids::ArrowCursor) {
        const QPixmap picture(QStringLiteral(":/cursors/%1.png").arg(cursorId));
        if (!picture.isNull()) {
            const QPoint hot = cursorHotSpot(cursorId);
            cursor = QCursor(picture, hot.x(), hot.y());
        }
    }
    cache.insert(cursorId, cursor);
    return cursor;
}

} // namespace tessel
