// Every question the program asks the user and every modal chooser it shows
// goes through this interface. The real program uses Qt's dialogs and
// message boxes (app/system_prompts.h); tests answer with a scripted fake.
#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace tessel {

enum class SaveChoice { Save, Discard, Cancel };
enum class RecoveryChoice { Restore, Discard };

class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    // The Open ROM file dialog, showing `startFolder` (unless empty) first;
    // an empty string when the user cancelled.
    virtual QString openRomPath(QWidget* parent, const QString& startFolder) = 0;
    // File dialogs for pictures, palettes and patches: `filter` as Qt's file
    // dialogs take it ("PNG pictures (*.png)"); empty when cancelled.
    virtual QString openFilePath(QWidget* parent, const QString& caption, const QString& filter) = 0;
    virtual QString saveFilePath(QWidget* parent, const QString& caption, const QString& filter) = 0;
    // The same dialogs opened at `start` (a folder, or a folder and the
    // suggested name); `chosenFilter`, when given, receives the filter the
    // user picked. By default as the two above.
    struct FileDialog {
        QString caption, filter, start;
        QString* chosenFilter = nullptr;
    };
    virtual QString openFile(QWidget* parent, const FileDialog& dialog)
    {
        return openFilePath(parent, dialog.caption, dialog.filter);
    }
    virtual QString saveFile(QWidget* parent, const FileDialog& dialog)
    {
        return saveFilePath(parent, dialog.caption, dialog.filter);
    }
    // Which palette of a CGRAM dump of `count` palettes to take, `initial`
    // offered; nothing when cancelled. By default `initial`.
    virtual std::optional<int> choosePaletteNumber(QWidget*, const QString& /*text*/, int initial, int /*count*/)
    {
        return initial;
    }
    // A message with an OK button.
    virtual void information(QWidget* parent, const QString& text) = 0;
    // An error message with an OK button (saves, palette writes, opens).
    virtual void error(QWidget* parent, const QString& text) = 0;
    // The same as a plain box with an OK button and no icon (Open ROM's).
    virtual void plainError(QWidget* parent, const QString& text) { error(parent, text); }
    // A Yes/No question with the question icon; true for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& text) = 0;
    // The same with No as the default button, for questions whose Yes
    // risks the user's data.
    virtual bool askYesNoDefaultNo(QWidget* parent, const QString& text) = 0;
    // "Save changes to <romName>?" with Save / Discard / Cancel, saying how
    // many sprites are edited and not saved.
    virtual SaveChoice askSaveChanges(QWidget* parent, const QString& romName,
                                      int editedSprites) = 0;
    // "Apply the changes to palette N?" with Apply (Save) / Discard / Cancel.
    virtual SaveChoice askApplyPalette(QWidget* parent, int palette) = 0;
    // The colour chooser, opened with `initial`; nothing when cancelled.
    virtual std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial) = 0;
    // Whether to bring back the unsaved edits of a recovery file: Restore
    // (the default) or Discard. Only an explicit Discard throws them away.
    virtual RecoveryChoice askRestoreEdits(QWidget* parent, const QString& text) = 0;
    // File > Recover Edits: one row per recovery file (ROM name, path, date,
    // sprite count); the chosen row, or -1 when the user cancelled.
    virtual int chooseRecoveryFile(QWidget* parent, const QList<QStringList>& rows) = 0;
    // Tools > Name Sprite: the new name of `sprite` (empty: remove it),
    // `current` offered; nothing when cancelled. By default cancelled.
    virtual std::optional<QString> askSpriteName(QWidget*, int /*sprite*/, const QString& /*current*/)
    {
        return std::nullopt;
    }
};

} // namespace tessel
