// The real program's answers to UserPrompts: Qt's file dialog, message
// boxes and colour chooser.
#pragma once

#include "widgets/user_prompts.h"

namespace tessel {

// Qt's own dialogs.
UserPrompts& systemPrompts();

} // namespace tessel
