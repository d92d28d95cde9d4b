// The main window's status bar, under the client area. It shows, in this
// order of precedence:
//  - for a few seconds after a command that wrote to the ROM, what it wrote
//    ("Saved 5 sprites", "Palette 3 written");
//  - while the pointer is over the 64 x 80 work area of the canvas, that
//    pixel's coordinates and colour index;
//  - otherwise the current sprite's number (with its name and star, when it
//    has them), size in tiles, palette and the offset of its first tile in
//    the file.
// Errors are message boxes, never status text.
#pragma once

#include <QStatusBar>

#include "interchange/sprite_names.h"
#include "model/editor_state.h"

class QLabel;

namespace tessel {

class StatusLine : public QStatusBar {
    Q_OBJECT
public:
    static constexpr int kHeight = 20; // pixels
    static constexpr int kResultMilliseconds = 6000;

    StatusLine(const EditorState& state, QWidget* parent);

    // What a command wrote.
    void showResult(const QString& text);
    // The pointer moved to client point `client` of the main window.
    void pointerAt(QPoint client);
    void pointerLeft();
    // The sprite, the ROM or the pixels changed: say so if it shows.
    void refresh();

    // The names and stars it shows with the sprite (none when null).
    void setNames(const SpriteNames* names) { names_ = names; }

    // What the bar shows now.
    QString shownText() const;

    static QString spriteText(const EditorState& state, const SpriteNames* names = nullptr);
    // Empty when the point is not over the work area of a shown sprite.
    static QString pixelText(const EditorState& state, QPoint client);

private:
    const EditorState& state_;
    const SpriteNames* names_ = nullptr;
    QLabel* info_;
    QPoint pointer_{-1, -1};
    bool pointerInside_ = false;
};

// The texts of the commands that write.
QString spriteSavedText(int sprite, int tiles, const QString& romName);
QString spritesSavedText(int sprites);
QString nothingToSaveText();
QString paletteWrittenText(int palette);

} // namespace tessel
