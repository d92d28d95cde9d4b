// Names and stars the user gives sprites, and the animation preview's
// settings: they belong to the game, not to one ROM file, so they are kept
// per game title (the ROM header's internal title) in a small JSON file of
// the user's data folder, $XDG_DATA_HOME/tessel/ (~/.local/share/tessel/).
// Nothing of this is ever written into the ROM.
//
// The file:
//   {"format": "tessel-sprite-names", "version": 1, "game": "OAKEN SHORE",
//    "sprites": [{"sprite": 18, "name": "Hero, walking", "star": true}, ...],
//    "preview": {"sprites": "18-21,30", "fps": 8, "zoom": 2}}
// "name" and "star" are each optional in an entry; "preview" is optional.
//
// The folder is file/state_files.h's dataDirectory().
// loadGameNames: linkStatus (no file: no names) -> readWholeFile ->
//                namesFromJson -> a file that fails is renamed NAME.damaged
//                (NAME.1.damaged ... when that is taken), never removed.
// saveGameNames: makeDirectories -> namesToJson -> replaceFile (durable).
// Export and import: writeWholeFile / readWholeFile with the same checks.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>

#include "file/file_io.h"
#include "file/outcome.h"

namespace tessel {

inline constexpr std::size_t kMaxNameCharacters = 80; // Unicode characters
inline constexpr int kMinPreviewFps = 1, kMaxPreviewFps = 30;
inline constexpr int kMinPreviewZoom = 1, kMaxPreviewZoom = 8;

struct PreviewSettings {
    std::string sprites; // as typed, see interchange/sprite_list.h
    int fps = 8;
    int zoom = 2;
    friend bool operator==(const PreviewSettings&, const PreviewSettings&) = default;
};

// A name as it is kept: control characters become spaces, runs of
// spaces one, no spaces at the ends, at most kMaxNameCharacters.
std::string tidyName(std::string_view name);

class SpriteNames {
public:
    // Empty when the sprite has no name (or is out of range).
    std::string name(int sprite) const;
    bool starred(int sprite) const;
    // Both return whether anything changed. An empty (tidied) name removes
    // it; sprites outside the catalogue are refused.
    bool setName(int sprite, std::string_view name);
    bool setStarred(int sprite, bool starred);

    int nameCount() const { return static_cast<int>(names_.size()); }
    int starCount() const { return static_cast<int>(stars_.size()); }
    bool empty() const { return names_.empty() && stars_.empty(); }
    const std::map<int, std::string>& names() const { return names_; }
    const std::set<int>& stars() const { return stars_; }

    PreviewSettings preview;

    friend bool operator==(const SpriteNames&, const SpriteNames&) = default;

private:
    std::map<int, std::string> names_;
    std::set<int> stars_;
};

struct MergeCount {
    int names = 0; // names taken (new or different from ours)
    int stars = 0; // stars added
};

// Takes `other`'s names (they win over ours) and stars (added to ours);
// our names and stars that `other` lacks stay, and so does our preview.
MergeCount mergeNames(SpriteNames& into, const SpriteNames& other);

// The game title as the file keeps it: printable ASCII, the padding
// (spaces, NULs, 0xFF) at the end left out.
std::string gameTitleText(std::string_view title);
// The file's name in the data folder for the ROM header's `title`: the
// title's letters and digits, then a hash of the title, so that two titles
// never share a file ("OAKEN_SHORE-1b2c3d4e.json").
std::string namesFileName(std::string_view title);
std::string namesToJson(const SpriteNames& names, std::string_view title);
// The names, or why the text is not a names file (bad JSON, wrong types,
// sprites out of range, names too long, another version).
Outcome<SpriteNames> namesFromJson(std::string_view text);

struct LoadedNames {
    SpriteNames names;
    // Not empty when the file could not be used: what happened to it, in a
    // sentence for the user.
    std::string notice;
    // False when a file that could not be used is still in the way (it
    // could not be set aside): it must not be written over.
    bool writable = true;
};

LoadedNames loadGameNames(const std::string& dir, std::string_view title, FileIo& io = systemFileIo());
IoResult saveGameNames(const std::string& dir, std::string_view title, const SpriteNames& names,
                       FileIo& io = systemFileIo());

// Export and import to a file of the user's choosing.
IoResult exportNames(const std::string& path, std::string_view title, const SpriteNames& names,
                     FileIo& io = systemFileIo());
Outcome<SpriteNames> readNamesFile(const std::string& path, FileIo& io = systemFileIo());

} // namespace tessel
