// The names and stars of the open game's sprites, and its preview
// settings, as the window keeps them (interchange/sprite_names.h).
//
// romChanged (after Open ROM, Close ROM): a ROM of another game title ->
//   its file read from the data folder (a damaged one set aside, the user
//   told once) | no ROM -> preview settings written, names let go.
// setName / toggleStar -> the file written at once -> changed(sprite).
// setPreview keeps the preview's settings; flushPreview writes them when
//   they changed (the preview hidden, the ROM closed, the window closed).
// exportCommand / importCommand: Tools > Export Names…, Import Names…;
//   an import merges, its names winning over ours and its stars added.
#pragma once

#include <QObject>
#include <QString>
#include <string>

#include "interchange/sprite_names.h"
#include "model/editor_state.h"

class QWidget;

namespace tessel {

class UserPrompts;

class NamesKeeper : public QObject {
    Q_OBJECT
public:
    NamesKeeper(EditorState& state, UserPrompts& prompts, QWidget* window);

    const SpriteNames& names() const { return names_; }
    // True when it loaded the names of another game.
    bool romChanged();
    // False when nothing changed (the same name, a sprite out of range).
    bool setName(int sprite, const QString& name);
    bool toggleStar(int sprite);
    void setPreview(const PreviewSettings& settings);
    void flushPreview();

    void exportCommand();
    void importCommand();

signals:
    // The name or star of `sprite` changed; -1: of any number of sprites.
    void changed(int sprite);

private:
    void save();

    EditorState& state_;
    UserPrompts& prompts_;
    QWidget* window_;
    SpriteNames names_;
    std::string title_;
    std::string dir_;
    bool loaded_ = false;
    bool writable_ = true;
    bool previewDirty_ = false;
    bool failureTold_ = false;
};

} // namespace tessel
