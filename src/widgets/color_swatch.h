// A small control that shows one colour as a filled rectangle with one of
// four borders. A left click is reported as clicked(); when the right-click
// binding is on, releasing the right button over a swatch makes that
// swatch's colour index the background colour and shows its colour on the
// background indicator, wherever the press began.
//
// Keyboard: the swatches of one parent that are keyboard-pickable form one
// Tab stop (the one focused last); the arrow keys move the focus to the
// neighbouring swatch by place, Space or Enter is a left click and
// Shift+Space a right click. A swatch focused from the keyboard shows a
// focus mark.
#pragma once

#include <QWidget>
#include <vector>

namespace tessel {

enum class SwatchBorder { Black = 0, Shaded = 1, Sunken = 2, Blue = 3 };

// What a key does on a keyboard-pickable swatch.
enum class SwatchKeyAction { Move, Pick, PickBackground };

struct SwatchKey {
    int key;                         // Qt::Key
    Qt::KeyboardModifiers modifiers; // exactly these
    SwatchKeyAction action;
};

class ColorSwatch : public QWidget {
    Q_OBJECT
public:
    explicit ColorSwatch(QWidget* parent = nullptr);

    // Stores the look and schedules a repaint with the background erased.
    // A border value outside 0..3 draws no frame.
    void setColor(int width, int height, int red, int green, int blue, int border);

    // The right-click binding. backIndicator and frontIndicator must be set
    // before rightClickEnabled.
    void bindRightClick(int colorIndex, std::int32_t* indexTarget, ColorSwatch* backIndicator,
                        QWidget* frontIndicator);

    int swatchWidth() const { return width_; }
    int swatchHeight() const { return height_; }
    QColor color() const { return QColor(red_ & 0xFF, green_ & 0xFF, blue_ & 0xFF); }
    int border() const { return border_; }
    int colorIndex() const { return colorIndex_; }

    // Lets the keyboard focus and pick this swatch.
    void setKeyboardPickable(bool pickable);
    bool keyboardPickable() const { return pickable_; }
    // The keys a pickable swatch takes, for the list of the program's keys.
    static const std::vector<SwatchKey>& keys();

signals:
    void clicked();
    // Emitted after a right-click changed the background index.
    void backgroundChosen(int colorIndex);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The pickable sibling swatch nearest in the arrow's direction, or null.
    ColorSwatch* neighbour(int arrowKey) const;
    void paintFocusMark(QPainter& painter, const QRect& r) const;

    // The right-click binding's action, when it is on.
    void chooseAsBackground();

    int width_ = 36;
    int height_ = 15;
    int red_ = 64;
    int green_ = 64;
    int blue_ = 64;
    int border_ = static_cast<int>(SwatchBorder::Sunken);
    int colorIndex_ = 0;
    std::int32_t* indexTarget_ = nullptr;
    bool rightClickEnabled_ = false;
    ColorSwatch* backIndicator_ = nullptr;
    QWidget* frontIndicator_ = nullptr;
    bool leftPressed_ = false;
    bool pickable_ = false;
    bool focusShown_ = false; // focused from the keyboard
};

} // namespace tessel
