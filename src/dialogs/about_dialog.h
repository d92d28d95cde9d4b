// The About box: the program's name and version, two notes, and how much
// physical memory is free, as a number and as a coloured gauge. The figure
// is taken once, by whoever opens the box.
#pragma once

#include <QDialog>

class QLabel;

namespace tessel {

class ColorProgressCtrl;

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(int freePercent, QWidget* parent = nullptr);

    ColorProgressCtrl* gauge() const { return gauge_; }
    QLabel* freeText() const { return freeText_; }

private:
    ColorProgressCtrl* gauge_;
    QLabel* freeText_;
};

// Opens the box modally with the system's free memory figure.
void showAboutBox(QWidget* parent);

} // namespace tessel
