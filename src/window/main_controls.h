// The controls of the main window, created at their places in the client
// area in the order of the window's layout (later controls lie on top of
// earlier ones: the foreground indicator 1002 covers a corner of the
// background indicator 1003). Each control's objectName is its id.
#pragma once

#include <array>
#include <map>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace tessel {

class ColorSwatch;
class UpDownControl;

struct MainControls {
    std::map<int, QWidget*> byId;

    QPushButton* previousSprite = nullptr; // 1025
    QPushButton* nextSprite = nullptr;     // 1026
    QLineEdit* spriteNumber = nullptr;     // 1030
    QPushButton* browserButton = nullptr;  // 1061
    QButtonGroup* tools = nullptr;         // 1033.., button id = control id
    QPushButton* hFlip = nullptr;          // 1065
    QPushButton* vFlip = nullptr;          // 1066
    QLineEdit* lineSize = nullptr;         // 1039
    UpDownControl* lineSizeSpin = nullptr; // 1040
    QComboBox* fillMode = nullptr;         // 1041
    QPushButton* saveSprite = nullptr;     // 1027
    QPushButton* refreshSprite = nullptr;  // 1028
    QCheckBox* transparent = nullptr;      // 1067
    QLineEdit* curveRadius = nullptr;      // 1044
    UpDownControl* curveRadiusSpin = nullptr; // 1045
    ColorSwatch* foreground = nullptr;     // 1002
    ColorSwatch* background = nullptr;     // 1003
    std::array<ColorSwatch*, 16> swatches{}; // by colour index: 1004 + i

    QWidget* operator[](int id) const;
};

// Creates every control as a child of `client` with its text, icon and
// initial enabled and visible state.
MainControls createMainControls(QWidget* client);

} // namespace tessel
