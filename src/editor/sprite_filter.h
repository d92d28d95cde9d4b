// The Sprite Overview's filter: which of the 1144 sprites a line of terms
// lets through, from the document (number, size in tiles, palette, edit
// mark) and from tags that other parts of the program give each sprite (a
// name, a star, "differs from the ROM it is compared with").
//
// Call flow: parseSpriteFilter(text) -> a filter, or the first term it
// cannot read -> filterSprites(filter, document, tags) -> the sprite
// numbers that pass, in order. tags is asked only when the filter needs
// it (a name word, "starred", "differs").
//
// Terms are separated by spaces or commas, case does not matter:
//   18  100-120        a sprite number or a range of them (either order)
//   2x2                width x height in 8-pixel tiles
//   p5                 palette 0..31
//   edited             edited and not saved yet
//   starred  differs   as the tags say
//   anything else      a word that the sprite's name holds
// Terms of one kind widen ("18,30" is sprite 18 or 30, "2x2 4x4" either
// size); the kinds narrow ("p5 2x3" is of palette 5 and 2 x 3 tiles), and
// so does every word: "edited starred" and "red knight" need both.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/rom_document.h"

namespace tessel {

struct SpriteTags {
    std::string name;
    bool starred = false;
    bool differs = false;
};
using SpriteTagsSource = std::function<SpriteTags(int sprite)>;

struct SpriteFilter {
    struct Range {
        int first, last; // inclusive
    };
    struct Size {
        int widthTiles, heightTiles;
    };
    std::vector<Range> numbers;
    std::vector<Size> sizes;
    std::vector<int> palettes;
    bool edited = false;
    bool starred = false;
    bool differs = false;
    std::vector<std::string> words; // lower case

    bool empty() const;
    bool needsTags() const { return starred || differs || !words.empty(); }
};

// Why a term could not be read; `term` is the term as typed.
struct FilterProblem {
    enum class Kind {
        None,
        NoSuchSprite,  // a number or a range end past 1143
        BadRange,      // "12-", "-4", "1-2-3"
        NoSuchSize,    // a size no sprite can have (width 1..8, height 1..10)
        NoSuchPalette, // "p32"
    };
    Kind kind = Kind::None;
    std::string term;
};

struct ParsedFilter {
    SpriteFilter filter;
    FilterProblem problem; // kind None when every term was read
};

ParsedFilter parseSpriteFilter(std::string_view text);

bool spritePasses(const SpriteFilter& filter, const RomDocument& document, int sprite,
                  const SpriteTagsSource& tags);
std::vector<int> filterSprites(const SpriteFilter& filter, const RomDocument& document,
                               const SpriteTagsSource& tags);

} // namespace tessel
