// The arrows beside a number edit: each step reads the edit's number, moves
// it by one within [minimum, maximum], wrapping at the ends, and writes it
// back. The Up and Down keys in the edit step too. The edit itself accepts
// any text; the option is read from the edit, never from this control.
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace tessel {

class UpDownControl : public QWidget {
    Q_OBJECT
public:
    UpDownControl(QLineEdit* buddy, QWidget* parent);

    void setRange(int minimum, int maximum);
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }

    // Names the two arrows for screen readers after the option they step.
    void setAccessibleNames(const QString& option);

    void stepUp() { step(+1); }
    void stepDown() { step(-1); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void step(int delta);

    QLineEdit* buddy_;
    QToolButton* up_;
    QToolButton* down_;
    int minimum_ = 0;
    int maximum_ = 100;
};

} // namespace tessel
