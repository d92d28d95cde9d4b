#include "window/editor_settings.h"

#include <QSettings>

#include "widgets/settings_file.h"

namespace tessel {

bool readBoolSetting(const QString& key, bool fallback)
{
    const QString file = settingsFilePath();
    if (!settingsFileUsable(file)) return fallback;
    QSettings settings(file, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) return fallback;
    const QString text = settings.value(key).toString();
    if (text == QLatin1String("true")) return true;
    if (text == QLatin1String("false")) return false;
    return fallback;
}

void writeBoolSetting(const QString& key, bool value)
{
    const QString file = settingsFilePath();
    if (!settingsFileUsable(file)) return;
    QSettings settings(file, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) return; // damaged: left for the list to replace
    settings.setValue(key, value);
    settings.sync();
}

} // namespace tessel
