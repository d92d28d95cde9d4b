// Where the file dialogs for pictures, palettes and patches start, what
// they suggest, and what the user chose.
//
// askSavePath / askOpenPath: FileChoices::start (the folder last used for
// that kind of file, else the ROM's folder, with the suggested name) ->
// UserPrompts::saveFile / openFile -> the chosen filter's extension added
// to a name that has none -> the folder remembered for the next dialog.
//
// The folders, and per ROM the clean ROM that Create Patch compared it with,
// are kept in $XDG_CONFIG_HOME/tessel/dialogs.conf (~/.config when unset);
// a missing, damaged or unwritable file only loses them.
#pragma once

#include <QString>
#include <string>

class QWidget;

namespace tessel {

class UserPrompts;

enum class FileKind { Picture, Palette, Patch, CleanRom, Names };

// The settings file, from the environment as it is now.
QString fileChoicesFile();

class FileChoices {
public:
    explicit FileChoices(const QString& file = fileChoicesFile());

    // The folder last used for `kind`, else the folder of `romPath`, joined
    // with `suggestedName` when that is given.
    QString start(FileKind kind, const QString& romPath, const QString& suggestedName = {}) const;
    void used(FileKind kind, const QString& chosenPath);

    QString cleanRomFor(const QString& romPath) const;
    void setCleanRom(const QString& romPath, const QString& cleanPath);

private:
    QString file_;
};

// The first extension the filter names ("IPS patches (*.ips)" -> ".ips");
// empty for "All files (*)".
QString filterExtension(const QString& filter);
// `path` with the chosen filter's extension when its name has none.
QString withFilterExtension(const QString& path, const QString& chosenFilter);

// The dialogs themselves; the local file name, or empty when cancelled.
std::string askSavePath(UserPrompts& prompts, QWidget* parent, FileKind kind, const QString& caption,
                        const QString& filter, const std::string& romPath, const QString& suggestedName);
std::string askOpenPath(UserPrompts& prompts, QWidget* parent, FileKind kind, const QString& caption,
                        const QString& filter, const std::string& romPath);

// `text` in the status bar of the window `widget` belongs to (or of its
// parent's window, for a dialog), for as long as a command's result shows.
void showStatusResult(QWidget* widget, const QString& text);

} // namespace tessel
