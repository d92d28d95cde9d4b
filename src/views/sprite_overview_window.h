// The Sprite Overview: a resizable window of its own with every sprite that
// passes a filter as a thumbnail in its own palette, in a scrolling grid
// at 1x or 2x, to find a sprite among the 1144 and choose it.
//
// Flow: View > Sprite Overview (Ctrl+F) shows it with the keys in the
// filter box -> every change of the filter text: parseSpriteFilter ->
// filterSprites -> the grid, the caption ("Sprites — 38 of 1144") and
// the line under the filter, which says why when a term cannot be read or
// nothing passes -> Enter (in the box or on the grid) or a double click
// emits spriteChosen(sprite), which the main window hands to selectSprite.
// The main window calls repaintNow() after every canvas paint (the current
// sprite's cell follows the edit) and marksChanged() when an edit mark
// flips; both do nothing while the window is hidden, and showing it
// catches up. The names, stars and "differs" marks come from the tags
// source; whoever changes them calls tagsChanged(). A right click on a
// thumbnail offers Name Sprite… and Toggle Star, which emit nameRequested
// and starRequested (grayed while nothing is connected to them). Hiding
// it (or the program's end) keeps its place, size and scale in the
// settings file, read back when the window is made.
#pragma once

#include <QString>
#include <QWidget>
#include <array>

#include "editor/sprite_filter.h"
#include "model/editor_state.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace tessel {

class SpriteOverviewGrid;

class SpriteOverviewWindow : public QWidget {
    Q_OBJECT
public:
    SpriteOverviewWindow(EditorState& state, const QString& settingsFile, QWidget* owner);
    ~SpriteOverviewWindow() override;

    // Shows it (left of the main window the first time, unless the settings
    // gave it a place), brought up to date, with the keyboard focus in the
    // filter box and its text selected.
    void showAndRaise();
    // After a paint of the canvas: the current sprite's cell again, or
    // every cell when the current sprite, an edit or a palette changed.
    void repaintNow();
    // An edit mark flipped: the "edited" filter and the marks follow.
    void marksChanged();
    // Another ROM was opened: the filter runs over its sprites.
    void romChanged();

    void setTagsSource(SpriteTagsSource tags);

    void setFilterText(const QString& text);
    QString filterText() const;
    // What the line under the filter says; empty when all is well.
    QString problemText() const;
    void setScale(int scale);
    int scale() const;

    SpriteOverviewGrid* grid() const { return grid_; }
    QLineEdit* filterBox() const { return filterBox_; }

    void saveSettings() const;

public slots:
    // Names, stars or compare results changed.
    void tagsChanged();

signals:
    void spriteChosen(int sprite);
    void nameRequested(int sprite);
    void starRequested(int sprite);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loadSettings();
    void refilter();
    void updateCaption();
    void showMenu(int sprite, QPoint globalPos);
    QString problemSentence(const FilterProblem& problem) const;

    EditorState& state_;
    QString settingsFile_;
    SpriteTagsSource tags_;
    QLineEdit* filterBox_;
    QLabel* problem_;
    QComboBox* scaleBox_;
    SpriteOverviewGrid* grid_;
    bool placed_ = false;
    bool stale_ = true; // something changed while hidden
    // What the cells were painted from, to tell a change of the current
    // sprite's pixels from one that touches other cells.
    int paintedCurrent_ = -1;
    std::uint64_t paintedGeneration_ = 0;
    std::array<DisplayPalette, kPaletteCount> paintedPalettes_{};
};

} // namespace tessel
