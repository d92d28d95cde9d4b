// The main window as it starts: menu, controls, their places and states.
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include "dialogs/about_dialog.h"
#include "window/up_down_control.h"
#include "dialogs/palette_editor_dialog.h"
#include "window/window_test_fixture.h"
#include "model/command_ids.h"
#include "widgets/color_swatch.h"

namespace tessel::testing {
namespace {

using MainWindowStart = WindowTest;

struct MenuRow {
    const char* menu;
    const char* text;
    int id;
    bool enabled;
};

// The menu as the program's resources define it, written out by hand.
const MenuRow kMenu[] = {
    {"&File", "&Open ROM...\tCtrl+O", 57601, true},
    {"&File", "&Recover Edits…", 32850, true},
    {"&File", "Open &Recent", 0, false}, // a submenu, grayed while it is empty
    {"&File", "C&lose ROM\tCtrl+L", 57602, false},
    {"&File", "&Save Current Sprite\tCtrl+S", 57603, false},
    {"&File", "Save &All Sprites\tCtrl+A", 32774, false},
    {"&File", "Save a &Copy As…", 32860, false},
    {"&File", "&Export Sprite as PNG…", 32800, false},
    {"&File", "&Import Sprite from PNG…", 32801, false},
    {"&File", "Export All Sprites as S&heet…", 32802, false},
    {"&File", "Import Shee&t…", 32803, false},
    {"&File", "Create &Patch…", 32804, false},
    {"&File", "Appl&y Patch…", 32820, false},
    {"&File", "Co&mpare With…", 32890, false},
    {"&File", "E&xit\tAlt+F4", 32775, true},
    {"&Edit", "&Undo       \tCtrl+Z", 57643, false},
    {"&Edit", "&Redo\tCtrl+Y", 32840, false},
    {"&Edit", "Hi&story…", 32841, false},
    {"&Edit", "Cu&t\tCtrl+X", 57635, false},
    {"&Edit", "&Copy\tCtrl+C", 57634, false},
    {"&Edit", "&Paste\tCtrl+V", 57637, false},
    {"&Edit", "&Delete\tDel", 32783, false},
    {"&Edit", "Copy as &Image", 32805, false},
    {"&Edit", "Paste I&mage", 32806, false},
    {"&Edit", "Ta&ke Sprite from Other ROM", 32891, false},
    {"&Edit", "&H-Flip", 32788, false},
    {"&Edit", "&V-Flip", 32789, false},
    {"&View", "&Large View\tCtrl+E", 32830, false},
    {"&View", "&Pixel Grid", 32831, false},
    {"&View", "&Tile Grid", 32832, false},
    {"&View", "Sprite &Overview\tCtrl+F", 32870, false},
    {"&View", "&Go to Sprite\tCtrl+G", 32871, false},
    {"&View", "Pre&view…", 32884, false},
    {"&Tools", "&Palette Editor...\tShift+P", 32790, false},
    {"&Tools", "View sprite &info...\tCtrl+I", 32791, false},
    {"&Tools", "&Name Sprite…", 32880, false},
    {"&Tools", "Toggle &Star", 32881, false},
    {"&Tools", "E&xport Names…", 32882, false},
    {"&Tools", "I&mport Names…", 32883, false},
    {"&Tools", "&Joined Pencil Strokes", 32842, true},
    {"&Help", "&Keyboard Shortcuts", 32900, true},
    {"&Help", "&About...", 32785, true},
};

TEST_F(MainWindowStart, MenuHasEveryItemWithItsTextIdAndStateAndNoKeySequence)
{
    QStringList seen;
    QList<QAction*> items;
    for (QAction* top : window->mainMenu()->actions()) {
        for (QAction* a : top->menu()->actions()) {
            if (a->isSeparator()) continue;
            seen << top->text() + "|" + a->text();
            items << a;
        }
    }
    ASSERT_EQ(items.size(), int(std::size(kMenu)));
    for (int i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(kMenu[i].text);
        EXPECT_EQ(seen[i], QString(kMenu[i].menu) + "|" + kMenu[i].text);
        EXPECT_EQ(items[i]->data().toInt(), kMenu[i].id);
        EXPECT_EQ(items[i]->isEnabled(), kMenu[i].enabled);
        EXPECT_TRUE(items[i]->shortcut().isEmpty());
    }
    // Separators after Close ROM, after Save All, after Create Patch, after
    // Undo and after Paste Image.
    QStringList file;
    for (QAction* a : window->mainMenu()->actions()[0]->menu()->actions())
        file << (a->isSeparator() ? "-" : a->text().left(2));
    EXPECT_EQ(file.join(""), "&O&ROpC&-&SSaSa-&E&IExImCrApCo-E&");
}

TEST_F(MainWindowStart, MenuItemsWithPicturesCarryThem)
{
    for (int id : {57601, 57603, 32774, 57643, 57635, 57634, 57637, 32783, 32790, 32785})
        EXPECT_FALSE(window->action(id)->icon().isNull()) << id;
    for (int id : {57602, 32775, 32788, 32789, 32791})
        EXPECT_TRUE(window->action(id)->icon().isNull()) << id;
}

TEST_F(MainWindowStart, ControlsSitAtTheirDialogUnitPlaces)
{
    // Edges worked out by hand: x * 1.5 and y * 1.625, halves rounded up.
    EXPECT_EQ(window->clientArea()->size(), QSize(554, 375));
    EXPECT_EQ(window->control(1025)->geometry(), QRect(434, 0, 16, 80));
    EXPECT_EQ(window->control(1026)->geometry(), QRect(515, 0, 16, 80));
    EXPECT_EQ(window->control(1030)->geometry(), QRect(468, 81, 47, 20));
    EXPECT_EQ(window->control(1004)->geometry(), QRect(2, 335, 36, 16));
    EXPECT_EQ(window->control(1011)->geometry(), QRect(275, 335, 36, 16));
    EXPECT_EQ(window->control(1012)->geometry(), QRect(2, 353, 36, 16));
    EXPECT_EQ(window->control(1002)->geometry(), QRect(318, 335, 23, 21));
    EXPECT_EQ(window->control(1003)->geometry(), QRect(330, 345, 23, 21));
    // The preview (client 450..514) lies between the two arrow buttons and
    // the swatch rows start below the canvas (client row 330).
    EXPECT_LE(window->control(1025)->geometry().right(), 449);
    EXPECT_GE(window->control(1026)->geometry().left(), 514);
    EXPECT_GE(window->control(1004)->geometry().top(), 330);
    // The window is exactly its menu bar and client area, and fixed.
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(window->clientArea()->y(), window->mainMenu()->height());
}

TEST_F(MainWindowStart, ForegroundIndicatorLiesOverTheBackgroundIndicator)
{
    const QWidget* client = window->clientArea();
    const QWidget* front = window->control(1002);
    const QWidget* back = window->control(1003);
    EXPECT_GT(client->children().indexOf(const_cast<QWidget*>(front)),
              client->children().indexOf(const_cast<QWidget*>(back)));
    EXPECT_EQ(client->childAt(QPoint(335, 350)), front); // in both rectangles
}

TEST_F(MainWindowStart, ControlsStartAsTheLayoutSays)
{
    for (int id : {1025, 1026, 1027, 1028, 1030, 1061, 1065, 1066})
        EXPECT_FALSE(window->control(id)->isEnabled()) << id;
    for (int id : {1039, 1040, 1041, 1044, 1045, 1067, 1068, 1069, 1070})
        EXPECT_FALSE(window->control(id)->isVisible()) << id;
    EXPECT_EQ(control<QLineEdit>(1039)->text(), "1");
    EXPECT_EQ(control<QLineEdit>(1044)->text(), "5");
    EXPECT_EQ(control<QLineEdit>(1030)->text(), "");
    auto* fill = control<QComboBox>(1041);
    ASSERT_EQ(fill->count(), 3);
    EXPECT_EQ(fill->currentText(), "Opaque");
    EXPECT_EQ(fill->itemText(1), "Transparent");
    EXPECT_EQ(fill->itemText(2), "Background");
    EXPECT_EQ(control<QPushButton>(1027)->text(), "Save Sprite");
    EXPECT_EQ(control<QPushButton>(1028)->text(), "Refresh Sprite");
    EXPECT_EQ(control<QCheckBox>(1067)->text(), "Transparent\nSelection");
    EXPECT_FALSE(control<QCheckBox>(1067)->isChecked());
    EXPECT_EQ(control<UpDownControl>(1040)->maximum(), 32);
    EXPECT_EQ(control<UpDownControl>(1045)->maximum(), 64);

    int checked = 0;
    for (int id : {1033, 1034, 1035, 1036, 1037, 1038, 1042, 1043}) {
        auto* b = control<QPushButton>(id);
        ASSERT_NE(b, nullptr) << id;
        EXPECT_TRUE(b->isCheckable());
        checked += b->isChecked();
    }
    EXPECT_EQ(checked, 1);
    EXPECT_TRUE(control<QPushButton>(1033)->isChecked());
}

TEST_F(MainWindowStart, IndicatorsAndSwatchesStartMidGrey)
{
    for (int id : {1002, 1003}) {
        auto* s = control<ColorSwatch>(id);
        EXPECT_EQ(s->color(), QColor(64, 64, 64));
        EXPECT_EQ(s->border(), int(SwatchBorder::Black));
        EXPECT_EQ(QSize(s->swatchWidth(), s->swatchHeight()), QSize(25, 25));
    }
    for (int id = 1004; id <= 1019; ++id) {
        auto* s = control<ColorSwatch>(id);
        EXPECT_EQ(s->color(), QColor(64, 64, 64));
        EXPECT_EQ(s->border(), int(SwatchBorder::Sunken));
    }
    // Sample the painted indicator: black frame, grey inside.
    const QImage img = control<ColorSwatch>(1003)->grab().toImage();
    EXPECT_EQ(img.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(5, 5), qRgb(64, 64, 64));
}

TEST_F(MainWindowStart, EscapeAndEnterLeaveTheWindowOpen)
{
    window->activateWindow();
    for (int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(window.get(), Qt::Key(key));
        QTest::keyClick(window->control(1039), Qt::Key(key));
        EXPECT_TRUE(window->isVisible()) << key;
    }
    EXPECT_EQ(window->result(), 0);
}

TEST_F(MainWindowStart, ExitEndsTheWindowWhenNothingIsOpen)
{
    window->runCommand(ids::Exit);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(prompts.saveQuestions, 0);
}

TEST_F(MainWindowStart, GrayedCommandsAndDisabledButtonsDoNothing)
{
    prompts.nextPath = makeRomFile("a.smc");
    window->runCommand(ids::CloseRom);
    window->runCommand(ids::SaveSpriteButton);
    window->runCommand(ids::NextSprite);
    EXPECT_EQ(state->currentSprite, 0);
    EXPECT_EQ(prompts.fileDialogs, 0);
    EXPECT_TRUE(prompts.errors.isEmpty());
}

TEST_F(MainWindowStart, SpinArrowsStepTheEditAndWrap)
{
    auto* edit = control<QLineEdit>(1039);
    auto* spin = control<UpDownControl>(1040);
    edit->setText("32");
    spin->stepUp();
    EXPECT_EQ(edit->text(), "0");
    spin->stepDown();
    EXPECT_EQ(edit->text(), "32");
    edit->setText("50"); // typed past the range: used as typed until stepped
    EXPECT_EQ(window->lineSize(), 50);
    edit->setText("abc");
    EXPECT_EQ(window->lineSize(), 0);
    control<QLineEdit>(1044)->setText("-7");
    EXPECT_EQ(window->curveRadius(), -7);
    control<UpDownControl>(1045)->stepDown();
    EXPECT_EQ(control<QLineEdit>(1044)->text(), "64");
}

TEST_F(MainWindowStart, EveryLabelShowsItsWholeText)
{
    AboutDialog about(42);
    PaletteEditorDialog paletteEditor(*state, prompts);
    for (QWidget* top : {static_cast<QWidget*>(window.get()), static_cast<QWidget*>(&about),
                         static_cast<QWidget*>(&paletteEditor)}) {
        for (QLabel* l : top->findChildren<QLabel*>()) {
            if (l->text().isEmpty()) continue;
            const QRect room = l->contentsRect();
            if (l->wordWrap())
                EXPECT_LE(l->heightForWidth(room.width()), room.height()) << l->text().toStdString();
            else
                for (const QString& line : l->text().split('\n'))
                    EXPECT_LE(QFontMetrics(l->font()).horizontalAdvance(line), room.width())
                        << line.toStdString();
        }
    }
}

} // namespace
} // namespace tessel::testing
