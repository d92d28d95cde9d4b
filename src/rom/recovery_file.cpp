#include "rom/recovery_file.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "file/checksum.h"
#include "file/file_access.h"
#include "file/path_names.h"
#include "file/state_files.h"
#include "file/system_reason.h"
#include "model/edit_marks.h"
#include "rom/rom_kind.h"
#include "rom/sprite_catalogue.h"

namespace tessel {

namespace {

constexpr char kMagic[8] = {'T', 'S', 'L', 'R', 'E', 'C', 'O', 'V'};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kHeaderBytes = 48;
constexpr std::size_t kSpriteHeaderBytes = 4; // u16 number, u8 width, u8 height
constexpr std::size_t kTrailerBytes = 4;
constexpr std::uint32_t kMaxPathBytes = PATH_MAX;
// No recovery file is larger than every sprite edited with the longest path.
constexpr std::size_t kMaxFileBytes =
    kHeaderBytes + kMaxPathBytes + kSpriteCount * (kSpriteHeaderBytes + kBufferSize) + kRecoveryTitleBytes +
    kTrailerBytes;

// The part of the work area a sprite's pixels take: what the file keeps.
int keptWidth(const SpriteRecord& r) { return std::clamp(r.widthPixels(), 0, kBufferWidth); }
int keptHeight(const SpriteRecord& r) { return std::clamp(r.heightPixels(), 0, kBufferHeight); }

void put(std::uint8_t* at, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint64_t get(const std::uint8_t* at, int bytes)
{
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) value |= static_cast<std::uint64_t>(at[i]) << (8 * i);
    return value;
}

std::optional<RecoveryContents> damaged(std::string* why, const char* reason)
{
    if (why) *why = reason;
    return std::nullopt;
}

} // namespace

RecoveryPiece recoveryPiece(const RomDocument& document, int sprite)
{
    const SpriteRecord& r = document.spriteStore[sprite];
    const int width = keptWidth(r), height = keptHeight(r);
    auto piece = std::make_shared<std::vector<std::uint8_t>>(kSpriteHeaderBytes + width * height);
    std::uint8_t* p = piece->data();
    put(p, static_cast<std::uint32_t>(sprite), 2);
    p[2] = static_cast<std::uint8_t>(width);
    p[3] = static_cast<std::uint8_t>(height);
    p += kSpriteHeaderBytes;
    // Only the sprite's own rows and columns: the rest of the work area
    // is never saved, and most sprites are far smaller than it. A pixel's
    // colour index is its low four bits, all that a save writes and all
    // that a reader accepts.
    for (int y = 0; y < height; ++y, p += width)
        std::transform(r.pixels.data() + y * kBufferWidth, r.pixels.data() + y * kBufferWidth + width, p,
                       [](std::uint8_t v) { return static_cast<std::uint8_t>(v & 15); });
    return piece;
}

void assembleRecovery(const RecoveryInfo& info, const std::vector<RecoveryPiece>& pieces,
                      std::vector<std::uint8_t>& out)
{
    const std::size_t pathBytes = std::min<std::size_t>(info.romPath.size(), kMaxPathBytes);
    const std::size_t titleBytes = info.romTitle.size() == kRecoveryTitleBytes ? kRecoveryTitleBytes : 0;
    std::size_t total = kHeaderBytes + pathBytes + titleBytes + kTrailerBytes;
    for (const RecoveryPiece& piece : pieces) total += piece->size();
    out.resize(total); // keeps its capacity: no allocation once it has grown
    std::uint8_t* p = out.data();
    std::memcpy(p, kMagic, sizeof kMagic);
    put(p + 8, kVersion, 4);
    put(p + 12, static_cast<std::uint32_t>(pieces.size()), 4);
    put(p + 16, info.romKey.device, 8);
    put(p + 24, info.romKey.inode, 8);
    put(p + 32, static_cast<std::uint64_t>(info.savedAt), 8);
    put(p + 40, info.spriteAreaCrc, 4);
    put(p + 44, pathBytes, 4);
    std::memcpy(p + kHeaderBytes, info.romPath.data(), pathBytes);
    p += kHeaderBytes + pathBytes;
    for (const RecoveryPiece& piece : pieces) {
        std::memcpy(p, piece->data(), piece->size());
        p += piece->size();
    }
    std::memcpy(p, info.romTitle.data(), titleBytes);
    put(p + titleBytes, 0, 4);
}

void snapshotRecovery(const RecoveryInfo& info, const RomDocument& document,
                      std::vector<std::uint8_t>& out)
{
    std::vector<RecoveryPiece> pieces;
    for (int sprite = 0; sprite < kSpriteCount; ++sprite)
        if (document.spriteEdited[sprite]) pieces.push_back(recoveryPiece(document, sprite));
    assembleRecovery(info, pieces, out);
}

void sealRecovery(std::vector<std::uint8_t>& bytes)
{
    if (bytes.size() < kTrailerBytes) return;
    const std::size_t body = bytes.size() - kTrailerBytes;
    put(bytes.data() + body, crc32Of(std::span(bytes.data(), body)), 4);
}

std::optional<RecoveryContents> decodeRecovery(std::span<const std::uint8_t> bytes, std::string* why)
{
    if (bytes.size() < kHeaderBytes + kTrailerBytes) return damaged(why, "the file is cut short");
    const std::uint8_t* p = bytes.data();
    if (std::memcmp(p, kMagic, sizeof kMagic) != 0) return damaged(why, "it is no recovery file");
    if (get(p + 8, 4) != kVersion) return damaged(why, "it was written by another version of the program");
    const std::uint64_t count = get(p + 12, 4);
    const std::uint64_t pathBytes = get(p + 44, 4);
    const std::size_t body = bytes.size() - kTrailerBytes;
    if (get(p + body, 4) != crc32Of(std::span(p, body))) return damaged(why, "its checksum does not match");
    if (count > kSpriteCount || pathBytes > kMaxPathBytes || kHeaderBytes + pathBytes > body)
        return damaged(why, "its header is damaged");

    RecoveryContents contents;
    contents.info.romKey = {get(p + 16, 8), get(p + 24, 8)};
    contents.info.savedAt = static_cast<std::int64_t>(get(p + 32, 8));
    contents.info.spriteAreaCrc = static_cast<std::uint32_t>(get(p + 40, 4));
    contents.info.romPath.assign(reinterpret_cast<const char*>(p + kHeaderBytes), pathBytes);
    contents.sprites.resize(count);
    std::size_t at = kHeaderBytes + pathBytes;
    long previous = -1;
    for (RecoveredSprite& sprite : contents.sprites) {
        if (body - at < kSpriteHeaderBytes) return damaged(why, "it holds fewer sprites than it says");
        const long number = static_cast<long>(get(p + at, 2));
        const int width = p[at + 2], height = p[at + 3];
        if (number >= kSpriteCount || number <= previous)
            return damaged(why, "it names a sprite that does not exist or names one twice");
        if (width > kBufferWidth || height > kBufferHeight) return damaged(why, "a sprite is larger than any can be");
        const CatalogueEntry& entry = spriteCatalogue()[number];
        if (width > entry.widthTiles * 8 || height > entry.heightTiles * 8)
            return damaged(why, "a sprite is larger than that sprite is");
        at += kSpriteHeaderBytes;
        if (body - at < static_cast<std::size_t>(width * height))
            return damaged(why, "it holds fewer pixels than it says");
        // Colour indices are four bits: a higher value was never drawn.
        if (std::any_of(p + at, p + at + width * height, [](std::uint8_t v) { return v >= 16; }))
            return damaged(why, "a pixel holds a colour no palette has");
        previous = number;
        sprite.sprite = static_cast<int>(number);
        sprite.width = width;
        sprite.height = height;
        for (int y = 0; y < height; ++y, at += width)
            std::memcpy(sprite.pixels.data() + y * kBufferWidth, p + at, width);
    }
    if (body - at == kRecoveryTitleBytes)
        contents.info.romTitle.assign(reinterpret_cast<const char*>(p + at), kRecoveryTitleBytes);
    else if (at != body)
        return damaged(why, "the file is longer than its contents");
    if (why) why->clear();
    return contents;
}

std::string recoveryTitle(const RomDocument& document)
{
    std::array<std::uint8_t, kRecoveryTitleBytes> title{};
    if (!document.romFile.read(kCopierTitleOffset, title).ok) return {};
    return std::string(title.begin(), title.end());
}

std::uint32_t spriteAreaChecksum(const SpriteAreaBytes& area) { return crc32Of(area); }

std::string recoveryFileName(const std::string& canonicalPath)
{
    // FNV-1a, 64 bits: the file's own contents name the ROM, so a clash of
    // two paths is noticed, never taken for the other ROM's edits.
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (unsigned char c : canonicalPath) hash = (hash ^ c) * 0x100000001b3ULL;
    std::string name = baseName(canonicalPath).substr(0, 100);
    if (!name.empty() && name[0] == '.') name[0] = '_'; // never a hidden file
    char suffix[40];
    std::snprintf(suffix, sizeof suffix, "-%016llx.recovery", static_cast<unsigned long long>(hash));
    return name + suffix;
}

std::string recoveryDirectory() { return stateDirectory("recovery"); }

std::string canonicalRomPath(const std::string& path)
{
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
        std::string result = resolved;
        std::free(resolved);
        return result;
    }
    if (!path.empty() && path[0] == '/') return path;
    char cwd[PATH_MAX];
    if (!::getcwd(cwd, sizeof cwd)) return path;
    return std::string(cwd) + "/" + path;
}

