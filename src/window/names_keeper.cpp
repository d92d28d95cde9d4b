#include "window/names_keeper.h"

#include <QFileInfo>
#include <QWidget>

#include "file/state_files.h"
#include "interchange/art_exchange.h"
#include "rom/recovery_file.h"
#include "widgets/file_choices.h"
#include "widgets/user_prompts.h"

namespace tessel {

namespace {

QString text(const std::string& s) { return QString::fromStdString(s); }

QString fileName(const std::string& path) { return QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).fileName(); }

QString nameCountText(int n)
{
    return n == 1 ? NamesKeeper::tr("1 name") : NamesKeeper::tr("%1 names").arg(n);
}

QString starCountText(int n)
{
    return n == 1 ? NamesKeeper::tr("1 star") : NamesKeeper::tr("%1 stars").arg(n);
}

} // namespace

NamesKeeper::NamesKeeper(EditorState& state, UserPrompts& prompts, QWidget* window)
    : QObject(window), state_(state), prompts_(prompts), window_(window)
{
}

bool NamesKeeper::romChanged()
{
    if (!state_.romOpen()) {
        if (!loaded_) return false;
        flushPreview();
        names_ = {};
        loaded_ = false;
        emit changed(-1);
        return false;
    }
    const std::string title = recoveryTitle(state_.document);
    if (loaded_ && title == title_) return false; // the same game: its names stay
    flushPreview();
    title_ = title;
    dir_ = dataDirectory();
    LoadedNames loaded = loadGameNames(dir_, title_);
    names_ = std::move(loaded.names);
    writable_ = loaded.writable;
    loaded_ = true;
    failureTold_ = false;
    previewDirty_ = false;
    if (!loaded.notice.empty()) prompts_.information(window_, text(loaded.notice));
    emit changed(-1);
    return true;
}

bool NamesKeeper::setName(int sprite, const QString& name)
{
    if (!loaded_ || !names_.setName(sprite, name.toStdString())) return false;
    save();
    emit changed(sprite);
    return true;
}

bool NamesKeeper::toggleStar(int sprite)
{
    if (!loaded_ || !names_.setStarred(sprite, !names_.starred(sprite))) return false;
    save();
    emit changed(sprite);
    return true;
}

void NamesKeeper::setPreview(const PreviewSettings& settings)
{
    if (!loaded_ || names_.preview == settings) return;
    names_.preview = settings;
    previewDirty_ = true;
}

void NamesKeeper::flushPreview()
{
    if (loaded_ && previewDirty_) save();
}

void NamesKeeper::save()
{
    previewDirty_ = false;
    if (!writable_) {
        if (!failureTold_)
            prompts_.error(window_, tr("The names file of this game could not be set aside, so Tessel does not "
                                       "write over it: names and stars given now are kept only until the ROM "
                                       "is closed."));
        failureTold_ = true;
        return;
    }
    const IoResult saved = saveGameNames(dir_, title_, names_);
    if (saved.ok) return;
    // Told in a box once; after that the status bar says it each time.
    const QString why = tr("The sprite names could not be written: %1").arg(text(saved.error));
    if (failureTold_) showStatusResult(window_, why);
    else prompts_.error(window_, why);
    failureTold_ = true;
}

void NamesKeeper::exportCommand()
{
    if (!loaded_) return;
    if (names_.empty()) {
        prompts_.information(window_, tr("No sprite has a name or a star yet, so there is nothing to export."));
        return;
    }
    const std::string rom = state_.document.romFile.path();
    const QString suggested = QFileInfo(QFile::decodeName(QByteArray::fromStdString(rom))).completeBaseName() +
                              QStringLiteral("-names.json");
    const std::string path = askSavePath(prompts_, window_, FileKind::Names, tr("Export Names"),
                                         tr("Sprite names (*.json)"), rom, suggested);
    if (path.empty()) return;
    IoResult written = exportTarget(path, rom);
    if (written.ok) written = exportNames(path, title_, names_);
    if (!written.ok) {
        prompts_.error(window_, text(written.error));
        return;
    }
    showStatusResult(window_, tr("%1 and %2 written to %3")
                                  .arg(nameCountText(names_.nameCount()), starCountText(names_.starCount()),
                                       fileName(path)));
}

void NamesKeeper::importCommand()
{
    if (!loaded_) return;
    const std::string path = askOpenPath(prompts_, window_, FileKind::Names, tr("Import Names"),
                                         tr("Sprite names (*.json)"), state_.document.romFile.path());
    if (path.empty()) return;
    const Outcome<SpriteNames> theirs = readNamesFile(path);
    if (!theirs.ok) {
        prompts_.error(window_, text(theirs.error));
        return;
    }
    const MergeCount taken = mergeNames(names_, theirs.value);
    if (taken.names + taken.stars > 0) {
        save();
        emit changed(-1);
    }
    const QString said = tr("Took %1 and %2 from %3; names of sprites it does not name are kept.")
                             .arg(nameCountText(taken.names), starCountText(taken.stars), fileName(path));
    showStatusResult(window_, said);
    prompts_.information(window_, said);
}

} // namespace tessel
