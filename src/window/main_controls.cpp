#include "window/main_controls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "window/up_down_control.h"
#include "model/command_ids.h"
#include "widgets/color_swatch.h"
#include "widgets/dialog_font.h"
#include "widgets/dialog_units.h"

namespace tessel {

namespace {

template <typename W>
W* place(MainControls& c, W* w, int id, int x, int y, int width, int height)
{
    w->setGeometry(dialogRect(x, y, width, height));
    if (id >= 0) {
        w->setObjectName(QString::number(id));
        c.byId[id] = w;
    }
    return w;
}

// A button that shows only its icon; the template's text stays as the
// accessible name, and stands in for the picture if it cannot be loaded.
QPushButton* iconButton(QWidget* client, int iconId, const QString& text)
{
    auto* b = new QPushButton(client);
    const QPixmap icon(QStringLiteral(":/icons/%1.png").arg(iconId));
    b->setAccessibleName(text);
    if (icon.isNull()) {
        b->setText(text);
    } else {
        b->setIcon(QIcon(icon));
        b->setIconSize(icon.size());
    }
    return b;
}

QPushButton* toolButton(MainControls& c, QWidget* client, int id, int iconId, int x, int y)
{
    QPushButton* b = place(c, iconButton(client, iconId, QString()), id, x, y, 16, 14);
    b->setCheckable(true);
    c.tools->addButton(b, id);
    return b;
}

QLabel* label(MainControls& c, QWidget* client, int id, const QString& text, int x, int y, int w,
              int h)
{
    QLabel* l = place(c, new QLabel(text, client), id, x, y, w, h);
    fitLabelText(l); // "Curve radius:" is wider than its 42 units
    return l;
}

ColorSwatch* swatch(MainControls& c, QWidget* client, int id, int x, int y, int w, int h)
{
    return place(c, new ColorSwatch(client), id, x, y, w, h);
}

} // namespace

QWidget* MainControls::operator[](int id) const
{
    auto it = byId.find(id);
    return it == byId.end() ? nullptr : it->second;
}

MainControls createMainControls(QWidget* client)
{
    using namespace ids;
    MainControls c;
    c.tools = new QButtonGroup(client);
    c.tools->setExclusive(true);

    c.previousSprite = place(c, iconButton(client, PreviousIcon, "<"), PreviousSprite, 289, 0, 11, 49);
    c.nextSprite = place(c, iconButton(client, NextIcon, ">"), NextSprite, 343, 0, 11, 49);
    label(c, client, -1, QCoreApplication::translate("MainControls", "Sprite:"), 289, 52, 21, 8);
    c.spriteNumber = place(c, new QLineEdit(client), SpriteNumberEdit, 312, 50, 31, 12);
    c.spriteNumber->setValidator(
        new QRegularExpressionValidator(QRegularExpression("[0-9]*"), c.spriteNumber));
    c.browserButton = place(c, iconButton(client, BrowserIcon, "Button1"), BrowserButton, 343, 50, 11, 12);
    place(c, new QGroupBox(QCoreApplication::translate("MainControls", "Tools:"), client), -1, 289, 96, 43, 85);
    toolButton(c, client, PencilButton, PencilIcon, 294, 106);
    toolButton(c, client, FloodFillButton, FloodFillIcon, 310, 106);
    toolButton(c, client, ColourPickerButton, ColourPickerIcon, 294, 120);
    toolButton(c, client, SelectButton, SelectIcon, 310, 120);
    toolButton(c, client, LineButton, LineIcon, 294, 134);
    toolButton(c, client, RectangleButton, RectangleIcon, 310, 134);
    toolButton(c, client, EllipseButton, EllipseIcon, 294, 148);
    toolButton(c, client, RoundRectButton, RoundRectIcon, 310, 148);
    c.hFlip = place(c, iconButton(client, HFlipIcon, QString()), HFlipButton, 294, 163, 16, 14);
    c.vFlip = place(c, iconButton(client, VFlipIcon, QString()), VFlipButton, 310, 163, 16, 14);
    label(c, client, -1, QString(), 289, 183, 77, 47);
    c.lineSize = place(c, new QLineEdit(client), LineSizeEdit, 334, 186, 16, 12);
    c.lineSizeSpin = place(c, new UpDownControl(c.lineSize, client), LineSizeSpin, 350, 186, 11, 12);
    label(c, client, FillLabel, QCoreApplication::translate("MainControls", "Fill:"), 291, 216, 11, 8);
    // The template's 54 units of height include the dropped list; closed,
    // the box is as tall as an edit.
    c.fillMode = place(c, new QComboBox(client), FillCombo, 306, 214, 56, 12);
    c.fillMode->addItems({QCoreApplication::translate("MainControls", "Opaque"), QCoreApplication::translate("MainControls", "Transparent"), QCoreApplication::translate("MainControls", "Background")});
    label(c, client, LineSizeLabel, QCoreApplication::translate("MainControls", "Line size:"), 291, 188, 30, 8);
    for (int k = 0; k < 8; ++k)
        c.swatches[k] = swatch(c, client, FirstPaletteSwatch + k, 1 + 26 * k, 206, 24, 10);
    c.background = swatch(c, client, BackgroundIndicator, 220, 212, 15, 13);
    for (int k = 0; k < 8; ++k)
        c.swatches[8 + k] = swatch(c, client, FirstPaletteSwatch + 8 + k, 1 + 26 * k, 217, 24, 10);
    c.saveSprite = place(c, new QPushButton(QCoreApplication::translate("MainControls", "Save Sprite"), client), SaveSpriteButton, 289, 67, 65, 12);
    c.refreshSprite =
        place(c, new QPushButton(QCoreApplication::translate("MainControls", "Refresh Sprite"), client), RefreshSpriteButton, 289, 80, 65, 12);
    c.transparent =
        place(c, new QCheckBox(QCoreApplication::translate("MainControls", "Transparent\nSelection"), client), TransparentCheck, 293, 187, 54, 16);
    c.foreground = swatch(c, client, ForegroundIndicator, 212, 206, 15, 13);
    c.curveRadius = place(c, new QLineEdit(client), CurveRadiusEdit, 333, 200, 17, 12);
    c.curveRadiusSpin =
        place(c, new UpDownControl(c.curveRadius, client), CurveRadiusSpin, 350, 200, 11, 12);
    label(c, client, CurveRadiusLabel, QCoreApplication::translate("MainControls", "Curve radius:"), 291, 202, 42, 8);

    for (int id : RomControls) c[id]->setEnabled(false);
    for (int id : {LineSizeEdit, LineSizeSpin, FillLabel, FillCombo, LineSizeLabel, TransparentCheck,
                   CurveRadiusEdit, CurveRadiusSpin, CurveRadiusLabel})
        c[id]->hide();
    return c;
}

} // namespace tessel