Outcome<std::optional<RecoveryContents>> readRecoveryFile(const std::string& dir, const std::string& name,
                                                          FileIo& io)
{
    using Result = Outcome<std::optional<RecoveryContents>>;
    const std::string path = dir + "/" + name;
    FileStatus status;
    if (io.pathStatus(path.c_str(), status) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return Result::success(std::nullopt);
        return Result::failure(because(path, errno));
    }
    // A folder others may write could hold anyone's file: nothing in it is
    // used. The writer says so once it is to keep edits there.
    if (!checkStateFolder(dir, io).ok) return Result::success(std::nullopt);
    const auto bytes = readWholeFile(path, kMaxFileBytes, io);
    if (!bytes) return Result::failure(bytes.error);
    std::string why;
    std::optional<RecoveryContents> contents = decodeRecovery(bytes.value, &why);
    if (!contents) return Result::failure(why);
    return Result::success(std::move(contents));
}

RecoveryMatch matchRecovery(const RecoveryInfo& file, const RecoveryInfo& rom)
{
    if (file.romPath == rom.romPath) return RecoveryMatch::SamePath;
    if (file.romKey != FileKey{} && file.romKey == rom.romKey) return RecoveryMatch::SameFile;
    // A file written before titles were kept is matched by its sprite area.
    const bool sameTitle = file.romTitle.empty() || file.romTitle == rom.romTitle;
    if (sameTitle && file.spriteAreaCrc == rom.spriteAreaCrc) return RecoveryMatch::SameContents;
    return RecoveryMatch::None;
}

