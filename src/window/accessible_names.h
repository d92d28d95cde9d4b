// The names and descriptions screen readers give the main window's
// controls: each tool and flip button by what it does, the navigation, the
// number box and the option fields by what they hold, the indicators and
// the palette swatches by their colour (kept current by the window as the
// palette changes).
#pragma once

#include "window/main_controls.h"
#include "model/sprite_store.h"

namespace tessel {

void nameMainControls(const MainControls& controls);

// The sixteen swatches after the palette shown: raw components, or only
// their index while no palette is.
void nameSwatches(const MainControls& controls, const RawPalette* palette);

} // namespace tessel
