// The Large View: a resizable window of its own that shows the current
// sprite at a whole zoom of 1x to 32x, centred, with a pixel grid (from 6x
// on) and an 8 x 8 tile grid, and the selection outline as the canvas has
// it. Every tool works in it as on the canvas: a pointer event maps to its
// sprite pixel and then to a canvas point (editor/zoomed_view.h), and goes
// to the canvas's own mouse handlers (editor/mouse.h).
//
// Flow: View > Large View shows it -> the main window's repaintCanvas()
// calls repaintNow() after its own paint, so both views show every change
// before the edit returns -> Ctrl+wheel, Ctrl+plus / Ctrl+minus and the
// zoom box set the zoom; Ctrl+0 and "Fit" go back to the largest zoom that
// fits -> hiding it (or the program's end) keeps its place, size, zoom and
// grids in the settings file (widgets/settings_file.h), read back when the
// window is made.
#pragma once

#include <QCursor>
#include <QString>
#include <QWidget>
#include <functional>

#include "views/large_view_canvas.h"

class QLabel;
class QSpinBox;
class QToolButton;

namespace tessel {

class LargeViewWindow : public QWidget {
    Q_OBJECT
public:
    // `cursorOf` turns a cursor resource id into the pointer shape; the
    // settings are read from `settingsFile` (and written back there).
    LargeViewWindow(EditorState& state, std::function<QCursor(int cursorId)> cursorOf,
                    const QString& settingsFile, QWidget* owner);
    ~LargeViewWindow() override;

    // Shows it (beside the main window the first time, unless the settings
    // gave it a place) with the keyboard focus on the view.
    void showAndRaise();
    // Paints the view now when it is shown (the caption and status too).
    void repaintNow();
    // The pointer shape follows the tool and the pointer.
    void refreshCursor();

    // 0: the largest zoom that fits, recomputed as the window or the sprite
    // changes; otherwise that zoom, clamped to 1..32.
    void setZoom(int zoom);
    int chosenZoom() const { return chosenZoom_; }
    int shownZoom() const;
    void zoomBy(int steps);

    bool pixelGrid() const { return grids_.pixel; }
    bool tileGrid() const { return grids_.tile; }
    void setPixelGrid(bool shown);
    void setTileGrid(bool shown);

    LargeViewCanvas* canvas() const { return canvas_; }
    QString statusText() const;

    // Where it was and what it showed, in the settings file.
    void saveSettings() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void loadSettings();
    void layoutChanged(); // zoom box, canvas, status
    void updateStatus();
    void onPress(QPoint view, Qt::MouseButton button, bool doubleClick);
    void onMove(QPoint view);
    void onRelease(Qt::MouseButton button);

    EditorState& state_;
    std::function<QCursor(int)> cursorOf_;
    QString settingsFile_;
    LargeViewCanvas* canvas_;
    QSpinBox* zoomBox_;
    QToolButton* fitButton_;
    QLabel* status_;
    int chosenZoom_ = 0;
    ViewGrids grids_{};
    QPoint pointer_{-1, -1};
    bool pointerInside_ = false;
    Point lastPressPixel_{-1, -1};
    int dragCursor_ = 0;
    bool placed_ = false; // a saved place was read
};

} // namespace tessel
