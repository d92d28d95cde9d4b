#include "interchange/palette_files.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <string_view>

#include "file/durable_file.h"
#include "file/file_access.h"
#include "file/path_names.h"

namespace tessel {
namespace {

using Colours = std::vector<std::array<int, 3>>;
using Result = Outcome<RawPalette>;

constexpr std::size_t kMaxPaletteFileBytes = 1 << 20;
constexpr std::size_t kActBytes = 768;

std::array<int, 3> displayColour(const RawPalette& raw, int k)
{
    if (k == 0) return {0, 0, 0};
    return {displayComponent(raw.red[k] & 31), displayComponent(raw.green[k] & 31),
            displayComponent(raw.blue[k] & 31)};
}

void append(std::vector<std::uint8_t>& out, std::string_view text)
{
    out.insert(out.end(), text.begin(), text.end());
}

std::string_view trim(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> lines(std::span<const std::uint8_t> bytes)
{
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::vector<std::string_view> out;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) line.remove_suffix(1);
        out.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return out;
}

// Whitespace-separated words of `line`; the last word takes the rest of the
// line when `maxWords` is reached.
std::vector<std::string_view> words(std::string_view line, std::size_t maxWords)
{
    std::vector<std::string_view> out;
    line = trim(line);
    while (!line.empty()) {
        if (out.size() + 1 == maxWords) {
            out.push_back(line);
            break;
        }
        std::size_t end = 0;
        while (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end]))) ++end;
        out.push_back(line.substr(0, end));
        line = trim(line.substr(end));
    }
    return out;
}

std::optional<int> number(std::string_view word, int maxValue)
{
    int value = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size() || value < 0 || value > maxValue)
        return std::nullopt;
    return value;
}

// The three components at the start of `w`; nothing if they are not three
// numbers 0..255.
std::optional<std::array<int, 3>> colourOfWords(const std::vector<std::string_view>& w)
{
    if (w.size() < 3) return std::nullopt;
    std::array<int, 3> c{};
    for (int i = 0; i < 3; ++i) {
        const auto v = number(w[i], 255);
        if (!v) return std::nullopt;
        c[i] = *v;
    }
    return c;
}

std::string badLine(std::size_t index, std::string_view line)
{
    std::string shown(line.substr(0, 40));
    for (char& ch : shown)
        if (!std::isprint(static_cast<unsigned char>(ch))) ch = '?';
    return "Line " + std::to_string(index + 1) + " of the palette file is not a colour: \"" + shown + "\"";
}

std::string tooFew(std::size_t count)
{
    return "The palette file holds " + std::to_string(count) + (count == 1 ? " colour" : " colours") +
           "; a palette needs " + std::to_string(kColoursPerPalette);
}

Result fromColours(const Colours& colours)
{
    if (colours.size() < kColoursPerPalette) return Result::failure(tooFew(colours.size()));
    RawPalette raw;
    for (int k = 1; k < kColoursPerPalette; ++k) {
        raw.red[k] = colours[k][0] >> 3;
        raw.green[k] = colours[k][1] >> 3;
        raw.blue[k] = colours[k][2] >> 3;
    }
    return Result::success(raw);
}

Result readGimp(std::span<const std::uint8_t> bytes)
{
    const auto text = lines(bytes);
    if (text.empty() || trim(text[0]) != "GIMP Palette") return Result::failure("This is not a GIMP palette");
    Colours colours;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const std::string_view line = trim(text[i]);
        if (line.empty() || line.starts_with('#')) continue;
        if (colours.empty() && (line.starts_with("Name:") || line.starts_with("Columns:"))) continue;
        const auto c = colourOfWords(words(line, 4));
        if (!c) return Result::failure(badLine(i, text[i]));
        colours.push_back(*c);
    }
    return fromColours(colours);
}

std::uint32_t littleEndian32(std::span<const std::uint8_t> b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}

