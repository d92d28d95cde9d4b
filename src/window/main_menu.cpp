#include "window/main_menu.h"

#include <QCoreApplication>
#include <QMenuBar>
#include <QToolButton>

#include "model/command_ids.h"

namespace tessel {

namespace {

struct Item {
    const char* text; // nullptr: a separator
    int id;
    bool enabled;
    int bitmap; // 0: no image
};

void addMenu(QMenuBar* bar, const char* title, std::initializer_list<Item> items,
             std::map<int, QAction*>& actions)
{
    QMenu* menu = bar->addMenu(QString::fromUtf8(title));
    for (const Item& item : items) {
        if (!item.text) {
            menu->addSeparator();
            continue;
        }
        QAction* a = menu->addAction(QString::fromUtf8(item.text));
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
    addMenu(bar, "&File",
            {{"&Open ROM...\tCtrl+O", OpenRom, true, OpenRomBitmap},
             {"&Recover Edits…", RecoverEdits, true, 0},
             {"C&lose ROM\tCtrl+L", CloseRom, false, 0},
             separator,
             {"&Save Current Sprite\tCtrl+S", SaveCurrentSprite, false, SaveCurrentBitmap},
             {"Save &All Sprites\tCtrl+A", SaveAllSprites, false, SaveAllBitmap},
             {"Save a &Copy As…", SaveCopyAs, false, 0},
             separator,
             {"&Export Sprite as PNG…", ExportSpritePng, false, 0},
             {"&Import Sprite from PNG…", ImportSpritePng, false, 0},
             {"Export All Sprites as S&heet…", ExportSheet, false, 0},
             {"Import Shee&t…", ImportSheet, false, 0},
             {"Create &Patch…", CreatePatch, false, 0},
             {"Appl&y Patch…", ApplyPatch, false, 0},
             {"Co&mpare With…", CompareWith, false, 0},
             separator,
             {"E&xit\tAlt+F4", Exit, true, 0}},
            actions);
    addMenu(bar, "&Edit",
            {{"&Undo       \tCtrl+Z", Undo, false, UndoBitmap},
             {"&Redo\tCtrl+Y", Redo, false, 0},
             {"Hi&story…", History, false, 0},
             separator,
             {"Cu&t\tCtrl+X", Cut, false, CutBitmap},
             {"&Copy\tCtrl+C", Copy, false, CopyBitmap},
             {"&Paste\tCtrl+V", Paste, false, PasteBitmap},
             {"&Delete\tDel", Delete, false, DeleteBitmap},
             {"Copy as &Image", CopyAsImage, false, 0},
             {"Paste I&mage", PasteImage, false, 0},
             {"Ta&ke Sprite from Other ROM", TakeSpriteFromOther, false, 0},
             separator,
             {"&H-Flip", HFlip, false, 0},
             {"&V-Flip", VFlip, false, 0}},
            actions);
    addMenu(bar, "&View",
            {{"&Large View\tCtrl+E", LargeView, false, 0},
             {"&Pixel Grid", PixelGrid, false, 0},
             {"&Tile Grid", TileGrid, false, 0},
             separator,
             {"Sprite &Overview\tCtrl+F", SpriteOverview, false, 0},
             {"&Go to Sprite\tCtrl+G", GoToSprite, false, 0},
             {"Pre&view…", Preview, false, 0}},
            actions);
    addMenu(bar, "&Tools",
            {{"&Palette Editor...\tShift+P", PaletteEditor, false, PaletteEditorBitmap},
             {"View sprite &info...\tCtrl+I", ViewSpriteInfo, false, 0},
             separator,
             {"&Name Sprite…", NameSprite, false, 0},
             {"Toggle &Star", ToggleStar, false, 0},
             {"E&xport Names…", ExportNames, false, 0},
             {"I&mport Names…", ImportNames, false, 0},
             separator,
             {"&Joined Pencil Strokes", JoinedPencilStrokes, true, 0}},
            actions);
    actions[JoinedPencilStrokes]->setCheckable(true);
    addMenu(bar, "&Help",
            {{"&Keyboard Shortcuts", KeyboardShortcuts, true, 0},
             {"&About...", About, true, AboutBitmap}},
            actions);
    // The button Qt shows when the menus do not fit the bar's width.
    if (auto* more = bar->findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button")))
        more->setAccessibleName(QCoreApplication::translate("MainMenu", "More menus"));
    return bar;
}

} // namespace tessel
