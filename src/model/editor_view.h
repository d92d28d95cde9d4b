// What the core asks of the main window. The Qt main window implements it;
// tests use a recording fake. Every call is synchronous: repaintCanvas() has
// painted the canvas and preview when it returns.
#pragma once

#include "model/sprite_store.h"

namespace tessel {

class EditorView {
public:
    virtual ~EditorView() = default;

    // Repaint the canvas and the preview from the editor state, now.
    virtual void repaintCanvas() = 0;
    // The enabled state of one or more menu commands changed.
    virtual void commandsChanged() = 0;
    // currentDisplayPalette was loaded: show it in the sixteen swatches.
    virtual void paletteSwatchesChanged() = 0;
    // Indicator 0 (foreground, 1002) or 1 (background, 1003) takes a colour.
    virtual void indicatorChanged(int which, Rgb colour) = 0;
    // Write the sprite number into the sprite number edit.
    virtual void spriteNumberChanged(int spriteNumber) = 0;
    // currentTool changed: check its button and show its option controls.
    virtual void toolChanged() = 0;
    // The option edits, read at the moment of use (text that is no number
    // reads as 0).
    virtual int lineSize() = 0;
    virtual int curveRadius() = 0;
    // Hide the sprite browser if it is shown.
    virtual void hideBrowser() = 0;
    // Some sprite became edited, or saved (see model/edit_marks.h).
    virtual void editMarksChanged() {}
};

// A view that does nothing; the state's default until a window attaches.
class NullView final : public EditorView {
public:
    void repaintCanvas() override {}
    void commandsChanged() override {}
    void paletteSwatchesChanged() override {}
    void indicatorChanged(int, Rgb) override {}
    void spriteNumberChanged(int) override {}
    void toolChanged() override {}
    int lineSize() override { return 1; }
    int curveRadius() override { return 5; }
    void hideBrowser() override {}
};

} // namespace tessel
