#include "dialogs/palette_editor_controls.h"

#include <QCoreApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <algorithm>
#include <QDialog>
#include <QGroupBox>
#include <QValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "dialogs/raw_colour.h"
#include "widgets/accessible_text.h"
#include "widgets/color_swatch.h"
#include "widgets/dialog_font.h"
#include "widgets/dialog_units.h"

namespace tessel {

namespace {

template <typename W>
W* place(W* widget, int id, int x, int y, int w, int h)
{
    if (id >= 0) widget->setObjectName(QString::number(id));
    widget->setGeometry(dialogRect(x, y, w, h));
    return widget;
}

// A raw component field takes the numbers 0..31 and nothing else; an empty
// field is allowed while typing (it reads as 0).
class RawComponentValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        if (input.isEmpty()) return Intermediate;
        bool isNumber = false;
        const int value = input.toInt(&isNumber);
        const bool digitsOnly = std::all_of(input.begin(), input.end(), [](QChar c) { return c.isDigit(); });
        return isNumber && digitsOnly && value <= kRawMax ? Acceptable : Invalid;
    }
};

QPushButton* button(QDialog* dialog, const char* text, int id, int x, int y, int w, int h)
{
    return place(new QPushButton(QCoreApplication::translate("PaletteEditorDialog", text), dialog), id, x, y, w, h);
}

// For screen readers; the swatches and the preview are named by the colour
// they show as the dialog paints them.
void nameControls(const PaletteEditorControls& c)
{
    auto text = [](const char* s) { return QCoreApplication::translate("PaletteEditor", s); };
    c.paletteCombo->setAccessibleName(text("Palette"));
    const char* components[3] = {QT_TRANSLATE_NOOP("PaletteEditor", "Red"),
                                 QT_TRANSLATE_NOOP("PaletteEditor", "Green"),
                                 QT_TRANSLATE_NOOP("PaletteEditor", "Blue")};
    for (int i = 0; i < 3; ++i) {
        c.sliders[i]->setAccessibleName(text(components[i]));
        c.sliders[i]->setAccessibleDescription(text("0 to 31"));
        c.fields[i]->setAccessibleName(text("%1 value").arg(text(components[i])));
        c.fields[i]->setAccessibleDescription(text("0 to 31"));
    }
    c.chooseButton->setAccessibleName(text("Choose color"));
    setAccessibleRole(c.preview, QAccessible::Graphic);
    c.preview->setAccessibleName(text("Composed color"));
    for (ColorSwatch* s : c.swatches) {
        setAccessibleRole(s, QAccessible::Button);
        s->setAccessibleDescription(text("Space or Enter: edit this color"));
        s->setKeyboardPickable(true);
    }
}

} // namespace

PaletteEditorControls buildPaletteEditorControls(QDialog* dialog)
{
    PaletteEditorControls c;
    dialog->setObjectName(QStringLiteral("176"));
    dialog->setWindowTitle(QCoreApplication::translate("PaletteEditorDialog", "Palette Editor"));
    dialog->setFixedSize(dialogUnitsToPixelsX(234), dialogUnitsToPixelsY(127));

    // The group boxes first, so that they lie under the controls they frame.
    place(new QGroupBox(QCoreApplication::translate("PaletteEditorDialog", "Colors:"), dialog), -1, 8, 24, 84, 80);
    place(new QGroupBox(dialog), -1, 100, 24, 124, 80);

    c.paletteCombo = place(new QComboBox(dialog), 1078, 8, 7, 84, 13);
    for (int p = 0; p < 32; ++p) c.paletteCombo->addItem(QCoreApplication::translate("PaletteEditorDialog", "Palette %1").arg(p));
    c.paletteCombo->setMaxVisibleItems(8);

    for (int k = 0; k < 16; ++k)
        c.swatches[k] = place(new ColorSwatch(dialog), 1080 + k, 14 + 18 * (k % 4), 38 + 13 * (k / 4), 16, 11);

    const char* names[3] = {QT_TRANSLATE_NOOP("PaletteEditorDialog", "R"), QT_TRANSLATE_NOOP("PaletteEditorDialog", "G"), QT_TRANSLATE_NOOP("PaletteEditorDialog", "B")};
    const int sliderY[3] = {37, 52, 67};
    const int labelY[3] = {39, 54, 68};
    for (int i = 0; i < 3; ++i) {
        place(new QLabel(QCoreApplication::translate("PaletteEditorDialog", names[i]), dialog), -1, 108, labelY[i], 6, 8);
        auto* slider = place(new QSlider(Qt::Horizontal, dialog), 1075 + i, 115, sliderY[i], 64, 12);
        slider->setRange(0, kRawMax);
        slider->setTickPosition(QSlider::NoTicks);
        slider->setPageStep(4);
        c.sliders[i] = slider;
        auto* field = place(new QLineEdit(dialog), 1096 + i, 187, sliderY[i], 30, 12);
        // Only 0..31 can be typed; what is read is clamped as well.
        field->setMaxLength(2);
        field->setValidator(new RawComponentValidator(field));
        c.fields[i] = field;
    }

    c.preview = place(new ColorSwatch(dialog), 1099, 187, 84, 19, 13);
    c.chooseButton = button(dialog, QT_TRANSLATE_NOOP("PaletteEditorDialog", ">"), 1104, 207, 84, 10, 13);
    c.addButton = button(dialog, QT_TRANSLATE_NOOP("PaletteEditorDialog", "<< Add Color"), 1100, 109, 84, 70, 11);
    c.applyButton = button(dialog, QT_TRANSLATE_NOOP("PaletteEditorDialog", "&Apply Changes"), 1079, 8, 110, 84, 14);
    c.closeButton = button(dialog, QT_TRANSLATE_NOOP("PaletteEditorDialog", "Close"), 2, 170, 110, 54, 14);
    c.chooseButton->setToolTip(QCoreApplication::translate("PaletteEditorDialog", "Choose the color in the system's color chooser"));
    c.addButton->setToolTip(QCoreApplication::translate("PaletteEditorDialog", "Put the composed color into the palette (not yet the ROM)"));
    c.applyButton->setToolTip(QCoreApplication::translate("PaletteEditorDialog", "Write this palette into the ROM now (Alt+A)"));
    c.closeButton->setToolTip(QCoreApplication::translate("PaletteEditorDialog", "Close (Escape); asks first if added colors are not applied"));
    c.closeButton->setDefault(true);
    // Enter presses the push button that has the focus, as in the
    // platform's dialogs; elsewhere it presses Close.
    for (QPushButton* b : {c.chooseButton, c.addButton, c.applyButton}) b->setAutoDefault(true);

    // Beside the template's controls: what colour 0 is, under the swatches,
    // and the composed colour as the game stores it, above its number fields.
    c.colourZeroNote = place(new QLabel(QCoreApplication::translate("PaletteEditorDialog", "Color 0: transparent, not stored"), dialog),
                             -1, 12, 91, 78, 9);
    c.colourZeroNote->setObjectName(QStringLiteral("colourZeroNote"));
    fitLabelText(c.colourZeroNote);
    c.composedWord = place(new QLabel(dialog), -1, 187, 27, 30, 9);
    c.composedWord->setObjectName(QStringLiteral("composedWord"));
    nameControls(c);
    return c;
}

} // namespace tessel
