#include "window/tooltips.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QKeySequence>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>

#include "window/up_down_control.h"
#include "dialogs/raw_colour.h"
#include "model/command_ids.h"
#include "editor/key_routing.h"
#include "selection/tool_table.h"
#include "widgets/color_swatch.h"

namespace tessel {

void setControlTooltips(const MainControls& c)
{
    using namespace ids;
    const struct {
        int id;
        const char* tip;
    } tips[] = {
        {PreviousSprite, QT_TRANSLATE_NOOP("Tooltips", "Previous sprite")},
        {NextSprite, QT_TRANSLATE_NOOP("Tooltips", "Next sprite")},
        {SpriteNumberEdit, QT_TRANSLATE_NOOP("Tooltips", "Sprite number, 0 to 1143")},
        {BrowserButton, QT_TRANSLATE_NOOP("Tooltips", "Browse the sprites, eight at a time")},
        {SaveSpriteButton, QT_TRANSLATE_NOOP("Tooltips", "Save this sprite into the ROM (Ctrl+S)")},
        {RefreshSpriteButton, QT_TRANSLATE_NOOP("Tooltips", "Read this sprite again from the ROM, dropping its unsaved edits")},
        {PencilButton, QT_TRANSLATE_NOOP("Tooltips", "Pencil")},
        {FloodFillButton, QT_TRANSLATE_NOOP("Tooltips", "Flood fill")},
        {ColourPickerButton, QT_TRANSLATE_NOOP("Tooltips", "Color picker (or hold Shift)")},
        {SelectButton, QT_TRANSLATE_NOOP("Tooltips", "Select, move and stamp a block")},
        {LineButton, QT_TRANSLATE_NOOP("Tooltips", "Line")},
        {RectangleButton, QT_TRANSLATE_NOOP("Tooltips", "Rectangle")},
        {EllipseButton, QT_TRANSLATE_NOOP("Tooltips", "Ellipse")},
        {RoundRectButton, QT_TRANSLATE_NOOP("Tooltips", "Rounded rectangle")},
        {HFlipButton, QT_TRANSLATE_NOOP("Tooltips", "Flip horizontally: the selection, or the whole sprite (Edit > H-Flip)")},
        {VFlipButton, QT_TRANSLATE_NOOP("Tooltips", "Flip vertically: the selection, or the whole sprite (Edit > V-Flip)")},
        {LineSizeEdit, QT_TRANSLATE_NOOP("Tooltips", "Line size in pixels, 0 to 32")},
        {LineSizeSpin, QT_TRANSLATE_NOOP("Tooltips", "Line size in pixels, 0 to 32")},
        {FillCombo, QT_TRANSLATE_NOOP("Tooltips", "How figures are filled: in the drawing color, not at all, or in the other color")},
        {CurveRadiusEdit, QT_TRANSLATE_NOOP("Tooltips", "Corner radius of rounded rectangles, 0 to 64")},
        {CurveRadiusSpin, QT_TRANSLATE_NOOP("Tooltips", "Corner radius of rounded rectangles, 0 to 64")},
        {TransparentCheck, QT_TRANSLATE_NOOP("Tooltips", "A moved block lets the sprite show through where it has the background color")},
        {ForegroundIndicator, QT_TRANSLATE_NOOP("Tooltips", "Foreground color: the left button draws with it")},
        {BackgroundIndicator, QT_TRANSLATE_NOOP("Tooltips", "Background color: the right button draws with it")},
    };
    for (const auto& t : tips)
        if (QWidget* w = c[t.id]) w->setToolTip(QCoreApplication::translate("Tooltips", t.tip));
}

namespace {

QString keysOf(KeyAction action)
{
    QStringList keys;
    for (const KeyBinding& b : keyBindings())
        if (b.action == action) keys << QString::fromStdString(b.keys);
    return keys.join(QStringLiteral(" "));
}

QString keysOf(SwatchKeyAction action)
{
    QStringList keys;
    for (const SwatchKey& k : ColorSwatch::keys())
        if (k.action == action) keys << QKeySequence(QKeyCombination(k.modifiers, Qt::Key(k.key))).toString(QKeySequence::NativeText);
    keys.removeDuplicates();
    return keys.join(QStringLiteral(", "));
}

} // namespace

void addKeyTooltips(const MainControls& c)
{
    for (QAbstractButton* b : c.tools->buttons()) {
        ToolId tool;
        if (!toolOfButton(c.tools->id(b), tool) || toolKeyText(tool).empty()) continue;
        b->setToolTip(QCoreApplication::translate("Tooltips", "%1 (%2)")
                          .arg(b->toolTip(), QString::fromStdString(toolKeyText(tool))));
    }
    c.foreground->setToolTip(QCoreApplication::translate("Tooltips", "%1\nKeys %2: previous and next index")
                                 .arg(c.foreground->toolTip(), keysOf(KeyAction::StepForeground)));
    c.background->setToolTip(QCoreApplication::translate("Tooltips", "%1\nKeys %2: previous and next index")
                                 .arg(c.background->toolTip(), keysOf(KeyAction::StepBackground)));
}

QString withSwatchKeys(const QString& tooltip)
{
    return QCoreApplication::translate("Tooltips", "%1\nFrom the keyboard: %2 foreground, %3 background")
        .arg(tooltip, keysOf(SwatchKeyAction::Pick), keysOf(SwatchKeyAction::PickBackground));
}

QString swatchTooltip(int index, int red, int green, int blue)
{
    if (index == 0)
        return QCoreApplication::translate("Tooltips", "Color 0: transparent, not stored\n"
                              "Left click: foreground color; right click: background color");
    return QCoreApplication::translate("Tooltips", "Color %1: red %2, green %3, blue %4 (%5)\n"
                          "Left click: foreground color; right click: background color")
        .arg(index)
        .arg(red)
        .arg(green)
        .arg(blue)
        .arg(snesWordText(red, green, blue));
}

} // namespace tessel
