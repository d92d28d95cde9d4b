// The palette editor: change the colours of the 32 sprite palettes and
// write them into the ROM.
//
// It keeps three layers apart:
//  - the composed colour (sliders, number fields, colour chooser, preview);
//  - the working copy of one palette (the 16 swatches), changed only by
//    "<< Add Color" and by loading a palette;
//  - the palette store and the ROM, changed only by "&Apply Changes".
// Sliders and fields update each other through setComposedColour(); the
// acceptInput flag keeps their change notifications from feeding back.
// The main window runs it with exec() and selects the current sprite again
// afterwards, so that applied colours show on the canvas.
//
// Colour 0 is transparent in the game and never stored: it cannot be added.
// Close or Escape with added colours that were not applied asks whether to
// apply them first.
#pragma once

#include <QDialog>
#include <functional>

#include "dialogs/palette_editor_controls.h"
#include "model/editor_state.h"

namespace tessel {

class UserPrompts;

class PaletteEditorDialog : public QDialog {
    Q_OBJECT
public:
    PaletteEditorDialog(EditorState& state, UserPrompts& prompts, QWidget* parent = nullptr);

    // Called before Apply Changes writes; false keeps the file untouched.
    void setBeforeWrite(std::function<bool()> beforeWrite) { beforeWrite_ = std::move(beforeWrite); }

    int editedPalette() const { return editedPalette_; }
    int selectedColour() const { return selectedColour_; }
    const RawPalette& workingCopy() const { return working_; }
    int composedRed() const { return composed_[0]; }
    int composedGreen() const { return composed_[1]; }
    int composedBlue() const { return composed_[2]; }
    // Colours 1..15 of the working copy differ from the palette as stored.
    bool hasUnappliedChanges() const;

    // Close, Escape and the window's close button.
    void reject() override;

signals:
    // hasUnappliedChanges() may have changed.
    void unappliedChangesChanged(bool unapplied);
    void paletteWritten(int palette);

private:
    static constexpr int kKeep = -1; // setComposedColour: leave this component

    void setComposedColour(int red, int green, int blue, bool updateSliders, bool updateFields);
    void sliderMoved(int component, int position);
    void numberTyped();
    void selectColour(int k);
    void loadEditedPalette(int palette);
    void paintSwatch(int k, bool highlighted);
    void addColour();
    // False when nothing was written (no ROM, or the write failed).
    bool applyChanges();
    void showUnapplied();
    void chooseColour();
    void importColours();
    void exportColours();

    EditorState& state_;
    UserPrompts& prompts_;
    PaletteEditorControls controls_;
    int editedPalette_ = 0;
    int selectedColour_ = 0;
    RawPalette working_{};
    int composed_[3] = {0, 0, 0};
    bool acceptInput_ = false; // true once the first colour is shown
    std::function<bool()> beforeWrite_;
};

} // namespace tessel
