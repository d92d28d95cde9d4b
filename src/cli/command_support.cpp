#include "cli/command_support.h"

#include <charconv>
#include <ctime>

#include "interchange/rom_kind.h"
#include "model/edit_marks.h"
#include "rom/rom_backup.h"

namespace tessel {

namespace {

// Whether the open file carries a copier header, from where its title lies;
// the file's offsets follow. Unknown when the title is at neither place.
RomKind takeCopierHeaderFromTitle(RomFile& file)
{
    file.setCopierHeader(true);
    RomProbe probe;
    if (!probeRom(file, probe).ok) return RomKind::Unknown;
    file.setCopierHeader(probe.hasCopierHeader());
    return probe.kind;
}

} // namespace

Failure usage(std::string why) { return {2, std::move(why)}; }

CommandResult failed(const IoResult& r)
{
    if (r.ok) return std::nullopt;
    return Failure{1, r.error};
}

std::unique_ptr<RomDocument> newDocument() { return std::make_unique<RomDocument>(); }

// An export reads the ROM only: no lock and no write permission needed, so
// that a build script can export from a ROM the window has open or from a
// read-only copy.
CommandResult openRomFileFor(RomDocument& document, const std::string& path, bool writing, bool force)
{
    const IoResult opened = writing ? document.romFile.open(path) : document.romFile.openReadOnly(path);
    if (!opened) return Failure{1, "Cannot open " + path + ": " + opened.error};
    if (takeCopierHeaderFromTitle(document.romFile) == RomKind::Unknown && !force)
        return Failure{1, path + " " + describeRomKind(RomKind::Unknown) + "; --force opens it anyway"};
    return std::nullopt;
}

CommandResult openRomFor(RomDocument& document, const std::string& path, bool writing, bool force)
{
    if (auto f = openRomFileFor(document, path, writing, force)) return f;
    if (IoResult r = loadAllSprites(document); !r.ok) return Failure{1, "Cannot read " + path + ": " + r.error};
    return std::nullopt;
}

SaveOptions backingUpFirst(const RomFile& file, std::string& error)
{
    auto made = std::make_shared<bool>(false);
    return {.beforeWriting = [&file, &error, made] {
        if (*made) return true;
        const IoResult r = backupRom(file.path(), file.key(), backupDirectory(), std::time(nullptr));
        error = r.error;
        *made = r.ok;
        return r.ok;
    }};
}

CommandResult saveFailure(const SaveResult& saved, const std::string& backupError)
{
    if (saved.ok) return std::nullopt;
    if (saved.declined) return Failure{1, "Cannot back up the ROM, so nothing was written: " + backupError};
    if (saved.file == HeldFile::Replaced) return Failure{1, "The ROM was replaced by another file while it was read"};
    if (saved.file == HeldFile::ChangedOutside) return Failure{1, "Another program changed the ROM while it was read"};
    return Failure{1, "Cannot write the ROM: " + saved.error};
}

CommandResult saveSprites(RomDocument& document, const SaveOptions& options, const std::string& backupError)
{
    const Outcome<long long> length = document.romFile.size();
    if (!length) return Failure{1, "Cannot write the ROM: " + length.error};
    if (const auto lost = editedSpritesPastTheEnd(document, length.value); !lost.empty())
        return Failure{1, "Sprite " + std::to_string(lost[0]) + " lies past the end of the file; nothing was written"};
    if (editedSpriteCount(document) == 0) return std::nullopt;
    return saveFailure(saveAllSprites(document, options), backupError);
}

CommandResult saveSprites(RomDocument& document)
{
    std::string backupError;
    return saveSprites(document, backingUpFirst(document.romFile, backupError), backupError);
}

std::optional<int> numberIn(const std::string& text, int limit)
{
    int n = -1;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || end != text.data() + text.size() || n < 0 || n >= limit) return std::nullopt;
    return n;
}

} // namespace tessel
