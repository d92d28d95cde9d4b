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

private:
    static constexpr int kKeep = -1; // setComposedColour: leave this component

    void setComposedColour(int red, int green, int blue, bool updateSliders, bool updateFields);
    void sliderMoved(int component, int position);
    void numberTyped();
    void selectColour(int k);
    void loadEditedPalette(int palette);
    void paintSwatch(int k, bool highlighted);
    void addColour();
    void applyChanges();
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
