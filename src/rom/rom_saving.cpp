// Saving sprites into the open ROM. Sprites are encoded in
// memory, compared with what the file holds, and only the bytes that differ
// are written, one write per contiguous run. Nothing is ever written past
// the end of the file, and every failure is returned with its reason.
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "rom/rom_session.h"
#include "rom/sprite_catalogue.h"
#include "rom/tile_codec.h"

namespace tessel {

namespace {

constexpr int kMaxSpriteBytes = 80 * kTileBytes;

// What the file holds and what the sprites encode to, for the whole sprite
// area; static so that saving allocates nothing (one thread only).
std::array<std::uint8_t, kSpriteAreaBytes> fileBytes;
std::array<std::uint8_t, kSpriteAreaBytes> encodedBytes;

bool hasTiles(const SpriteRecord& r)
{
    return r.widthTiles > 0 && r.heightTiles > 0 && r.widthTiles * 8 <= kBufferWidth &&
           r.heightTiles * 8 <= kBufferHeight;
}

bool insideArea(const SpriteRecord& r)
{
    const long long end = r.romOffset + 1LL * r.widthTiles * r.heightTiles * kTileBytes;
    return r.romOffset >= kSpriteAreaBegin && end <= kSpriteAreaEnd;
}

// The bytes from `offset` on that belong to whole tiles inside a file of
// `size` bytes (a tile is written whole or not at all), at most `count`.
long long writableBytes(long long offset, long long count, long long size)
{
    if (size <= offset) return 0;
    return std::min(count, (size - offset) / kTileBytes * kTileBytes);
}

SaveResult failed(std::string why) { return {false, std::move(why), {}}; }

// Writes each run of bytes where `encoded` differs from `current`.
IoResult writeChangedRuns(RomFile& file, long long base, const std::uint8_t* current,
                          const std::uint8_t* encoded, long long count)
{
    long long i = 0;
    while (i < count) {
        while (i + 8 <= count && std::memcmp(current + i, encoded + i, 8) == 0) i += 8;
        while (i < count && current[i] == encoded[i]) ++i;
        if (i >= count) break;
        const long long start = i;
        while (i < count && current[i] != encoded[i]) ++i;
        IoResult r = file.write(base + start, std::span(encoded + start, i - start));
        if (!r.ok) return r;
    }
    return IoResult::success();
}

SaveResult syncAfter(EditorState& state, SaveResult result)
{
    if (!result.ok) return result;
    if (IoResult r = state.romFile.sync(); !r.ok) return {false, r.error, result.unsavedSprites};
    return result;
}

long long fileSize(const RomFile& file, std::string& error)
{
    const long long size = file.size();
    if (size < 0) error = std::string("Cannot read the size of the ROM: ") + std::strerror(errno);
    return size;
}

} // namespace

SaveResult saveSprite(EditorState& state, int sprite)
{
    if (!state.romOpen()) return failed("No ROM is open");
    if (sprite < 0 || sprite >= kSpriteCount) return failed("No such sprite");
    const SpriteRecord& record = state.spriteStore[sprite];
    if (!hasTiles(record)) return {};
    std::string error;
    const long long size = fileSize(state.romFile, error);
    if (size < 0) return failed(error);

    const int count = record.widthTiles * record.heightTiles * kTileBytes;
    std::array<std::uint8_t, kMaxSpriteBytes> current, encoded;
    if (IoResult r = state.romFile.read(record.romOffset, std::span(current.data(), count)); !r.ok)
        return failed(r.error);
    encodeSprite(record, encoded.data());

    SaveResult result;
    const long long writable = writableBytes(record.romOffset, count, size);
    if (writable < count) result.unsavedSprites.push_back(sprite);
    IoResult r = writeChangedRuns(state.romFile, record.romOffset, current.data(), encoded.data(),
                                  writable);
    if (!r.ok) return {false, r.error, result.unsavedSprites};
    return result;
}

SaveResult saveCurrentSprite(EditorState& state)
{
    if (!state.romOpen() || !state.hasSprite()) return failed("No ROM is open");
    return syncAfter(state, saveSprite(state, state.currentSprite));
}

SaveResult saveAllSprites(EditorState& state)
{
    if (!state.romOpen()) return failed("No ROM is open");
    std::string error;
    const long long size = fileSize(state.romFile, error);
    if (size < 0) return failed(error);
    if (IoResult r = state.romFile.read(kSpriteAreaBegin, fileBytes); !r.ok) return failed(r.error);

    // Bytes between sprites keep what the file holds, so they never differ.
    encodedBytes = fileBytes;
    SaveResult result;
    for (int i = 0; i < kSpriteCount; ++i) {
        const SpriteRecord& record = state.spriteStore[i];
        if (!hasTiles(record)) continue;
        if (!insideArea(record)) {
            SaveResult one = saveSprite(state, i);
            result.unsavedSprites.insert(result.unsavedSprites.end(), one.unsavedSprites.begin(),
                                         one.unsavedSprites.end());
            if (!one.ok) return {false, one.error, result.unsavedSprites};
            continue;
        }
        encodeSprite(record, encodedBytes.data() + (record.romOffset - kSpriteAreaBegin));
        const long long count = 1LL * record.widthTiles * record.heightTiles * kTileBytes;
        if (writableBytes(record.romOffset, count, size) < count) result.unsavedSprites.push_back(i);
    }
    const long long writable = writableBytes(kSpriteAreaBegin, kSpriteAreaBytes, size);
    IoResult r = writeChangedRuns(state.romFile, kSpriteAreaBegin, fileBytes.data(),
                                  encodedBytes.data(), writable);
    if (!r.ok) return {false, r.error, result.unsavedSprites};
    std::sort(result.unsavedSprites.begin(), result.unsavedSprites.end());
    return syncAfter(state, std::move(result));
}

bool hasUnsavedEdits(const EditorState& state)
{
    if (!state.romOpen()) return false;
    // If the file cannot be read we cannot tell; say yes so that the user is
    // asked rather than edits being dropped silently.
    if (!state.romFile.read(kSpriteAreaBegin, fileBytes).ok) return true;
    std::array<std::uint8_t, kMaxSpriteBytes> encoded, outside;
    for (const SpriteRecord& record : state.spriteStore) {
        if (!hasTiles(record)) continue;
        const int count = record.widthTiles * record.heightTiles * kTileBytes;
        const std::uint8_t* current = outside.data();
        if (insideArea(record))
            current = fileBytes.data() + (record.romOffset - kSpriteAreaBegin);
        else if (!state.romFile.read(record.romOffset, std::span(outside.data(), count)).ok)
            return true;
        encodeSprite(record, encoded.data());
        if (std::memcmp(encoded.data(), current, count) != 0) return true;
    }
    return false;
}

} // namespace tessel
