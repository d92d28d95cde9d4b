#include "window/tooltips.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "window/up_down_control.h"
#include "dialogs/raw_colour.h"
#include "model/command_ids.h"

namespace tessel {

void setControlTooltips(const MainControls& c)
{
    using namespace ids;
    const struct {
        int id;
        const char* tip;
    } tips[] = {
        {PreviousSprite, "Previous sprite"},
        {NextSprite, "Next sprite"},
        {SpriteNumberEdit, "Sprite number, 0 to 1143"},
        {BrowserButton, "Browse the sprites, eight at a time"},
        {SaveSpriteButton, "Save this sprite into the ROM (Ctrl+S)"},
        {RefreshSpriteButton, "Read this sprite again from the ROM, dropping its unsaved edits"},
        {PencilButton, "Pencil"},
        {FloodFillButton, "Flood fill"},
        {ColourPickerButton, "Colour picker (or hold Shift)"},
        {SelectButton, "Select, move and stamp a block"},
        {LineButton, "Line"},
        {RectangleButton, "Rectangle"},
        {EllipseButton, "Ellipse"},
        {RoundRectButton, "Rounded rectangle"},
        {HFlipButton, "Flip horizontally: the selection, or the whole sprite (Edit > H-Flip)"},
        {VFlipButton, "Flip vertically: the selection, or the whole sprite (Edit > V-Flip)"},
        {LineSizeEdit, "Line size in pixels, 0 to 32"},
        {LineSizeSpin, "Line size in pixels, 0 to 32"},
        {FillCombo, "How figures are filled: in the drawing colour, not at all, or in the other colour"},
        {CurveRadiusEdit, "Corner radius of rounded rectangles, 0 to 64"},
        {CurveRadiusSpin, "Corner radius of rounded rectangles, 0 to 64"},
        {TransparentCheck, "A moved block lets the sprite show through where it has the background colour"},
        {ForegroundIndicator, "Foreground colour: the left button draws with it"},
        {BackgroundIndicator, "Background colour: the right button draws with it"},
    };
    for (const auto& t : tips)
        if (QWidget* w = c[t.id]) w->setToolTip(QString::fromUtf8(t.tip));
}

QString swatchTooltip(int index, int red, int green, int blue)
{
    if (index == 0)
        return QStringLiteral("Colour 0: transparent, not stored\n"
                              "Left click: foreground colour; right click: background colour");
    return QStringLiteral("Colour %1: red %2, green %3, blue %4 (%5)\n"
                          "Left click: foreground colour; right click: background colour")
        .arg(index)
        .arg(red)
        .arg(green)
        .arg(blue)
        .arg(snesWordText(red, green, blue));
}

} // namespace tessel
