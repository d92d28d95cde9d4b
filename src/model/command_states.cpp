#include "model/command_states.h"

#include <algorithm>

namespace tessel {

namespace {
int slotOf(int commandId)
{
    const auto& all = CommandStates::allCommands;
    auto it = std::find(all.begin(), all.end(), commandId);
    return it == all.end() ? -1 : static_cast<int>(it - all.begin());
}
} // namespace

CommandStates::CommandStates()
{
    // As the menu resource loads: only Open ROM, Exit and About are enabled,
    // and the pencil's option, which needs no ROM.
    setEnabled(ids::OpenRom, true);
    setEnabled(ids::RecoverEdits, true);
    setEnabled(ids::Exit, true);
    setEnabled(ids::About, true);
    setEnabled(ids::KeyboardShortcuts, true);
    setEnabled(ids::JoinedPencilStrokes, true);
}

bool writesIntoRom(int commandId)
{
    return commandId == ids::SaveCurrentSprite || commandId == ids::SaveAllSprites ||
           commandId == ids::SaveSpriteButton || commandId == ids::ApplyPatch;
}

bool CommandStates::isEnabled(int commandId) const
{
    int slot = slotOf(commandId);
    return slot >= 0 && enabled_[slot];
}

bool CommandStates::setEnabled(int commandId, bool enabled)
{
    int slot = slotOf(commandId);
    if (slot < 0 || enabled_[slot] == enabled) return false;
    enabled_[slot] = enabled;
    return true;
}

} // namespace tessel
