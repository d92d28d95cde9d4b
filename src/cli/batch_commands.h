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

inline constexpr char kBatchUsage[] =
    "       tessel export-sprite ROM N OUT.png\n"
    "       tessel import-sprite [--force] ROM N IN.png\n"
    "       tessel export-sprites ROM DIR [N|FIRST-LAST]\n"
    "       tessel import-sprites [--force] ROM DIR\n"
    "       tessel export-sheet ROM OUT.png\n"
    "       tessel export-sheet --indexed ROM P OUT.png\n"
    "       tessel import-sheet [--force] ROM IN.png\n"
    "       tessel export-palette ROM P OUT.gpl|.pal|.act|.bin\n"
    "       tessel import-palette [--force] ROM P IN.gpl|.pal|.act|.bin [D]\n"
    "       tessel make-patch CLEAN EDITED OUT.bps|.ips\n"
    "       tessel apply-patch [--force] ROM PATCH.bps|.ips [OUT]\n"
    "       tessel patch-info PATCH.bps|.ips [ROM]\n"
    "       tessel diff [--json] CLEAN EDITED\n"
    "N: sprite 0..1143, P: palette 0..31, D: the palette 0..15 taken from a 512-byte\n"
    "CGRAM dump (P when left out). --force opens a ROM whose title is not\n"
    "OAKEN SHORE. Patches are made from and applied to the ROM without its copier\n"
    "header, so that they fit the dump players have; a BPS patch is checked\n"
    "against the ROM's size and CRC-32. apply-patch without OUT changes the ROM in\n"
    "place and only in its sprites and palettes; a patch that changes other bytes\n"
    "needs OUT. export-sprites writes DIR/sprite-0018.png and so on; import-sprites\n"
    "takes every such picture in DIR or none. Exit status: 0 done, 1 failed\n"
    "(nothing written), 2 usage.\n";

// True when `name` (the first argument) names one of these commands.
bool isBatchCommand(std::string_view name);

// Runs the command in `args` (the program name left out), printing what it
// did to `out` and why it failed to `err`; returns the exit status.
int runBatchCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

} // namespace tessel
