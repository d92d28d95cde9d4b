// What screen readers hear of the program's own painted controls: a role
// for a plain widget (an image, a button), and the names and descriptions
// of colours, tools and the sprite, shared by every window that shows them.
//
// setAccessibleRole() marks the widget; the accessibility factory installed
// with the first mark hands out an interface with that role for it.
#pragma once

#include <QAccessible>
#include <QString>

#include "model/editor_state.h"

class QWidget;

namespace tessel {

void setAccessibleRole(QWidget* widget, QAccessible::Role role);

// Sets the description only when it changed: every change is announced.
void setAccessibleDescriptionIfChanged(QWidget* widget, const QString& description);

// "Color 3: red 31, green 8, blue 0", raw components 0..31.
QString colourAccessibleName(int index, int red, int green, int blue);

// "Pencil", "Flood fill", ... as the tool buttons are named.
QString toolName(ToolId tool);

// "Sprite 12: 16 × 32 pixels, palette 3", or that no sprite is shown.
QString spriteDescription(const EditorState& state);

} // namespace tessel
