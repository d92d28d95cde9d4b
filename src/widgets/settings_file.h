// Tessel's one settings file, $XDG_CONFIG_HOME/tessel/tessel.conf
// (~/.config when the variable is unset), an INI file that the recent ROMs
// and the Large View each keep their own keys in. Every reader and writer
// asks settingsFileUsable() first and then leaves the other keys alone.
#pragma once

#include <QString>

namespace tessel {

// The settings file, from the environment as it is now.
QString settingsFilePath();

// QSettings would wait for ever on a pipe in the file's place: only a
// regular file, or none yet, may be read or written.
bool settingsFileUsable(const QString& file);

// The group the Large View keeps its place, zoom and grids under.
inline constexpr char kLargeViewGroup[] = "largeView";
// True for a key of a window's own group, which no other writer touches.
bool isWindowSettingsKey(const QString& key);

} // namespace tessel
