// The controls of the palette editor (template 176), created on a dialog
// and placed as the template places them. Every control's objectName is its
// control id.
#pragma once

#include <array>

class QComboBox;
class QDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace tessel {

class ColorSwatch;

struct PaletteEditorControls {
    QComboBox* paletteCombo = nullptr;          // 1078, "Palette 0" .. "Palette 31"
    std::array<ColorSwatch*, 16> swatches{};    // 1080 + k
    std::array<QSlider*, 3> sliders{};          // 1075 red, 1076 green, 1077 blue
    std::array<QLineEdit*, 3> fields{};         // 1096 red, 1097 green, 1098 blue
    ColorSwatch* preview = nullptr;             // 1099
    QPushButton* chooseButton = nullptr;        // 1104 ">"
    QPushButton* addButton = nullptr;           // 1100 "<< Add Color"
    QPushButton* applyButton = nullptr;         // 1079 "&Apply Changes"
    QPushButton* closeButton = nullptr;         // 2 "Close"
    QLabel* colourZeroNote = nullptr;           // "Color 0: transparent, not stored"
    QLabel* composedWord = nullptr;             // the composed colour as "$xxxx"
};

// Builds the controls on `dialog` and gives it its caption and size.
PaletteEditorControls buildPaletteEditorControls(QDialog* dialog);

} // namespace tessel
