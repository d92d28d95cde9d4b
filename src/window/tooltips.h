// The tooltips of the main window: every tool, navigation and option
// control says what it does and names its shortcut where it has one; each
// palette swatch gives its index, its 5-bit components and the colour word
// the game stores ("$7FFF").
#pragma once

#include <QString>

#include "window/main_controls.h"

namespace tessel {

void setControlTooltips(const MainControls& controls);

// Adds to the tool buttons' and the indicators' tooltips the keys of the
// key tables that do the same.
void addKeyTooltips(const MainControls& controls);

// A palette swatch's tooltip with the keys that pick it.
QString withSwatchKeys(const QString& tooltip);

// The tooltip of palette swatch `index` for raw components 0..31.
QString swatchTooltip(int index, int red, int green, int blue);

} // namespace tessel
