// The Large View's place, size, zoom and grids in the settings file.
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

#include "views/large_view_window.h"
#include "widgets/settings_file.h"

namespace tessel {

namespace {
const QString kGroup = QString::fromLatin1(kLargeViewGroup);
} // namespace

void LargeViewWindow::loadSettings()
{
    if (!settingsFileUsable(settingsFile_)) return;
    QSettings settings(settingsFile_, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) return;
    settings.beginGroup(kGroup);
    const int zoom = settings.value(QStringLiteral("zoom"), 0).toInt();
    chosenZoom_ = zoom <= 0 ? 0 : clampViewZoom(zoom);
    grids_.pixel = settings.value(QStringLiteral("pixelGrid"), true).toBool();
    grids_.tile = settings.value(QStringLiteral("tileGrid"), true).toBool();
    bool ok[4] = {};
    const int x = settings.value(QStringLiteral("x")).toInt(&ok[0]);
    const int y = settings.value(QStringLiteral("y")).toInt(&ok[1]);
    const int w = settings.value(QStringLiteral("width")).toInt(&ok[2]);
    const int h = settings.value(QStringLiteral("height")).toInt(&ok[3]);
    if (ok[2] && ok[3] && w > 0 && h > 0)
        resize(QSize(w, h).expandedTo(minimumSize()).boundedTo(QSize(8192, 8192)));
    if (!(ok[0] && ok[1])) return;
    // A place on no screen (another monitor, since unplugged) is not taken.
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().contains(QPoint(x, y))) {
            move(x, y);
            placed_ = true;
            return;
        }
    }
}

void LargeViewWindow::saveSettings() const
{
    if (!settingsFileUsable(settingsFile_)) return;
    QSettings settings(settingsFile_, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) return; // a damaged file stays for its owner to mend
    settings.beginGroup(kGroup);
    settings.setValue(QStringLiteral("x"), x());
    settings.setValue(QStringLiteral("y"), y());
    settings.setValue(QStringLiteral("width"), width());
    settings.setValue(QStringLiteral("height"), height());
    settings.setValue(QStringLiteral("zoom"), chosenZoom_);
    settings.setValue(QStringLiteral("pixelGrid"), grids_.pixel);
    settings.setValue(QStringLiteral("tileGrid"), grids_.tile);
    settings.endGroup();
    settings.sync();
}

} // namespace tessel
