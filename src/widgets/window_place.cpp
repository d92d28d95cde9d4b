#include "widgets/window_place.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <algorithm>

namespace tessel {

bool readWindowPlace(const QSettings& settings, QWidget& window)
{
    bool ok[4] = {};
    const int x = settings.value(QStringLiteral("x")).toInt(&ok[0]);
    const int y = settings.value(QStringLiteral("y")).toInt(&ok[1]);
    const int w = settings.value(QStringLiteral("width")).toInt(&ok[2]);
    const int h = settings.value(QStringLiteral("height")).toInt(&ok[3]);
    if (ok[2] && ok[3] && w > 0 && h > 0)
        window.resize(QSize(w, h).expandedTo(window.minimumSize()).boundedTo(QSize(8192, 8192)));
    if (!(ok[0] && ok[1])) return false;
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().contains(QPoint(x, y))) {
            window.move(x, y);
            return true;
        }
    }
    return false;
}

void writeWindowPlace(QSettings& settings, const QWidget& window)
{
    settings.setValue(QStringLiteral("x"), window.x());
    settings.setValue(QStringLiteral("y"), window.y());
    settings.setValue(QStringLiteral("width"), window.width());
    settings.setValue(QStringLiteral("height"), window.height());
}

void placeBeside(QWidget& window, const QWidget& owner, Side side, bool narrowToFit)
{
    const QRect frame = owner.window()->frameGeometry();
    const QScreen* screen = owner.window()->screen();
    const QRect room = screen ? screen->availableGeometry() : QRect();
    if (narrowToFit && room.isValid()) {
        const int free = side == Side::Left ? frame.left() - room.left() : room.right() - frame.right();
        if (free < window.width()) window.resize(std::max(free, window.minimumWidth()), window.height());
    }
    QPoint at(side == Side::Right ? frame.right() + 1 : frame.left() - window.width(), frame.top());
    if (room.isValid()) {
        if (at.x() + window.width() > room.right() + 1) at.setX(room.right() + 1 - window.width());
        at.setX(std::max(room.left(), at.x()));
    }
    window.move(at);
}

} // namespace tessel
