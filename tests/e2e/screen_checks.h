// Pixel-by-pixel comparisons of a screenshot with what the editor must show.
// Each returns an empty string when every pixel is as expected, and
// otherwise how many differ and where the first one is.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "e2e/desktop.h"
#include "e2e/sprite_model.h"

namespace tessel::e2e {

using ExpectedPixel = std::function<Rgb(int x, int y)>;

// The w x h area at `origin` against `expected` (area coordinates).
std::string checkArea(const XwdImage& screen, ScreenPoint origin, int w, int h,
                      const ExpectedPixel& expected, const std::string& what);

// One pixel of the screen.
std::string checkPixel(const XwdImage& screen, ScreenPoint p, Rgb expected, const std::string& what);

// The canvas of the main window whose client area starts at `client`: a
// grey (127, 127, 127) field holding, from client (2, 2), the 64 x 80 work
// area magnified four times, sprite pixels in their colours and the rest
// grey. The field's two-pixel edge is the platform's and is not compared.
std::string checkCanvas(const XwdImage& screen, ScreenPoint client, const SpriteModel& sprite,
                        const DisplayColours& colours);

// A 64 x 80 black box with the sprite centred in it, at (32 - w / 2,
// 40 - h / 2): the preview, a browser thumbnail, the information picture.
std::string checkBoxedSprite(const XwdImage& screen, ScreenPoint box, const SpriteModel& sprite,
                             const DisplayColours& colours, const std::string& what);

// Takes screenshots until `check` finds nothing wrong or `limit` has passed;
// returns the last finding (empty: all was well).
std::string waitForScreen(const XServer& server, const std::function<std::string(const XwdImage&)>& check,
                          std::chrono::milliseconds limit = std::chrono::seconds(10));

} // namespace tessel::e2e
