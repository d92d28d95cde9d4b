// What writing into the ROM says to the user and asks, in one place for the
// main window's saves and the palette editor's Apply Changes:
//  - the file was replaced or deleted by another program: said, with Save a
//    Copy As offered where the caller gave it; nothing is written;
//  - the file was changed by another program: "Write your edited sprites
//    into it anyway?", No the default;
//  - the run's backup could not be made: "Save anyway?", No the default;
//    asked before the first write into each ROM file of the run only;
//  - edited sprites whose tiles lie past the end of the file: named after
//    the save, which wrote the others;
//  - whether the user has already been told of a failed write (said here,
//    or the user's own No), so that nothing more is said.
//
// Save:  write(save, beforeWriting)
//          -> save({beforeWriting})            beforeWriting: the backup
//          -> changed outside? ask; Yes -> save({overOutsideChange})
//          -> replaced? say so
//        report(result, failure)   nothing when alreadyTold(result); else
//                                  `failure` with the reason, or the
//                                  sprites past the end
#pragma once

#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "rom/rom_session.h"

class QWidget;

namespace tessel {

class UserPrompts;

// The ROM's file name as the user knows it (any bytes the system allows).
QString romDisplayName(const std::string& path);
// `text`, and below it the system's reason when there is one.
QString withReason(const QString& text, const std::string& reason);

class RomConversation {
public:
    explicit RomConversation(UserPrompts& prompts) : prompts_(prompts) {}

    // Save a Copy As, offered by write() when the ROM was replaced or
    // deleted (with none set, that is only said).
    void setSaveCopy(std::function<void()> saveCopy) { saveCopy_ = std::move(saveCopy); }

    // Runs `save`; when the file at `path` was changed by another program,
    // asks whether to write over it and on Yes runs `save` again with
    // permission. A replaced or deleted file is said here. `beforeWriting`
    // goes into the options: it runs only when something is about to be
    // written.
    SaveResult write(QWidget* parent, const std::string& path,
                     const std::function<SaveResult(const SaveOptions&)>& save,
                     const std::function<bool()>& beforeWriting = {});

    // Before the first write of this conversation's life into `rom`: copies
    // the whole file to the backups folder (rom/rom_backup.h). When that
    // fails the user is asked whether to write anyway; false means do not
    // write. Asked once per ROM file.
    bool backupBeforeWrite(QWidget* parent, const RomFile& rom);

    // A failed write the user knows of already: the file was replaced
    // (said by write()), or the user said No to writing over another
    // program's change or to saving without a backup.
    static bool alreadyTold(const SaveResult& result);

    // After a save: nothing when alreadyTold(); `failure` with the system's
    // reason when it failed; the sprites past the end of the file when some
    // were left. True when everything was written.
    bool report(QWidget* parent, const SaveResult& result, const QString& failure);

private:
    UserPrompts& prompts_;
    std::function<void()> saveCopy_;
    std::vector<FileKey> backedUp_; // ROMs copied before their first write
};

} // namespace tessel
