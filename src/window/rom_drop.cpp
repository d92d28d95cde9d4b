#include "window/rom_drop.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QWidget>

namespace tessel {

namespace {

class RomDropFilter : public QObject {
public:
    RomDropFilter(std::function<void(const QString&)> open, QObject* parent)
        : QObject(parent), open_(std::move(open))
    {
    }

protected:
    // A drag carrying a ROM is the filter's wherever it is over the window,
    // even over a child that takes drops of its own (the sprite number box
    // takes text); any other drag goes where it would have gone.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
            return QObject::eventFilter(watched, event);
        auto* drag = static_cast<QDropEvent*>(event);
        const QString path = droppedRomPath(drag->mimeData());
        if (path.isEmpty()) return QObject::eventFilter(watched, event);
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
        if (type == QEvent::Drop) QTimer::singleShot(0, this, [this, path] { open_(path); });
        return true;
    }

private:
    std::function<void(const QString&)> open_;
};

} // namespace

QString droppedRomPath(const QMimeData* data)
{
    if (!data || !data->hasUrls()) return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile()) return {};
    const QString path = urls.first().toLocalFile();
    return QFileInfo(path).isFile() ? path : QString();
}

void acceptRomDrops(QWidget* window, std::function<void(const QString&)> open)
{
    auto* filter = new RomDropFilter(std::move(open), window);
    window->setAcceptDrops(true);
    window->installEventFilter(filter);
    for (QWidget* child : window->findChildren<QWidget*>())
        if (child->acceptDrops()) child->installEventFilter(filter);
}

} // namespace tessel
