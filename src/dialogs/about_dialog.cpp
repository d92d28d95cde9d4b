#include "dialogs/about_dialog.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "dialogs/color_progress_ctrl.h"
#include "dialogs/memory_status.h"
#include "widgets/product.h"
#include "widgets/dialog_font.h"
#include "widgets/dialog_units.h"

namespace tessel {

namespace {

template <typename W>
W* place(W* w, int x, int y, int width, int height)
{
    w->setGeometry(dialogRect(x, y, width, height));
    return w;
}

QLabel* text(QWidget* parent, const QString& s, int x, int y, int w, int h)
{
    auto* label = place(new QLabel(s, parent), x, y, w, h);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace

AboutDialog::AboutDialog(int freePercent, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("About %1 v%2 for %3")
                       .arg(kProductName, kProductVersion, kPlatformName));
    setFont(dialogFont(font()));
    setFixedSize(dialogUnitsToPixelsX(257), dialogUnitsToPixelsY(138));

    text(this, tr("%1 version %2").arg(kProductName, kProductVersion), 49, 12, 119, 8);
    text(this,
         tr("This version fixes the drawing tools drawing only in color 0 "
                        "(black) on some systems."),
         49, 28, 187, 34);
    auto* ok = place(new QPushButton(tr("OK"), this), 159, 120, 93, 14);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    text(this,
         tr("Ideas and reports for further versions are welcome on the "
                        "project's issue tracker.\n\u2014 The %1 developers")
             .arg(kProductName),
         49, 68, 187, 34);

    auto* banner = place(new QLabel(this), 0, 0, 20, 142);
    banner->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    banner->setPixmap(QPixmap(QStringLiteral(":/bitmaps/174.png")));
    banner->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* line = place(new QFrame(this), 8, 25, 173, 1);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    auto* icon = place(new QLabel(this), 23, 4, 20, 20);
    icon->setPixmap(QPixmap(QStringLiteral(":/icons/128.png")));

    // The group box first, so that the figure and the gauge lie on top of it.
    place(new QGroupBox(tr("Physical memory:"), this), 27, 107, 79, 28);
    freeText_ = place(new QLabel(this), 33, 116, 13, 8);
    freeText_->setObjectName(QStringLiteral("1074"));
    freeText_->setAlignment(Qt::AlignRight | Qt::AlignTop);
    // One line: wrapped, "free" would fall below the label's height.
    QLabel* percentFree = text(this, tr("% free"), 47, 116, 20, 8);
    percentFree->setWordWrap(false);
    fitLabelText(percentFree);
    gauge_ = place(new ColorProgressCtrl(this), 35, 125, 63, 6);
    gauge_->setObjectName(QStringLiteral("1101"));

    gauge_->setRange(0, 100);
    gauge_->setBarColor(gaugeColourFor(freePercent));
    freeText_->setText(QString::number(freePercent));
    gauge_->setPos(freePercent);
}

void showAboutBox(QWidget* parent)
{
    AboutDialog box(freeMemoryPercent(), parent);
    box.exec();
}

} // namespace tessel
