// What every write into the ROM says to the user about the file itself:
// that another program replaced or deleted it (nothing is written), or that
// another program changed it (the user decides whether to write anyway).
#pragma once

#include <QString>
#include <functional>
#include <string>

#include "rom/rom_session.h"

class QWidget;

namespace tessel {

class UserPrompts;

// The ROM's file name as the user knows it (any bytes the system allows).
QString romDisplayName(const std::string& path);

// Runs `save`; when the file was changed by another program, asks whether
// to write over it (No is the default) and on Yes runs `save` again with
// permission. A replaced or deleted file is reported here. Other failures
// are the caller's to report. `beforeWriting` goes into the options: it runs
// only when something is about to be written (the run's backup).
SaveResult saveCheckingTheFile(QWidget* parent, UserPrompts& prompts, const std::string& path,
                               const std::function<SaveResult(const SaveOptions&)>& save,
                               const std::function<bool()>& beforeWriting = {});

} // namespace tessel
