// The About box's memory gauge: a progress bar that paints only its bar, in
// one chosen colour, one pixel below the top of its inside. The colour runs
// from green to red as free memory gets scarce.
#pragma once

#include <QColor>
#include <QWidget>

namespace tessel {

// The bar colour for `freePercent`: above 50 green, above 20 yellow, above
// 10 orange, else red.
QColor gaugeColourFor(int freePercent);

class ColorProgressCtrl : public QWidget {
    Q_OBJECT
public:
    explicit ColorProgressCtrl(QWidget* parent = nullptr);

    void setRange(int minimum, int maximum);
    void setPos(int position);
    int pos() const { return position_; }
    void setBarColor(const QColor& colour);
    QColor barColor() const { return barColor_; }

    // The bar's width in pixels for the current position: the position
    // times a hundredth of the outer width, in single precision, truncated.
    int barWidth() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor barColor_{0, 255, 0};
    int minimum_ = 0;
    int maximum_ = 100;
    int position_ = 0;
};

} // namespace tessel
