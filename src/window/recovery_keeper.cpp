#include "window/recovery_keeper.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <utility>

#include "file/state_files.h"
#include "model/edit_marks.h"
#include "rom/recovery_writer.h"
#include "widgets/user_prompts.h"

namespace tessel {

namespace {

constexpr int kTickMs = 200;

void warnStillWriting() { std::fprintf(stderr, "tessel: the recovery file is still being written\n"); }

} // namespace

RecoveryKeeper::RecoveryKeeper(EditorState& state, UserPrompts& prompts, QWidget* window)
    : state_(state), prompts_(prompts), window_(window), directory_(recoveryDirectory()),
      writer_(std::make_unique<RecoveryWriter>(directory_))
{
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &RecoveryKeeper::tick);
    timer_.start();
}

RecoveryKeeper::~RecoveryKeeper()
{
    timer_.stop();
    update(true);
    if (!writer_->stop(kRecoveryWaitLimit)) warnStillWriting();
}

const RecoveryInfo& RecoveryKeeper::rom()
{
    learnRomIfChanged();
    return info_;
}

std::string RecoveryKeeper::currentFile()
{
    learnRomIfChanged();
    return fileName_;
}

void RecoveryKeeper::learnRomIfChanged()
{
    if (!state_.romOpen()) {
        learntPath_.clear();
        fileName_.clear();
        return;
    }
    if (state_.document.romFile.path() != learntPath_) learnRom();
}

void RecoveryKeeper::learnRom()
{
    learntPath_ = state_.document.romFile.path();
    info_ = {};
    info_.romPath = canonicalRomPath(learntPath_);
    fileKeyOfPath(info_.romPath, info_.romKey); // stays zero when it cannot be had
    fileName_ = recoveryFileName(info_.romPath);
    info_.romTitle = recoveryTitle(state_.document);
    marksSeen_ = state_.document.spriteEdited;
    for (RecoveryPiece& piece : pieces_) piece.reset(); // another ROM's sprites
    lastCurrent_ = -1;
    refreshChecksum();
}

void RecoveryKeeper::refreshChecksum()
{
    checksumStale_ = false;
    info_.spriteAreaCrc = spriteAreaChecksum(state_.document.diskSpriteArea);
}

void RecoveryKeeper::marksChanged()
{
    bool cleared = false;
    for (int i = 0; i < kSpriteCount; ++i) cleared |= marksSeen_[i] && !state_.document.spriteEdited[i];
    marksSeen_ = state_.document.spriteEdited;
    if (!cleared) return;
    // Sprites were saved (or refreshed, or the ROM closed): the file's
    // sprite area may be new, and the recovery file must say so soon.
    checksumStale_ = true;
    QTimer::singleShot(0, this, &RecoveryKeeper::tick);
}

void RecoveryKeeper::tick()
{
    if (inTick_) return; // a message shown below runs the event loop
    inTick_ = true;
    update(false);
    reportWriterError();
    inTick_ = false;
}

void RecoveryKeeper::update(bool evenWhileDragging)
{
    learnRomIfChanged();
    if (!state_.romOpen()) {
        seenGeneration_ = state_.document.editGeneration;
        removeOwnedFile(); // closing let the edits go, or saved them
        return;
    }
    if (checksumStale_) refreshChecksum();
    if (!evenWhileDragging && (state_.gesture.leftDragging || state_.gesture.rightDragging)) return;
    if (state_.document.editGeneration == seenGeneration_) return;
    seenGeneration_ = state_.document.editGeneration;
    if (editedSpriteCount(state_.document) == 0) {
        removeOwnedFile();
        return;
    }
    info_.savedAt = static_cast<std::int64_t>(std::time(nullptr));
    handed_.clear();
    for (int i = 0; i < kSpriteCount; ++i) {
        if (!state_.document.spriteEdited[i]) {
            pieces_[i].reset();
            continue;
        }
        if (!pieces_[i] || pieceMarkCounts_[i] != state_.document.spriteMarkCounts[i] || i == state_.currentSprite ||
            i == lastCurrent_) {
            pieces_[i] = recoveryPiece(state_.document, i);
            pieceMarkCounts_[i] = state_.document.spriteMarkCounts[i];
        }
        handed_.push_back(pieces_[i]);
    }
    lastCurrent_ = state_.currentSprite;
    // Edits of a ROM opened before were saved or given up on the way here.
    if (!owned_.empty() && owned_ != fileName_) writer_->remove(owned_);
    writer_->write(fileName_, info_, handed_);
    owned_ = fileName_;
}

void RecoveryKeeper::removeOwnedFile()
{
    if (owned_.empty()) return;
    writer_->remove(owned_);
    owned_.clear();
}

void RecoveryKeeper::updateAndWait()
{
    update(false);
    writer_->waitIdle(kRecoveryWaitLimit);
}

void RecoveryKeeper::flushNow()
{
    update(true);
    if (!writer_->waitIdle(kRecoveryWaitLimit)) warnStillWriting();
}

