#include "rom/rom_copy.h"

#include "file/durable_file.h"
#include "file/file_access.h"
#include "file/path_names.h"

namespace tessel {

IoResult saveRomCopy(const RomDocument& document, const std::string& path, RomCopy* copy, FileIo& io)
{
    const RomFile& file = document.romFile;
    if (!file.isOpen()) return IoResult::failure("No ROM is open");
    FileKey target;
    const bool exists = fileKeyOfPath(path, target, io).ok;
    if ((exists && target == file.key()) || namesSameFile(path, file.path(), io))
        return IoResult::failure(baseName(path) +
                                 " is the open ROM, or the file now at its place: a copy goes to another file.");
    Outcome<RomCopy> made = romAfterSaveAll(document);
    if (!made) return IoResult::failure(made.error);
    if (IoResult r = replaceFile(path, made.value.bytes, FileMode::Shared, io); !r.ok) return r;
    if (copy) *copy = std::move(made.value);
    return IoResult::success();
}

} // namespace tessel
