// The other ROM: a window of its own beside the main window while a second
// ROM is compared with the open one (rom/rom_compare.h). It shows the other
// ROM's version of the current sprite, magnified pixel for pixel and in
// that ROM's own palette, a line saying whether it differs, and the list of
// the sprites and palettes that differ; activating a sprite in the list
// chooses it in the main window (spriteChosen).
//
// Flow: File > Compare With -> compareWith(path) reads it and shows the
// window -> the main window's repaintCanvas() calls editorChanged(), which
// looks again at what an edit can have changed (cheap) and repaints ->
// romReloaded() after another ROM was opened for editing -> Close ROM calls
// closeComparison(). differencesChanged() is emitted whenever what differs
// may have changed: after an open, a close, an edit.
#pragma once

#include <QString>
#include <QWidget>
#include <string>

#include "model/editor_state.h"
#include "rom/rom_compare.h"

class QLabel;
class QListWidget;
class QListWidgetItem;

namespace tessel {

class OtherSpriteView;

class OtherRomWindow : public QWidget {
    Q_OBJECT
public:
    OtherRomWindow(EditorState& state, QWidget* owner);
    ~OtherRomWindow() override;

    // Reads `path` as the other ROM (replacing the one compared before) and
    // shows the window; on failure nothing changes.
    IoResult compareWith(const std::string& path, FileIo& io = systemFileIo());
    void closeComparison();
    bool comparing() const { return comparison_.isOpen(); }
    // Take Sprite from Other ROM for the current sprite.
    IoResult takeSprite();

    // False with no comparison open.
    bool spriteDiffers(int sprite) const { return comparison_.spriteDiffers(sprite); }
    bool paletteDiffers(int palette) const { return comparison_.paletteDiffers(palette); }
    const RomComparison& comparison() const { return comparison_; }

    // The edited ROM's sprites may have changed: the changed ones compared
    // again, the view and the list brought up to date.
    void editorChanged();
    // Another ROM was opened for editing: everything compared again (the
    // comparison ends when that ROM is the other ROM's very file).
    void romReloaded();

    // The other ROM's file name ("other.smc"), empty with none.
    QString otherName() const;
    // "12 sprites and 1 palette differ from other.smc".
    QString summaryText() const;
    // "Sprite 18 differs from other.smc" or "… is the same in other.smc".
    QString spriteLineText() const;
    QListWidget* list() const { return list_; }
    OtherSpriteView* view() const { return view_; }

    // Shows it (left of the main window the first time) and raises it.
    void showAndRaise();

signals:
    void differencesChanged();
    void spriteChosen(int sprite);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void differencesMoved(); // list, title, then the signal
    void fillList();
    void updateShown();      // title, line, view
    void itemActivated(QListWidgetItem* item);

    EditorState& state_;
    RomComparison comparison_;
    QLabel* line_;
    OtherSpriteView* view_;
    QListWidget* list_;
    bool placed_ = false;
};

// The other ROM's version of a sprite, at the largest whole zoom that fits.
class OtherSpriteView : public QWidget {
    Q_OBJECT
public:
    explicit OtherSpriteView(QWidget* parent);
    // What to show: `sprite` of `other`, or nothing for -1.
    void showSprite(const RomDocument* other, int sprite);
    int zoom() const;
    // The magnified sprite's top-left corner in the view.
    QPoint origin() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const RomDocument* other_ = nullptr;
    int sprite_ = -1;
};

} // namespace tessel
