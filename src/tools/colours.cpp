#include "tools/colours.h"

namespace tessel {

void setIndicatorColour(EditorState& state, int index, ColourSlot which)
{
    index &= 15;
    if (which == ColourSlot::Foreground)
        state.foregroundIndex = index;
    else
        state.backgroundIndex = index;
    viewOf(state).indicatorChanged(static_cast<int>(which),
                                   colourOf(state.currentDisplayPalette, index));
}

} // namespace tessel
