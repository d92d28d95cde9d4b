// How a sprite's name and star show beside its number, in the status bar
// and the sprite information: "“Hero, walking” ★", "“Hero, walking”", "★",
// or empty for a sprite with neither.
#pragma once

#include <QString>

#include "interchange/sprite_names.h"

namespace tessel {

QString spriteLabel(const SpriteNames& names, int sprite);

} // namespace tessel