bool romLeftItsPath(const RecoveryInfo& file, FileIo& io)
{
    FileStatus status;
    if (io.pathStatus(file.romPath.c_str(), status) != 0) return errno == ENOENT || errno == ENOTDIR;
    return status.key != file.romKey;
}

RecoveryFolder listRecoveryFiles(const std::string& dir, FileIo& io)
{
    RecoveryFolder folder;
    std::vector<std::string> names;
    if (!checkStateFolder(dir, io).ok || io.listFolder(dir.c_str(), names) != 0) return folder;
    std::sort(names.begin(), names.end());
    constexpr std::string_view kSuffix = ".recovery";
    for (const std::string& name : names) {
        if (!name.ends_with(kSuffix)) continue;
        Outcome<std::optional<RecoveryContents>> read = readRecoveryFile(dir, name, io);
        if (!read.ok) folder.unusable.push_back(name + ": " + read.error);
        else if (read.value) folder.usable.push_back({name, std::move(*read.value)});
    }
    std::stable_sort(folder.usable.begin(), folder.usable.end(), [](const FoundRecovery& a, const FoundRecovery& b) {
        return a.contents.info.savedAt > b.contents.info.savedAt;
    });
    return folder;
}

std::optional<FoundRecovery> findMovedRecovery(const std::vector<FoundRecovery>& files, const RecoveryInfo& rom,
                                               FileIo& io)
{
    const FoundRecovery* best = nullptr;
    RecoveryMatch bestMatch = RecoveryMatch::None;
    for (const FoundRecovery& found : files) { // newest first: the first of equals wins
        const RecoveryInfo& info = found.contents.info;
        const RecoveryMatch match = matchRecovery(info, rom);
        if (match != RecoveryMatch::SameFile && match != RecoveryMatch::SameContents) continue;
        // A ROM still at its path keeps its own file: a copy of it opened
        // elsewhere is offered nothing.
        if (found.contents.sprites.empty() || !romLeftItsPath(info, io)) continue;
        if (!best || (match == RecoveryMatch::SameFile && bestMatch != RecoveryMatch::SameFile)) {
            best = &found;
            bestMatch = match;
        }
    }
    if (!best) return std::nullopt;
    return *best;
}

} // namespace tessel
