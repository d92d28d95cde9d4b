// What the command-line commands share: opening a ROM as the window does,
// saving with a backup first, reading numbers, and how a failure is told.
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "file/outcome.h"
#include "model/rom_document.h"
#include "rom/rom_session.h"

namespace tessel {

// Status 1: failed, nothing written; 2: the command line is wrong.
struct Failure {
    int status = 1;
    std::string why;
};
using CommandResult = std::optional<Failure>;

Failure usage(std::string why);
CommandResult failed(const IoResult& r);

using Args = std::vector<std::string>;

struct Options {
    bool force = false;   // open a ROM whose title is not the game's
    bool json = false;    // machine-readable output
    bool indexed = false; // a palette sheet of one palette
};

// What a command that succeeded tells: one line, or a listing of lines.
struct Reply {
    std::string done;
    std::vector<std::string> lines;
};

// A document is too large for the stack: each command makes one with this.
std::unique_ptr<RomDocument> newDocument();

// Opens the ROM for writing (lock, title, copier header) or for reading
// only, and loads every sprite and palette.
CommandResult openRomFor(RomDocument& document, const std::string& path, bool writing, bool force);
// The same without loading anything: for reading the file's bytes alone.
CommandResult openRomFileFor(RomDocument& document, const std::string& path, bool writing, bool force);

// The ROM's backup before this run first writes it, as the window makes
// it, made once however many saves the options are given to. Nothing can
// be asked here: without a backup nothing is written, and `error` says why.
SaveOptions backingUpFirst(const RomFile& file, std::string& error);
CommandResult saveFailure(const SaveResult& saved, const std::string& backupError);

// Saves the marked sprites (one sync), refusing before any write when one
// of them lies past the end of the file; `backupError` is the one the
// options' backup fills in.
CommandResult saveSprites(RomDocument& document, const SaveOptions& options, const std::string& backupError);
CommandResult saveSprites(RomDocument& document);

// `text` as a number 0 <= n < limit.
std::optional<int> numberIn(const std::string& text, int limit);

} // namespace tessel
