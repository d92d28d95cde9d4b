// The animation preview (View > Preview…): a window of its own that plays
// a list of sprites ("18-21,30", interchange/sprite_list.h), each frame in
// its own palette, at 1 to 30 frames per second and 1x to 8x. Every frame
// is drawn from the sprite store as it is then, so edits show at the next
// frame (and at once while paused: the main window's repaint calls
// repaintNow).
//
// Flow: the list box, the two spin boxes and Play/Pause change the
// settings -> settingsChanged() (the window keeps them with the game's
// names) -> the timer runs only while the window is shown and not
// minimised, a ROM is open, it is playing and the list has frames; each
// tick moves to the next frame and paints. Hidden (Escape, the close
// button, Close ROM) -> hidden().
#pragma once

#include <QTimer>
#include <QWidget>
#include <vector>

#include "interchange/sprite_names.h"
#include "model/editor_state.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace tessel {

class PreviewWindow : public QWidget {
    Q_OBJECT
public:
    PreviewWindow(const EditorState& state, QWidget* owner);

    void showAndRaise();
    // The settings kept for the game (they replace what the window shows).
    void setSettings(const PreviewSettings& settings);
    PreviewSettings settings() const;
    void setPlaying(bool playing);
    bool playing() const;
    // The ROM was opened or closed: the timer follows.
    void romChanged();
    // Paints the frame shown now, when the window shows.
    void repaintNow();

    bool timerActive() const { return timer_.isActive(); }
    int timerInterval() const { return timer_.interval(); }
    // The sprite shown now, -1 for none; the sentence about a bad list.
    int shownSprite() const;
    QString listMessage() const;
    // The next frame, as a tick of the timer does.
    void advance();

signals:
    void settingsChanged();
    void hidden();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class PreviewCanvas;
    void listEdited();
    void updateTimer();
    void updateTexts();
    // A new frame or list: its texts, then its picture.
    void showFrame();

    const EditorState& state_;
    QLineEdit* list_;
    QSpinBox* fps_;
    QSpinBox* zoom_;
    QPushButton* play_;
    QLabel* message_;
    QLabel* frameLabel_;
    QWidget* canvas_;
    QTimer timer_;
    std::vector<int> frames_;
    std::size_t frame_ = 0;
    bool placed_ = false;
};

} // namespace tessel
