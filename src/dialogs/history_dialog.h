// Edit > History…: the current sprite's states of this run, oldest first,
// each with its time, what made it and its picture in the palette shown.
// Restore makes the chosen state the sprite's pixels as one new edit
// (editor/history_commands.h); the list then shows that new state, chosen.
// The newest state is chosen when the dialog opens.
#pragma once

#include <QDialog>
#include <QImage>

#include "model/editor_state.h"

class QListWidget;
class QPushButton;

namespace tessel {

class HistoryDialog : public QDialog {
    Q_OBJECT
public:
    HistoryDialog(EditorState& state, QWidget* parent = nullptr);

    QListWidget* states() const { return list_; }
    QPushButton* restoreButton() const { return restore_; }
    // Restores the chosen state; false when none is chosen or it is gone.
    bool restoreChosen();

    // `state` in `palette`, enlarged by the largest whole factor that keeps
    // it within 64 x 80.
    static QImage picture(const JournalState& state, const DisplayPalette& palette);

private:
    void reload();

    EditorState& state_;
    QListWidget* list_;
    QPushButton* restore_;
};

} // namespace tessel
