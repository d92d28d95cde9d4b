// Tessel's one settings file, $XDG_CONFIG_HOME/tessel/tessel.conf
// (~/.config when the variable is unset), an INI file that the recent ROMs,
// the Large View and the editor's choices each keep their own keys in. Every reader and writer
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
// The group the Sprite Overview keeps its place, size and scale under.
inline constexpr char kSpriteOverviewGroup[] = "spriteOverview";
// The program's settings are named in plain words ("group/name"); any
// other name in the file is damage, which the recent ROMs' writer drops.
bool isPlainSettingsKey(const QString& key);

} // namespace tessel
