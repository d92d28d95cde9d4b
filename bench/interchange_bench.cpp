// Pictures and patches: the sheet of all 1144 sprites exported and imported
// (decoding and mapping colours back to indices, without saving), each
// beside a per-pixel reference that goes through a generic image interface
// (libpng's simplified API for the file, a virtual pixel()/setPixel() per
// pixel, a linear colour search through the palette for every pixel); and
// patches of a 4 MiB ROM with 100 edited sprites.
#include <benchmark/benchmark.h>

#include <png.h>

#include <memory>
#include <vector>

#include "interchange/patch_formats.h"
#include "interchange/png_image.h"
#include "interchange/sprite_sheet.h"
#include "rom/sprite_catalogue.h"
#include "support/interchange_data.h"
#include "support/synthetic_rom.h"

namespace tessel {
namespace {

const testing::SyntheticArt& art()
{
    static const testing::SyntheticArt a = testing::syntheticArt(true);
    return a;
}

const std::vector<std::uint8_t>& sheetFile()
{
    static const std::vector<std::uint8_t> file = exportSheetPng(art().views, art().display).value;
    return file;
}

// --- The reference: a generic image, one pixel at a time --------------------

class Image {
public:
    virtual ~Image() = default;
    virtual Rgba pixel(int x, int y) const = 0;
    virtual void setPixel(int x, int y, Rgba c) = 0;
};

class RgbaImage final : public Image {
public:
    RgbaImage(int w, int h) : w_(w), data_(4 * static_cast<std::size_t>(w) * h, 0) {}
    Rgba pixel(int x, int y) const override
    {
        const std::uint8_t* p = &data_[4 * (static_cast<std::size_t>(y) * w_ + x)];
        return {p[0], p[1], p[2], p[3]};
    }
    void setPixel(int x, int y, Rgba c) override
    {
        std::uint8_t* p = &data_[4 * (static_cast<std::size_t>(y) * w_ + x)];
        p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = c.a;
    }
    std::vector<std::uint8_t>& data() { return data_; }

private:
    int w_;
    std::vector<std::uint8_t> data_;
};

std::unique_ptr<Image> makeImage(int w, int h) { return std::make_unique<RgbaImage>(w, h); }

void BM_SheetExport(benchmark::State& st)
{
    for (auto _ : st) {
        auto png = exportSheetPng(art().views, art().display);
        if (!png.ok) st.SkipWithError(png.error.c_str());
        benchmark::DoNotOptimize(png.value.data());
    }
}
BENCHMARK(BM_SheetExport)->Unit(benchmark::kMillisecond);

void BM_SheetExport_PerPixelReference(benchmark::State& st)
{
    const SheetSize size = sheetSize(kSpriteCount);
    for (auto _ : st) {
        auto image = makeImage(size.width, size.height);
        for (int i = 0; i < kSpriteCount; ++i) {
            const SpriteView& v = art().views[i];
            for (int y = 0; y < kSheetCellHeight; ++y)
                for (int x = 0; x < kSheetCellWidth; ++x) {
                    const int k = x < v.width && y < v.height ? v.pixels[y * 64 + x] & 15 : 0;
                    const Rgb c = colourOf(art().display[v.palette], k);
                    image->setPixel(64 * (i % 32) + x, 80 * (i / 32) + y,
                                    k == 0 ? Rgba{0, 0, 0, 0} : Rgba{c.r, c.g, c.b, 255});
                }
        }
        png_image out{};
        out.version = PNG_IMAGE_VERSION;
        out.width = static_cast<png_uint_32>(size.width);
        out.height = static_cast<png_uint_32>(size.height);
        out.format = PNG_FORMAT_RGBA;
        png_alloc_size_t bytes = 0;
        const auto& pixels = static_cast<RgbaImage&>(*image).data();
        png_image_write_to_memory(&out, nullptr, &bytes, 0, pixels.data(), 0, nullptr);
        std::vector<std::uint8_t> file(bytes);
        if (!png_image_write_to_memory(&out, file.data(), &bytes, 0, pixels.data(), 0, nullptr))
            st.SkipWithError("write failed");
        benchmark::DoNotOptimize(file.data());
    }
}
BENCHMARK(BM_SheetExport_PerPixelReference)->Unit(benchmark::kMillisecond);

void BM_SheetImport(benchmark::State& st)
{
    for (auto _ : st) {
        auto result = importSheetPng(sheetFile(), art().views, art().raw);
        if (!result.ok) st.SkipWithError(result.error.c_str());
        benchmark::DoNotOptimize(result.value.changedSprites.data());
    }
}
BENCHMARK(BM_SheetImport)->Unit(benchmark::kMillisecond);

void BM_SheetImport_PerPixelReference(benchmark::State& st)
{
    for (auto _ : st) {
        png_image in{};
        in.version = PNG_IMAGE_VERSION;
        if (!png_image_begin_read_from_memory(&in, sheetFile().data(), sheetFile().size()))
            st.SkipWithError("read failed");
        in.format = PNG_FORMAT_RGBA;
        auto image = std::make_unique<RgbaImage>(static_cast<int>(in.width), static_cast<int>(in.height));
        png_image_finish_read(&in, nullptr, image->data().data(), 0, nullptr);
        const Image& generic = *image;
        std::vector<PixelBuffer> result(kSpriteCount);
        long long unmatched = 0;
        for (int i = 0; i < kSpriteCount; ++i) {
            const SpriteView& v = art().views[i];
            const RawPalette& raw = art().raw[v.palette];
            for (int y = 0; y < v.height; ++y)
                for (int x = 0; x < v.width; ++x) {
                    const Rgba c = generic.pixel(64 * (i % 32) + x, 80 * (i / 32) + y);
                    const int present = v.pixels[y * 64 + x] & 15;
                    int found = -1;
                    for (int k = 0; k < 16 && c.a != 0; ++k) {
                        const bool match = k == 0 ? (c.r >> 3) == 0 && (c.g >> 3) == 0 && (c.b >> 3) == 0
                                                  : (c.r >> 3) == raw.red[k] && (c.g >> 3) == raw.green[k] &&
                                                        (c.b >> 3) == raw.blue[k];
                        if (match && (found < 0 || k == present)) found = k;
                    }
                    if (c.a == 0) found = 0;
                    if (found < 0) ++unmatched;
                    result[i][y * 64 + x] = static_cast<std::uint8_t>(found < 0 ? present : found);
                }
        }
        if (unmatched) st.SkipWithError("unmatched pixels");
        benchmark::DoNotOptimize(result.data());
    }
}
BENCHMARK(BM_SheetImport_PerPixelReference)->Unit(benchmark::kMillisecond);

// --- Patches ------------------------------------------------------------------

struct Roms {
    std::vector<std::uint8_t> clean = testing::buildSyntheticRom();
    std::vector<std::uint8_t> edited;
    Roms()
    {
        const std::size_t size = (std::size_t{4} << 20) + 512;
        for (std::size_t i = clean.size(); i < size; ++i) clean.push_back(testing::fillerByte(i));
        edited = clean;
        for (int n = 0; n < 100; ++n) {
            const CatalogueEntry& e = spriteCatalogue()[n * (kSpriteCount / 100)];
            for (int b = 0; b < e.byteCount(); ++b) edited[e.romOffset + b] ^= 0x5A;
        }
    }
};

const Roms& roms()
{
    static const Roms r;
    return r;
}

// arg 0: BPS, 1: IPS
void BM_MakePatch(benchmark::State& st)
{
    const PatchFormat format = st.range(0) == 0 ? PatchFormat::Bps : PatchFormat::Ips;
    for (auto _ : st) {
        auto patch = makeRomPatch(format, roms().clean, roms().edited);
        if (!patch.ok) st.SkipWithError(patch.error.c_str());
        benchmark::DoNotOptimize(patch.value.data());
    }
    st.SetBytesProcessed(st.iterations() * static_cast<long long>(roms().edited.size()));
}
BENCHMARK(BM_MakePatch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tessel

BENCHMARK_MAIN();
