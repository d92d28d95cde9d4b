// A small control that shows one colour as a filled rectangle with one of
// four borders. A left click is reported as clicked(); when the right-click
// binding is on, releasing the right button over a swatch makes that
// swatch's colour index the background colour and shows its colour on the
// background indicator, wherever the press began.
#pragma once

#include <QWidget>

namespace tessel {

enum class SwatchBorder { Black = 0, Shaded = 1, Sunken = 2, Blue = 3 };

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

signals:
    void clicked();
    // Emitted after a right-click changed the background index.
    void backgroundChosen(int colorIndex);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
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
};

} // namespace tessel
