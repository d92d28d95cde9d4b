// The Large View's place, size, zoom and grids in the settings file.
#include <QSettings>

#include "views/large_view_window.h"
#include "widgets/settings_file.h"
#include "widgets/window_place.h"

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
    placed_ = readWindowPlace(settings, *this);
}

void LargeViewWindow::saveSettings() const
{
    if (!settingsFileUsable(settingsFile_)) return;
    QSettings settings(settingsFile_, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) return; // a damaged file stays for its owner to mend
    settings.beginGroup(kGroup);
    writeWindowPlace(settings, *this);
    settings.setValue(QStringLiteral("zoom"), chosenZoom_);
    settings.setValue(QStringLiteral("pixelGrid"), grids_.pixel);
    settings.setValue(QStringLiteral("tileGrid"), grids_.tile);
    settings.endGroup();
    settings.sync();
}

} // namespace tessel
