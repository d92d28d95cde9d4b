// What the picture import and export read of a sprite: its pixel store, its
// size and its palette, without tying the layer to the editor's records.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "rom/palette_codec.h"

namespace tessel {

struct SpriteView {
    // kBufferSize bytes, 64 a row: pixel (x, y) is byte y * 64 + x, its
    // colour index the low four bits.
    const std::uint8_t* pixels = nullptr;
    int width = 0, height = 0; // in pixels, at most 64 x 80
    int palette = 0;           // which of the palettes it is drawn with
};

// Empty when the view can be read (pixels given, size within 1..64 x 1..80,
// palette below `paletteCount`); otherwise why not, naming it `name`.
std::string checkSpriteView(const SpriteView& sprite, int paletteCount, const std::string& name);

// The editor's record of a sprite, as the pictures read it.
inline SpriteView spriteViewOf(const SpriteRecord& record)
{
    return SpriteView{record.pixels.data(), record.widthPixels(), record.heightPixels(), record.paletteIndex};
}

// Every sprite of the store, in order, for the sheet.
inline std::vector<SpriteView> spriteViewsOf(std::span<const SpriteRecord> store)
{
    std::vector<SpriteView> views;
    views.reserve(store.size());
    for (const SpriteRecord& record : store) views.push_back(spriteViewOf(record));
    return views;
}

} // namespace tessel
