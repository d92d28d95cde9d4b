#include "window/main_menu.h"

#include <QCoreApplication>
#include <QMenuBar>
#include <QToolButton>

#include "model/command_ids.h"

namespace tessel {

namespace {

struct Item {
    const char* text; // nullptr: a separator; translated as the action is made
    int id;
    bool enabled;
    int bitmap; // 0: no image
};

void addMenu(QMenuBar* bar, const char* title, std::initializer_list<Item> items,
             std::map<int, QAction*>& actions)
{
    QMenu* menu = bar->addMenu(QCoreApplication::translate("MainMenu", title));
    for (const Item& item : items) {
        if (!item.text) {
            menu->addSeparator();
            continue;
        }
        QAction* a = menu->addAction(QCoreApplication::translate("MainMenu", item.text));
        a->setData(item.id);
        a->setEnabled(item.enabled);
        if (item.bitmap) a->setIcon(QIcon(QStringLiteral(":/bitmaps/%1.png").arg(item.bitmap)));
        actions[item.id] = a;
    }
}

} // namespace

QMenuBar* createMainMenu(QWidget* parent, std::map<int, QAction*>& actions)
{
    using namespace ids;
    auto* bar = new QMenuBar(parent);
    const Item separator{nullptr, 0, false, 0};
    addMenu(bar, QT_TRANSLATE_NOOP("MainMenu", "&File"),
            {{QT_TRANSLATE_NOOP("MainMenu", "&Open ROM...\tCtrl+O"), OpenRom, true, OpenRomBitmap},
             {QT_TRANSLATE_NOOP("MainMenu", "&Recover Edits…"), RecoverEdits, true, 0},
             {QT_TRANSLATE_NOOP("MainMenu", "C&lose ROM\tCtrl+L"), CloseRom, false, 0},
             separator,
             {QT_TRANSLATE_NOOP("MainMenu", "&Save Current Sprite\tCtrl+S"), SaveCurrentSprite, false, SaveCurrentBitmap},
             {QT_TRANSLATE_NOOP("MainMenu", "Save &All Sprites\tCtrl+A"), SaveAllSprites, false, SaveAllBitmap},
             {QT_TRANSLATE_NOOP("MainMenu", "Save a &Copy As…"), SaveCopyAs, false, 0},
             separator,
             {QT_TRANSLATE_NOOP("MainMenu", "&Export Sprite as PNG…"), ExportSpritePng, false, 0},
             {QT_TRANSLATE_NOOP("MainMenu", "&Import Sprite from PNG…"), ImportSpritePng, false, 0},
             {QT_TRANSLATE_NOOP("MainMenu", "Export All Sprites as S&heet…"), ExportSheet, false, 0},
             {QT_TRANSLATE_NOOP("MainMenu", "Import Shee&t…"), ImportSheet, false, 0},
             {QT_TRANSLATE_NOOP("MainMenu", "Create &Patch…"), CreatePatch, false, 0},
             {QT_TRANSLATE_NOOP("MainMenu", "Appl&y Patch…"), ApplyPatch, false, 0},
             {QT_TRANSLATE_NOOP("MainMenu", "Co&mpare With…"), CompareWith, false, 0},
             separator,
             {QT_TRANSLATE_NOOP("MainMenu", "E&xit\tAlt+F4"), Exit, true, 0}},
            actions);
    addMenu(bar, QT_TRANSLATE_NOOP("MainMenu", "&Edit"),
            {{QT_TRANSLATE_NOOP("MainMenu", "&Undo       \tCtrl+Z"), Undo, false, UndoBitmap},
             {QT_TRANSLATE_NOOP("MainMenu", "&Redo\tCtrl+Y"), Redo, false, 0},
             {QT_TRANSLATE_NOOP("MainMenu", "Hi&story…"), History, false, 0},
             separator,
             {QT_TRANSLATE_NOOP("MainMenu", "Cu&t\tCtrl+X"), Cut, false, CutBitmap},
             {QT_TRANSLATE_NOOP("MainMenu", "&Copy\tCtrl+C"), Copy, false, CopyBitmap},
             {QT_TRANSLATE_NOOP("MainMenu", "&Paste\tCtrl+V"), Paste, false, PasteBitmap},
             {QT_TRANSLATE_NOOP("MainMenu", "&Delete\tDel"), Delete, false, DeleteBitmap},
             {QT_TRANSLATE_NOOP("MainMenu", "Copy as &Image"), CopyAsImage, false, 0},
             {QT_TRANSLATE_NOOP("MainMenu", "Paste I&mage"), PasteImage, false, 0},
             {QT_TRANSLATE_NOOP("MainMenu", "Ta&ke Sprite from Other ROM"), TakeSpriteFromOther, false, 0},
             separator,
             {QT_TRANSLATE_NOOP("MainMenu", "&H-Flip"), HFlip, false, 0},
             {QT_TRANSLATE_NOOP("MainMenu", "&V-Flip"), VFlip, false, 0}},
            actions);
    addMenu(bar, QT_TRANSLATE_NOOP("MainMenu", "&View"),
            {{QT_TRANSLATE_NOOP("MainMenu", "&Large View\tCtrl+E"), LargeView, false, 0},
             {QT_TRANSLATE_NOOP("MainMenu", "&Pixel Grid"), PixelGrid, false, 0},
             {QT_TRANSLATE_NOOP("MainMenu", "&Tile Grid"), TileGrid, false, 0},
             separator,
             {QT_TRANSLATE_NOOP("MainMenu", "Sprite &Overview\tCtrl+F"), SpriteOverview, false, 0},
             {QT_TRANSLATE_NOOP("MainMenu", "&Go to Sprite\tCtrl+G"), GoToSprite, false, 0},
             {QT_TRANSLATE_NOOP("MainMenu", "Pre&view…"), Preview, false, 0}},
            actions);
    addMenu(bar, QT_TRANSLATE_NOOP("MainMenu", "&Tools"),
            {{QT_TRANSLATE_NOOP("MainMenu", "&Palette Editor...\tShift+P"), PaletteEditor, false, PaletteEditorBitmap},
             {QT_TRANSLATE_NOOP("MainMenu", "View sprite &info...\tCtrl+I"), ViewSpriteInfo, false, 0},
             separator,
             {QT_TRANSLATE_NOOP("MainMenu", "&Name Sprite…"), NameSprite, false, 0},
             {QT_TRANSLATE_NOOP("MainMenu", "Toggle &Star"), ToggleStar, false, 0},
             {QT_TRANSLATE_NOOP("MainMenu", "E&xport Names…"), ExportNames, false, 0},
             {QT_TRANSLATE_NOOP("MainMenu", "I&mport Names…"), ImportNames, false, 0},
             separator,
             {QT_TRANSLATE_NOOP("MainMenu", "&Joined Pencil Strokes"), JoinedPencilStrokes, true, 0}},
            actions);
    actions[JoinedPencilStrokes]->setCheckable(true);
    addMenu(bar, QT_TRANSLATE_NOOP("MainMenu", "&Help"),
            {{QT_TRANSLATE_NOOP("MainMenu", "&Keyboard Shortcuts"), KeyboardShortcuts, true, 0},
             {QT_TRANSLATE_NOOP("MainMenu", "&About..."), About, true, AboutBitmap}},
            actions);
    // The button Qt shows when the menus do not fit the bar's width.
    if (auto* more = bar->findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button")))
        more->setAccessibleName(QCoreApplication::translate("MainMenu", "More menus"));
    return bar;
}

} // namespace tessel