// RIFF palette: "RIFF", size, "PAL ", then chunks (id, little-endian size,
// data padded to an even length); the "data" chunk holds a version word, a
// colour count and that many (red, green, blue, flags) quadruples.
Result readRiff(std::span<const std::uint8_t> bytes)
{
    const auto id = [&](std::size_t at, std::string_view name) {
        return std::equal(name.begin(), name.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
    };
    if (bytes.size() < 12 || !id(8, "PAL ")) return Result::failure("This RIFF file is not a palette");
    for (std::size_t at = 12; bytes.size() - at >= 8;) {
        const std::size_t size = littleEndian32(bytes, at + 4);
        if (size > bytes.size() - at - 8) break;
        if (id(at, "data")) {
            if (size < 4) break;
            const std::size_t count = bytes[at + 10] | (bytes[at + 11] << 8);
            if (4 * count > size - 4) break;
            Colours colours(count);
            for (std::size_t k = 0; k < count; ++k) {
                const std::size_t c = at + 12 + 4 * k;
                colours[k] = {bytes[c], bytes[c + 1], bytes[c + 2]};
            }
            return fromColours(colours);
        }
        at += 8 + size + (size & 1);
    }
    return Result::failure("The RIFF palette is damaged: it has no whole data chunk");
}

Result readJasc(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() >= 4 && std::equal(bytes.begin(), bytes.begin() + 4, "RIFF")) return readRiff(bytes);
    auto text = lines(bytes);
    while (!text.empty() && trim(text.back()).empty()) text.pop_back();
    if (text.size() < 3 || trim(text[0]) != "JASC-PAL" || trim(text[1]) != "0100")
        return Result::failure("This is not a JASC palette");
    const auto count = number(trim(text[2]), 256);
    if (!count) return Result::failure(badLine(2, text[2]));
    Colours colours;
    for (std::size_t i = 3; i < text.size(); ++i) {
        // A fourth column is the alpha some editors write; it is passed over.
        const auto w = words(text[i], 4);
        const auto c = colourOfWords(w);
        const bool alphaFits = w.size() == 3 || (w.size() == 4 && number(w[3], 255));
        if (!c || !alphaFits || colours.size() == static_cast<std::size_t>(*count))
            return Result::failure(badLine(i, text[i]));
        colours.push_back(*c);
    }
    if (colours.size() < static_cast<std::size_t>(*count))
        return Result::failure("The palette file is cut short: it announces " + std::to_string(*count) +
                               " colours and holds " + std::to_string(colours.size()));
    return fromColours(colours);
}

Result readAdobe(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() != kActBytes && bytes.size() != kActBytes + 4)
        return Result::failure("An Adobe colour table is 768 or 772 bytes; this file has " +
                               std::to_string(bytes.size()));
    std::size_t count = 256;
    if (bytes.size() == kActBytes + 4) count = std::min<std::size_t>(256, (bytes[768] << 8) | bytes[769]);
    Colours colours(count);
    for (std::size_t k = 0; k < count; ++k)
        colours[k] = {bytes[3 * k], bytes[3 * k + 1], bytes[3 * k + 2]};
    return fromColours(colours);
}

Result readSnesWords(std::span<const std::uint8_t> bytes, int dumpPalette)
{
    if (bytes.size() != kPaletteBytes && bytes.size() != kCgramBytes)
        return Result::failure("A palette of SNES colour words is 32 bytes; this file has " +
                               std::to_string(bytes.size()) + " (a CGRAM dump has 512)");
    if (bytes.size() == kCgramBytes) {
        if (dumpPalette < 0 || dumpPalette >= kCgramPalettes)
            return Result::failure("This CGRAM dump holds palettes 0 to 15, not " + std::to_string(dumpPalette) +
                                   "; choose one of them");
        bytes = bytes.subspan(kPaletteBytes * static_cast<std::size_t>(dumpPalette), kPaletteBytes);
    }
    RawPalette raw;
    for (int k = 1; k < kColoursPerPalette; ++k) {
        const RawColour c = decodeColour(static_cast<std::uint16_t>(bytes[2 * k] | (bytes[2 * k + 1] << 8)));
        raw.red[k] = c.red;
        raw.green[k] = c.green;
        raw.blue[k] = c.blue;
    }
    return Result::success(raw);
}

} // namespace

