#include <algorithm>

#include "cli/more_commands.h"
#include "file/file_access.h"
#include "file/path_names.h"
#include "interchange/art_exchange.h"
#include "interchange/patch_edits.h"

namespace tessel {

namespace {

constexpr std::size_t kMaxPatchFile = std::size_t{64} << 20;

// Each changed palette written as Apply Changes writes it, after the
// sprites, under the same once-only backup.
CommandResult writePatchedPalettes(RomDocument& document, const PatchedRom& patched, const SaveOptions& options,
                                   const std::string& backupError)
{
    for (int p : patched.effect.palettes) {
        const SaveResult saved = writePalette(document, p, patchedPalette(document, patched, p), options);
        if (auto f = saveFailure(saved, backupError)) return f;
    }
    return std::nullopt;
}

} // namespace

CommandResult applyPatchCommand(const Args& a, const Options& o, Reply& reply)
{
    const std::string& romPath = a[0];
    const std::string& patchPath = a[1];
    const std::string out = a.size() > 2 ? a[2] : "";
    if (!patchFormat(patchPath)) return usage("A patch is chosen by its extension: .bps or .ips");
    if (!out.empty()) {
        if (auto f = failed(exportTarget(out, romPath))) return f;
        if (namesSameFile(out, patchPath)) return Failure{1, "Cannot write the patched ROM over the patch: " + out};
    }
    const auto rom = newDocument();
    if (auto f = openRomFor(*rom, romPath, out.empty(), o.force)) return f;
    const auto patched = patchOpenRom(*rom, patchPath);
    if (!patched) return Failure{1, patched.error};
    const std::string what = spritesAndPalettes(patched.value.effect);
    if (!out.empty()) {
        if (auto f = failed(writePatchedCopy(out, romPath, patched.value))) return f;
        reply.done = "Wrote " + out + ": " + baseName(romPath) + " with the patch applied (" + what +
                     (patched.value.effect.onlyArt() ? "" : ", and other bytes") + ")";
        return std::nullopt;
    }
    if (!patched.value.effect.onlyArt())
        return Failure{1, otherBytesRefusal(patched.value, "give OUT to write the patched ROM to a new file. Nothing was written")};
    takePatchedSprites(*rom, patched.value);
    std::string backupError;
    const SaveOptions options = backingUpFirst(rom->romFile, backupError);
    if (auto f = saveSprites(*rom, options, backupError)) return f;
    if (auto f = writePatchedPalettes(*rom, patched.value, options, backupError)) return f;
    reply.done = "Applied " + baseName(patchPath) + " to " + baseName(romPath) + ": " + what + " written";
    return std::nullopt;
}

CommandResult patchInfoCommand(const Args& a, const Options& o, Reply& reply)
{
    const auto format = patchFormat(a[0]);
    if (!format) return usage("A patch is chosen by its extension: .bps or .ips");
    PatchEffect effect;
    if (a.size() > 1) {
        const auto rom = newDocument();
        if (auto f = openRomFor(*rom, a[1], false, o.force)) return f;
        const auto patched = patchOpenRom(*rom, a[0]);
        if (!patched) return Failure{1, patched.error};
        effect = patched.value.effect;
    } else {
        const auto patch = readWholeFile(a[0], kMaxPatchFile);
        if (!patch) return Failure{1, patch.error};
        const auto writes = patchWrites(*format, patch.value);
        if (!writes) return Failure{1, writes.error};
        effect = patchEffect(writes.value);
    }
    reply.lines = describePatchEffect(effect);
    if (reply.lines.empty()) reply.done = "The patch changes nothing";
    return std::nullopt;
}

} // namespace tessel
