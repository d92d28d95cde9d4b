// The commands `tessel COMMAND ...` runs without a window, for build
// scripts: sprites (one or all), the sheet and palettes out of and into a
// ROM; patches between two ROMs made, applied and read; two ROMs compared. No Qt object is made, so no display is needed.
//
// Exit status: 0 done; 1 failed, with one line on stderr saying why and
// nothing written; 2 the command line itself is wrong (usage on stderr).
// Commands that write the ROM open it as the window does (lock, title,
// copier header), write only the tiles or colours that changed, and sync
// before they return 0.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace tessel {

// What --help and the man page tell of one command: its forms (one a
// line, each beginning with the name; operands in capitals, options in
// brackets) and a paragraph for the man page.
struct CommandHelp {
    std::string_view name;
    std::string_view forms;
    std::string_view text;
};

// Every command, in the order --help and the man page list them.
std::vector<CommandHelp> batchCommandHelp();
// What the command line's notes say of numbers, --force, patches and the
// exit status, below the forms in --help and the commands in the man page.
extern const std::string_view kBatchNotes;

// The commands' part of --help: "       tessel FORM" a line, then the notes.
std::string batchUsage();

// True when `name` (the first argument) names one of these commands.
bool isBatchCommand(std::string_view name);

// Runs the command in `args` (the program name left out), printing what it
// did to `out` and why it failed to `err`; returns the exit status.
int runBatchCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

} // namespace tessel
