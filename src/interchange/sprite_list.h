// A list of sprites as the user types it for the animation preview:
// numbers and ranges separated by commas ("18-21,30" is 18, 19, 20, 21, 30).
// A range may run downwards ("21-18"), spaces around the parts are allowed,
// and a sprite may come more than once. A list of only spaces is empty.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessel {

inline constexpr int kMaxListFrames = 4096;
inline constexpr std::size_t kMaxListText = 1000; // characters

enum class ListFault {
    None,
    NotANumber,   // `item` is neither a number nor a range
    OutOfRange,   // `item` names a sprite the catalogue does not have
    EmptyItem,    // two commas with nothing between them, or one at an end
    TooManyFrames,
    TooLong,      // more than kMaxListText characters
};

struct SpriteList {
    std::vector<int> frames;
    ListFault fault = ListFault::None;
    std::string item; // the offending part, trimmed
    bool ok() const { return fault == ListFault::None; }
};

SpriteList parseSpriteList(std::string_view text);

} // namespace tessel
