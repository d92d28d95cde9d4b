// The main window's client area below the menu bar: its coordinates are the
// "client pixels" the canvas geometry and the mouse handlers use. It paints
// the canvas and the preview behind the child controls and reports the mouse
// events that reach it (Qt grabs the mouse between a press and its release,
// so moves and the release arrive even outside the area).
#pragma once

#include <QWidget>
#include <functional>

#include "window/canvas_painter.h"

namespace tessel {

class ClientArea : public QWidget {
    Q_OBJECT
public:
    ClientArea(const EditorState& state, QWidget* parent);

    // Composes and paints the canvas and the preview before returning.
    void repaintCanvas();

    const CanvasPainter& canvasPainter() const { return painter_; }

    // A second press counts as a double click only this many pixels or
    // fewer from the first, each way (a 4 x 4 pixel rectangle around it).
    static constexpr int kDoubleClickReach = 2;
    static bool isDoubleClickAt(QPoint second, QPoint first);

    // Called once, after the first paint of the area (start-up timing).
    std::function<void()> onFirstPaint;

signals:
    void leftPressed(QPoint client);
    void rightPressed(QPoint client);
    void leftDoubleClicked(QPoint client);
    void moved(QPoint client);
    void leftReleased();
    void rightReleased();
    void pointerLeft();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool onButton(QPoint client) const;

    const EditorState& state_;
    QPoint lastPress_{-100, -100};
    CanvasPainter painter_;
};

} // namespace tessel
