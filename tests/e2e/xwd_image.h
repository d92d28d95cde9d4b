// A screen picture read from an X window dump (XWD, the format of `xwd` and
// of the virtual X server's frame buffer file). Only what a true-colour
// screen gives is read: ZPixmap, 24 or 32 bits per pixel, either byte order,
// components placed by the colour masks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessel::e2e {

struct Rgb {
    int r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

std::string toString(const Rgb& c);

class XwdImage {
public:
    int width() const { return width_; }
    int height() const { return height_; }
    // Pixel (x, y) of the screen; (0, 0, 0) outside it.
    Rgb at(int x, int y) const;

    // Parses a dump; throws std::runtime_error on anything it cannot read.
    static XwdImage parse(const std::vector<std::uint8_t>& bytes);
    static XwdImage load(const std::string& path);

private:
    int width_ = 0, height_ = 0;
    std::vector<Rgb> pixels_;
};

} // namespace tessel::e2e
