#include "interchange/clipboard_picture.h"

#include <algorithm>

#include "interchange/png_image.h"
#include "interchange/sprite_png.h"
#include "model/sprite_area.h"
#include "selection/clipboard.h"

namespace tessel {

Outcome<std::vector<std::uint8_t>> copyAsPicture(const EditorState& state)
{
    using Result = Outcome<std::vector<std::uint8_t>>;
    if (!state.hasSprite()) return Result::failure("No sprite is shown");
    const SpriteRecord& sprite = state.current();
    const DisplayPalette& colours = state.document.displayPalettes[sprite.paletteIndex];
    const Rect& r = state.selection.selectionRect;
    if (r.isEmpty()) return exportSpritePng(spriteViewOf(sprite), colours);
    PixelBuffer block{};
    int width = std::min(r.width(), kBufferWidth), height = std::min(r.height(), kBufferHeight);
    if (state.selection.selectionFloating) {
        block = state.selection.floatingPixels;
    } else {
        const Rect part = clipToSprite(state, r);
        if (part.isEmpty()) return Result::failure("The selection lies off the sprite");
        width = part.width();
        height = part.height();
        for (int y = 0; y < height; ++y)
            std::copy_n(sprite.pixels.data() + (part.top + y) * kBufferWidth + part.left, width,
                        block.data() + y * kBufferWidth);
    }
    return exportSpritePng(SpriteView{block.data(), width, height, sprite.paletteIndex}, colours);
}

Outcome<PictureBlock> pictureAsBlock(std::span<const std::uint8_t> png, const RawPalette& raw)
{
    using Result = Outcome<PictureBlock>;
    const auto decoded = decodePng(png, {kBufferWidth, kBufferHeight});
    if (!decoded.ok) {
        if (decoded.value.width > 0)
            return Result::failure("The picture is " + std::to_string(decoded.value.width) + " × " +
                                   std::to_string(decoded.value.height) +
                                   " pixels; at most 64 × 80 can be pasted");
        return Result::failure(decoded.error);
    }
    PictureBlock block;
    block.width = decoded.value.width;
    block.height = decoded.value.height;
    const auto pixels = importSpritePng(png, SpriteView{block.pixels.data(), block.width, block.height, 0}, raw);
    if (!pixels.ok) return Result::failure(pixels.error);
    block.pixels = pixels.value;
    return Result::success(block);
}

void pasteBlock(EditorState& state, const PictureBlock& block)
{
    const PixelBuffer ownPixels = state.clipboard.clipboardPixels;
    const Rect ownRect = state.clipboard.clipboardRect;
    state.clipboard.clipboardPixels = block.pixels;
    state.clipboard.clipboardRect = {0, 0, block.width, block.height};
    pasteClipboard(state);
    state.clipboard.clipboardPixels = ownPixels;
    state.clipboard.clipboardRect = ownRect;
}

} // namespace tessel
