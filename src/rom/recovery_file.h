// The recovery file: the unsaved edits of one ROM, kept on the disk while
// the user works so that a crash, a kill or a power cut loses at most the
// last moments of work. One file per ROM, under
// $XDG_STATE_HOME/tessel/recovery/, named after the ROM's canonical path.
//
// Layout, little-endian:
//   "TSLRECOV"  u32 version (1)  u32 sprite count N
//   u64 device  u64 inode  i64 saved at (seconds since the epoch)
//   u32 CRC-32 of the ROM's sprite area as last read or written
//   u32 path length L, L bytes of the ROM's canonical path
//   N times: u16 sprite number (ascending), u8 width W, u8 height H (the
//            sprite's size in pixels), W x H pixel bytes row by row
//   21 bytes: the ROM's internal title (absent from files written before
//            it was kept)
//   u32 CRC-32 of everything before it
//
// A file is the ROM's when it names the ROM's path, or, once the ROM has
// left the path the file names, when it names the same file (device and
// inode: a rename or a move within its file system) or the same title and
// sprite area (a move to another file system, or a copy).
//
// Writing is split so that the window's thread only copies pixels: it
// makes a recoveryPiece() of each edited sprite (cheap, on the thread that
// owns the sprites); the writer thread (rom/recovery_writer.h) puts them
// together with assembleRecovery() and adds the checksum with
// sealRecovery(). snapshotRecovery() does the first two steps at once, for
// tests and benchmarks.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "file/file_io.h"
#include "file/outcome.h"
#include "model/rom_document.h"

namespace tessel {

inline constexpr int kRecoveryTitleBytes = 21; // the internal header's game title

struct RecoveryInfo {
    std::string romPath; // canonical
    FileKey romKey;      // zero when it could not be had
    std::int64_t savedAt = 0;
    std::uint32_t spriteAreaCrc = 0;
    std::string romTitle = {}; // kRecoveryTitleBytes, or empty when not known
};

struct RecoveredSprite {
    int sprite = 0;
    int width = 0, height = 0; // the part of `pixels` the file held
    PixelBuffer pixels{};      // 0 outside that part
};

struct RecoveryContents {
    RecoveryInfo info;
    std::vector<RecoveredSprite> sprites;
};

// One edited sprite as the file holds it: its number, width and height, and
// its own rows of pixels (its width and height of the work area, all a save
// can write). Never changed once made, so that the writer thread can read
// it while the window goes on editing, and a sprite that did not change can
// hand the same piece to the next file.
using RecoveryPiece = std::shared_ptr<const std::vector<std::uint8_t>>;
RecoveryPiece recoveryPiece(const RomDocument& document, int sprite);

// Writes `info` and the pieces (in sprite order) into `out`, reusing its
// memory; the trailing checksum is left for sealRecovery().
void assembleRecovery(const RecoveryInfo& info, const std::vector<RecoveryPiece>& pieces,
                      std::vector<std::uint8_t>& out);
// The same with a piece for every sprite marked edited in `document`, made
// on the spot (tests and benchmarks; the keeper hands the writer pieces).
void snapshotRecovery(const RecoveryInfo& info, const RomDocument& document,
                      std::vector<std::uint8_t>& out);
void sealRecovery(std::vector<std::uint8_t>& bytes);

// The contents of a sealed recovery file; nothing (and the reason in
// `why`) for a file that is damaged, cut short or of another version, or
// that holds what no edit can make, whatever its checksum says: a pixel
// value of 16 or more, a sprite the catalogue does not have, or a sprite
// wider or taller than the catalogue makes it.
std::optional<RecoveryContents> decodeRecovery(std::span<const std::uint8_t> bytes, std::string* why = nullptr);

// The kRecoveryTitleBytes of the internal header of the open ROM (0xFF
// past the end of the file); empty when they cannot be read.
std::string recoveryTitle(const RomDocument& document);

// CRC-32 of the ROM's sprite area (kSpriteAreaBegin..kSpriteAreaEnd), such
// as the editor's copy of it as last read or written (diskSpriteArea).
std::uint32_t spriteAreaChecksum(const SpriteAreaBytes& area);

// The recovery file's name for the ROM at `canonicalPath`: the ROM's own
// name (for a person looking into the folder) and a hash of the whole path.
std::string recoveryFileName(const std::string& canonicalPath);

// The folder of recovery files (see stateDirectory()).
std::string recoveryDirectory();

// The absolute path without symbolic links, "." or ".."; `path` itself made
// absolute when the file cannot be resolved.
std::string canonicalRomPath(const std::string& path);

// Reads and decodes dir/name: nothing (and success) when there is no such
// file, a failure with the reason when it cannot be read or is damaged. A
// pipe or device there is refused unread; a folder that others may write
// (see checkStateFolder) is not looked into.
// Call flow: pathStatus -> checkStateFolder -> readWholeFile -> decodeRecovery.
Outcome<std::optional<RecoveryContents>> readRecoveryFile(const std::string& dir, const std::string& name,
                                                          FileIo& io = systemFileIo());

// How a recovery file's `file` belongs to the ROM described by `rom`.
enum class RecoveryMatch { None, SamePath, SameFile, SameContents };
RecoveryMatch matchRecovery(const RecoveryInfo& file, const RecoveryInfo& rom);

// Whether the path `file` names no longer holds the ROM it was written for:
// nothing is there, or another file (another device and inode) is.
bool romLeftItsPath(const RecoveryInfo& file, FileIo& io = systemFileIo());

struct FoundRecovery {
    std::string name; // in the recovery folder
    RecoveryContents contents;
};
struct RecoveryFolder {
    std::vector<FoundRecovery> usable;  // newest first
    std::vector<std::string> unusable;  // "name: reason"
};
// Every recovery file in `dir` (names ending in ".recovery"), read and
// checked as readRecoveryFile() does; nothing when the folder is missing
// or may not be used.
// Call flow: checkStateFolder -> listFolder -> readRecoveryFile per name.
RecoveryFolder listRecoveryFiles(const std::string& dir, FileIo& io = systemFileIo());

// Among `files`, the one of the ROM `rom` after it moved: a file naming
// another path that the ROM has left, and the same file (preferred) or the
// same title and sprite area; the newest of equals. Nothing when none is.
std::optional<FoundRecovery> findMovedRecovery(const std::vector<FoundRecovery>& files, const RecoveryInfo& rom,
                                               FileIo& io = systemFileIo());

} // namespace tessel
