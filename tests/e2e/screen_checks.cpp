#include "e2e/screen_checks.h"

#include <thread>

namespace tessel::e2e {

namespace {
constexpr Rgb kCanvasGrey{127, 127, 127};
constexpr Rgb kBlack{0, 0, 0};
} // namespace

std::string checkArea(const XwdImage& screen, ScreenPoint origin, int w, int h,
                      const ExpectedPixel& expected, const std::string& what)
{
    int wrong = 0;
    std::string first;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgb want = expected(x, y), got = screen.at(origin.x + x, origin.y + y);
            if (want == got) continue;
            if (wrong++ == 0)
                first = " first at (" + std::to_string(x) + ", " + std::to_string(y) + "): expected " +
                        toString(want) + ", screen shows " + toString(got);
        }
    if (wrong == 0) return {};
    return what + ": " + std::to_string(wrong) + " pixels differ;" + first + "; ";
}

std::string checkPixel(const XwdImage& screen, ScreenPoint p, Rgb expected, const std::string& what)
{
    const Rgb got = screen.at(p.x, p.y);
    if (got == expected) return {};
    return what + " shows " + toString(got) + ", expected " + toString(expected) + "; ";
}

std::string checkCanvas(const XwdImage& screen, ScreenPoint client, const SpriteModel& sprite,
                        const DisplayColours& colours)
{
    // Client pixels (2, 2) to (418, 328): the field inside its edge.
    const ScreenPoint inside{client.x + 2, client.y + 2};
    return checkArea(
        screen, inside, 416, 326,
        [&](int x, int y) {
            // (x, y) is client (x + 2, y + 2): sprite pixel (x / 4, y / 4).
            if (x < 256 && y < 320 && sprite.inside(x / 4, y / 4))
                return colours.colour[sprite.at(x / 4, y / 4)];
            return kCanvasGrey;
        },
        "canvas of sprite " + std::to_string(sprite.number));
}

std::string checkBoxedSprite(const XwdImage& screen, ScreenPoint box, const SpriteModel& sprite,
                             const DisplayColours& colours, const std::string& what)
{
    const int left = 32 - sprite.width / 2, top = 40 - sprite.height / 2;
    return checkArea(
        screen, box, 64, 80,
        [&](int x, int y) {
            return sprite.inside(x - left, y - top) ? colours.colour[sprite.at(x - left, y - top)]
                                                    : kBlack;
        },
        what + " of sprite " + std::to_string(sprite.number));
}

std::string waitForScreen(const XServer& server, const std::function<std::string(const XwdImage&)>& check,
                          std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        const std::string finding = check(server.screenshot());
        if (finding.empty() || std::chrono::steady_clock::now() > deadline) return finding;
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
}

} // namespace tessel::e2e
