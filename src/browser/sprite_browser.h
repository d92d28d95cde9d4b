// The sprite browser: a caption-less pop-up with a dialog frame that drops
// down under the main window's browser button and shows eight sprites at a time as life-size
// thumbnails, each in its own palette. Clicking a thumbnail chooses that
// sprite and hides the browser.
//
// Flow: placeUnder(button) -> shown: page = currentSprite / 8 -> page arrows,
// the wheel, Up/Down, Left/Right, PageUp/PageDown and Home/End turn the page
// (via the hidden page edit, as its text changes)
// -> a left press over a thumbnail emits spriteChosen(s) and hides. The
// main window connects spriteChosen to selectSprite and hides the browser
// on a left press in its client area and when it moves; the browser hides
// itself otherwise only on Enter or Escape.
#pragma once

#include <QColor>
#include <QWidget>
#include <array>

#include "model/work_surface.h"

class QLabel;
class QLineEdit;

namespace tessel {

class PageArrows;

class SpriteBrowser : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSlots = 8;
    // The raised frame around the client area, as a dialog frame has it.
    // Every position the browser names (cells, hit rectangles, the pointer)
    // is in client pixels, inside the frame.
    static constexpr int kFrame = 3;
    static constexpr int kLastPage = (kSpriteCount + kSlots - 1) / kSlots - 1; // 142

    SpriteBrowser(EditorState& state, QWidget* owner);

    // Moves the browser so that its top-right corner is at the button's
    // bottom-right corner and shows it. While shown it only moves.
    void placeUnder(QWidget* button);

    int page() const { return browserPage_; }
    // Repaints the thumbnails (an edit mark changed).
    void refresh() { update(); }
    // Shows the current sprite's page (another ROM was opened).
    void showCurrentSpritePage();
    // Client-pixel top-left of slot k's 64 x 80 cell.
    static QPoint cellOrigin(int slot);
    // The slot whose hit rectangle holds the client point, or -1.
    static int slotAt(QPoint clientPoint);
    // The bar right of slot k's cell that marks an edited, unsaved sprite.
    static QRect editMarkRect(int slot);
    static constexpr QRgb kEditMarkColour = 0xFFFF8000;

signals:
    void spriteChosen(int sprite);

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void buildControls();
    void showPage(int page);
    void pageEdited(const QString& text);
    void stepPage(int delta);
    void goToPage(int page);
    void updateCursor();

    EditorState& state_;
    int browserPage_ = 0;
    QPoint browserPointer_{-1, -1}; // latest mouse move, client pixels
    std::array<QLabel*, kSlots> labels_{};
    QLineEdit* pageEdit_ = nullptr; // hidden; holds the page number
    PageArrows* arrows_ = nullptr;
    WorkSurface thumbnail_{};
    int wheelDelta_ = 0; // eighths of a degree not yet turned into pages
};

} // namespace tessel