void RecoveryKeeper::editsDiscarded()
{
    removeOwnedFile();
    seenGeneration_ = state_.document.editGeneration;
}

void RecoveryKeeper::romOpened()
{
    learnRom();
    if (editedSpriteCount(state_.document) == 0) removeOwnedFile();
    offerRestore();
}

void RecoveryKeeper::offerRestore()
{
    writer_->waitIdle(kRecoveryWaitLimit); // a removal of this very file may be under way
    const std::string chosen = std::exchange(chosen_, std::string());
    const std::string name = chosen.empty() ? fileName_ : chosen;
    const Outcome<std::optional<RecoveryContents>> read = readRecoveryFile(directory_, name);
    if (!read.ok) {
        setAside(name, read.error);
        return;
    }
    // None, or another ROM's under a name that clashes: the ROM may have
    // come from another path.
    if (!read.value || (chosen.empty() && read.value->info.romPath != info_.romPath)) {
        if (chosen.empty()) offerMoved();
        return;
    }
    offerFound(name, *read.value);
}

void RecoveryKeeper::offerMoved()
{
    const RecoveryFolder folder = listRecoveryFiles(directory_);
    if (const std::optional<FoundRecovery> moved = findMovedRecovery(folder.usable, info_))
        offerFound(moved->name, moved->contents);
}

void RecoveryKeeper::setAside(const std::string& name, const std::string& why)
{
    const QString romName = QFile::decodeName(QByteArray::fromStdString(baseName(learntPath_)));
    // Kept for whoever wants to look at it, out of the way of new ones.
    const std::string aside = directory_ + "/" + name + ".damaged";
    const bool moved = systemFileIo().rename((directory_ + "/" + name).c_str(), aside.c_str()) == 0;
    prompts_.error(window_, tr("Tessel found a recovery file of unsaved edits to %1, but cannot "
                                           "use it: %2.%3")
                                .arg(romName, QString::fromStdString(why),
                                     moved ? tr(" It was set aside as %1.")
                                                 .arg(QFile::decodeName(QByteArray::fromStdString(aside)))
                                           : QString()));
}

void RecoveryKeeper::offerFound(const std::string& name, const RecoveryContents& found)
{
    const QString romName = QFile::decodeName(QByteArray::fromStdString(baseName(learntPath_)));
    if (found.sprites.empty()) {
        if (name == fileName_) writer_->remove(fileName_);
        return;
    }
    const int count = static_cast<int>(found.sprites.size());
    const QString sprites = count == 1 ? tr("1 sprite") : tr("%1 sprites").arg(count);
    const QString when = QLocale().toString(QDateTime::fromSecsSinceEpoch(found.info.savedAt), QLocale::ShortFormat);
    const QString oldPath = QFile::decodeName(QByteArray::fromStdString(found.info.romPath));
    const bool samePath = found.info.romPath == info_.romPath;
    const bool sameRom = samePath || matchRecovery(found.info, info_) != RecoveryMatch::None;
    QString text;
    if (samePath)
        text = tr("Tessel found unsaved edits to %1 of %2\nfrom %3. Restore them?").arg(sprites, romName, when);
    else if (sameRom)
        text = tr("Tessel found unsaved edits to %1 of %2 from %3, which was moved or renamed,\n"
                              "from %4. Restore them?")
                   .arg(sprites, romName, oldPath, when);
    else
        text = tr("Tessel found unsaved edits to %1 of %2\nfrom %3. Restore them into %4?")
                   .arg(sprites, oldPath, when, romName);
    if (found.info.spriteAreaCrc != info_.spriteAreaCrc)
        text += tr("\n\nThe sprites in the ROM have changed since then. Restoring puts these "
                               "sprites back as they were in the unsaved edits.");
    if (prompts_.askRestoreEdits(window_, text) == RecoveryChoice::Discard) {
        writer_->remove(name);
        return;
    }
    // Restored sprites are unsaved edits again: nothing reaches the ROM
    // until the user saves.
    for (const RecoveredSprite& s : found.sprites) {
        PixelBuffer& pixels = state_.document.spriteStore[s.sprite].pixels;
        for (int y = 0; y < s.height; ++y)
            std::copy_n(s.pixels.begin() + y * kBufferWidth, s.width, pixels.begin() + y * kBufferWidth);
        markSpritePending(state_.document, s.sprite);
    }
    // The file of a ROM that left its path is this ROM's now: the next
    // write replaces it. One whose ROM is still there stays that ROM's.
    if (samePath || romLeftItsPath(found.info)) owned_ = name;
    repaintCanvas(state_);
}

void RecoveryKeeper::reportWriterError()
{
    const std::string error = writer_->takeError();
    if (error.empty() || errorShown_) return;
    errorShown_ = true; // once a run: the same cause would say it again at every edit
    prompts_.error(window_, tr("Tessel cannot keep a recovery file of the unsaved edits, so a crash "
                                           "would lose them: %1")
                                .arg(QString::fromStdString(error)));
}

} // namespace tessel