std::optional<PaletteFileKind> paletteFileKind(const std::string& path)
{
    const std::string ext = lowerCaseExtension(path);
    if (ext == "gpl") return PaletteFileKind::Gimp;
    if (ext == "pal") return PaletteFileKind::Jasc;
    if (ext == "act") return PaletteFileKind::Adobe;
    if (ext == "bin") return PaletteFileKind::SnesWords;
    return std::nullopt;
}

std::vector<std::uint8_t> writePaletteFile(PaletteFileKind kind, const RawPalette& raw, const std::string& name,
                                           std::uint16_t highBits)
{
    std::vector<std::uint8_t> out;
    switch (kind) {
    case PaletteFileKind::Gimp: {
        std::string title = name;
        std::replace_if(title.begin(), title.end(), [](char ch) { return ch == '\n' || ch == '\r'; }, ' ');
        append(out, "GIMP Palette\nName: " + title + "\nColumns: 16\n#\n");
        for (int k = 0; k < kColoursPerPalette; ++k) {
            const auto c = displayColour(raw, k);
            char line[48];
            const int n = std::snprintf(line, sizeof line, "%3d %3d %3d\tColour %d\n", c[0], c[1], c[2], k);
            append(out, std::string_view(line, static_cast<std::size_t>(n)));
        }
        break;
    }
    case PaletteFileKind::Jasc:
        append(out, "JASC-PAL\r\n0100\r\n16\r\n");
        for (int k = 0; k < kColoursPerPalette; ++k) {
            const auto c = displayColour(raw, k);
            append(out, std::to_string(c[0]) + " " + std::to_string(c[1]) + " " + std::to_string(c[2]) + "\r\n");
        }
        break;
    case PaletteFileKind::Adobe:
        out.assign(kActBytes + 4, 0);
        for (int k = 0; k < kColoursPerPalette; ++k) {
            const auto c = displayColour(raw, k);
            for (int i = 0; i < 3; ++i) out[3 * k + i] = static_cast<std::uint8_t>(c[i]);
        }
        out[769] = kColoursPerPalette; // 16 colours, colour 0 the transparent one
        break;
    case PaletteFileKind::SnesWords:
        out.assign(kPaletteBytes, 0);
        encodePaletteColours(raw, out.data() + 2);
        for (int k = 1; k < kColoursPerPalette; ++k)
            if (highBits >> k & 1) out[2 * k + 1] |= 0x80;
        break;
    }
    return out;
}

Outcome<RawPalette> readPaletteFile(PaletteFileKind kind, std::span<const std::uint8_t> bytes, int dumpPalette)
{
    switch (kind) {
    case PaletteFileKind::Gimp: return readGimp(bytes);
    case PaletteFileKind::Jasc: return readJasc(bytes);
    case PaletteFileKind::Adobe: return readAdobe(bytes);
    case PaletteFileKind::SnesWords: return readSnesWords(bytes, dumpPalette);
    }
    return Result::failure("Unknown palette file kind");
}

namespace {
const char kKinds[] = "a palette file is chosen by its extension: .gpl, .pal, .act or .bin";
}

IoResult exportPaletteFile(const std::string& path, const RawPalette& raw, const std::string& name,
                           std::uint16_t highBits)
{
    const auto kind = paletteFileKind(path);
    if (!kind) return IoResult::failure(std::string("Cannot write ") + path + ": " + kKinds);
    return writeWholeFile(path, writePaletteFile(*kind, raw, name, highBits));
}

Outcome<RawPalette> importPaletteFile(const std::string& path, int dumpPalette)
{
    const auto kind = paletteFileKind(path);
    if (!kind) return Result::failure(std::string("Cannot read ") + path + ": " + kKinds);
    const auto bytes = readWholeFile(path, kMaxPaletteFileBytes);
    if (!bytes.ok) return Result::failure(bytes.error);
    return readPaletteFile(*kind, bytes.value, dumpPalette);
}

bool isCgramDump(const std::string& path)
{
    if (paletteFileKind(path) != PaletteFileKind::SnesWords) return false;
    const auto bytes = readWholeFile(path, kCgramBytes);
    return bytes.ok && bytes.value.size() == kCgramBytes;
}

} // namespace tessel
