#include "window/accessible_names.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>

#include "window/up_down_control.h"
#include "model/command_ids.h"
#include "selection/tool_table.h"
#include "widgets/accessible_text.h"
#include "widgets/color_swatch.h"

namespace tessel {

namespace {
QString text(const char* s) { return QCoreApplication::translate("MainControls", s); }
} // namespace

void nameMainControls(const MainControls& c)
{
    using namespace ids;
    for (QAbstractButton* b : c.tools->buttons()) {
        ToolId tool;
        if (toolOfButton(c.tools->id(b), tool)) b->setAccessibleName(toolName(tool));
    }
    const struct {
        int id;
        const char* name;
        const char* description;
    } names[] = {
        {PreviousSprite, QT_TRANSLATE_NOOP("MainControls", "Previous sprite"), nullptr},
        {NextSprite, QT_TRANSLATE_NOOP("MainControls", "Next sprite"), nullptr},
        {SpriteNumberEdit, QT_TRANSLATE_NOOP("MainControls", "Sprite number"),
         QT_TRANSLATE_NOOP("MainControls", "0 to 1143")},
        {BrowserButton, QT_TRANSLATE_NOOP("MainControls", "Browse sprites"), nullptr},
        {HFlipButton, QT_TRANSLATE_NOOP("MainControls", "Flip horizontally"), nullptr},
        {VFlipButton, QT_TRANSLATE_NOOP("MainControls", "Flip vertically"), nullptr},
        {LineSizeEdit, QT_TRANSLATE_NOOP("MainControls", "Line size"),
         QT_TRANSLATE_NOOP("MainControls", "Pixels, 0 to 32")},
        {FillCombo, QT_TRANSLATE_NOOP("MainControls", "Fill"), nullptr},
        {CurveRadiusEdit, QT_TRANSLATE_NOOP("MainControls", "Curve radius"),
         QT_TRANSLATE_NOOP("MainControls", "Pixels, 0 to 64")},
        {TransparentCheck, QT_TRANSLATE_NOOP("MainControls", "Transparent selection"), nullptr},
        {ForegroundIndicator, QT_TRANSLATE_NOOP("MainControls", "Foreground color"), nullptr},
        {BackgroundIndicator, QT_TRANSLATE_NOOP("MainControls", "Background color"), nullptr},
    };
    for (const auto& n : names) {
        QWidget* w = c[n.id];
        if (!w) continue;
        w->setAccessibleName(text(n.name));
        if (n.description) w->setAccessibleDescription(text(n.description));
    }
    c.lineSizeSpin->setAccessibleNames(text("Line size"));
    c.curveRadiusSpin->setAccessibleNames(text("Curve radius"));
    for (ColorSwatch* indicator : {c.foreground, c.background}) setAccessibleRole(indicator, QAccessible::Graphic);
    for (ColorSwatch* s : c.swatches) {
        setAccessibleRole(s, QAccessible::Button);
        s->setAccessibleDescription(text("Space or Enter: foreground color; Shift+Space: background color"));
        s->setKeyboardPickable(true);
    }
    nameSwatches(c, nullptr);
}

void nameSwatches(const MainControls& c, const RawPalette* palette)
{
    for (int i = 0; i < 16; ++i)
        c.swatches[i]->setAccessibleName(
            palette ? colourAccessibleName(i, palette->red[i], palette->green[i], palette->blue[i])
                    : QCoreApplication::translate("MainControls", "Color %1").arg(i));
}

} // namespace tessel
