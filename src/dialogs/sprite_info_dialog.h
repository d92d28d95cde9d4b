// The sprite information dialog: the current sprite's number (in the
// caption), width and height in tiles and palette number, and its picture
// at real size on a black box, redrawn from memory at every paint; under the
// picture, "Edited, not saved" while the sprite has unsaved edits; under
// the palette, the sprite's name and star when it has either.
#pragma once

#include <QDialog>

#include "interchange/sprite_names.h"
#include "model/work_surface.h"

namespace tessel {

class SpriteInfoDialog : public QDialog {
    Q_OBJECT
public:
    SpriteInfoDialog(EditorState& state, QWidget* parent = nullptr, const SpriteNames* names = nullptr);

    // The black box the picture is centred on, in client pixels.
    static QRect pictureBox() { return QRect(5, 5, 64, 80); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const EditorState& state_;
    WorkSurface thumbnail_{};
};

} // namespace tessel
