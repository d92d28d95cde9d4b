// The demo ROM that `make run` opens: the synthetic image's header, title
// and filler, with every sprite drawn as pixel art (knights, trees, slimes,
// potions, coins, chests, grass and brick tiles, each scaled to its
// sprite's size) and 32 palettes laid out as a game's: 0 transparent, 1 the
// dark outline, 2-3 skin, 4-5 clothing (its hue differs per palette), 6-8
// greens, 9-10 browns, 11-13 metal, 14 gold, 15 highlight. Sprite 0, the
// first shown, is a knight on grass with no pixel in colour 0, so that a
// first pencil stroke in colour 0 shows.
#pragma once

#include <cstdint>
#include <vector>

namespace tessel::testing {

// The copier image; a dump is the same bytes without the first 512.
std::vector<std::uint8_t> buildDemoRom();

} // namespace tessel::testing
