// The commands for patches and for many sprites at once; their table and
// their usage are in batch_commands.h.
//
// apply-patch ROM PATCH [OUT]: patchOpenRom (interchange/patch_edits.h);
//     with OUT the patched file is written there and the ROM only read;
//     without, a patch of sprites and palettes only is saved into the ROM
//     (the sprites' changed tiles in one sync, then each palette), one
//     backup first; any other byte refuses the run.
// patch-info PATCH [ROM]: what the patch writes, from the patch alone, or
//     what it changes in ROM.
// export-sprites ROM DIR [RANGE]: one palette PNG per sprite, DIR/sprite-NNNN.png.
// import-sprites ROM DIR: every DIR/sprite-NNNN.png, all or nothing, one save.
// diff CLEAN EDITED: the sprites and palettes that differ.
#pragma once

#include "cli/command_support.h"

namespace tessel {

CommandResult applyPatchCommand(const Args& a, const Options& o, Reply& reply);
CommandResult patchInfoCommand(const Args& a, const Options& o, Reply& reply);
CommandResult exportSpritesCommand(const Args& a, const Options& o, Reply& reply);
CommandResult importSpritesCommand(const Args& a, const Options& o, Reply& reply);
CommandResult diffCommand(const Args& a, const Options& o, Reply& reply);

} // namespace tessel
