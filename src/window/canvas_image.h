// The canvas as screen readers and the keyboard see it: an image over the
// canvas area named "Sprite canvas", described by the sprite it shows,
// that takes the keyboard focus (Tab, or a press on the canvas) so that the
// tool keys and shortcuts act on the sprite. The pointer goes through it to
// the client area underneath, which paints the canvas.
#pragma once

#include <QWidget>

#include "model/editor_state.h"

namespace tessel {

class CanvasImage : public QWidget {
    Q_OBJECT
public:
    CanvasImage(const EditorState& state, QWidget* clientArea);

    // The description follows the sprite shown.
    void refreshDescription();

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    const EditorState& state_;
    bool focusShown_ = false; // focused from the keyboard
};

} // namespace tessel
