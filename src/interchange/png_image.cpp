#include "interchange/png_image.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "file/file_access.h"

// libpng reports errors by longjmp to the setjmp in the function that drove
// it. The functions with setjmp below (readBody, writeBody) keep no C++
// object of their own alive across libpng calls: everything they fill is
// owned by their caller, so a jump skips no destructor.

namespace tessel {
namespace {

struct ErrorSink {
    char message[256] = {};
};

[[noreturn]] void onError(png_structp png, png_const_charp text)
{
    auto* sink = static_cast<ErrorSink*>(png_get_error_ptr(png));
    std::snprintf(sink->message, sizeof sink->message, "%s", text);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

// --- Reading ----------------------------------------------------------------

struct ReadJob : ErrorSink {
    std::span<const std::uint8_t> bytes;
    std::size_t position = 0;
    bool cutShort = false;
    bool tooLarge = false;
    PngLimits limits;
    PngImage* image = nullptr;
    const PngIndexedRowSink* rowSink = nullptr; // rows handed on one at a time
    bool streamed = false;               // ...and so they were
    std::vector<png_bytep> rows;
    std::vector<std::uint8_t> indexRow, rgbaRow;
    // A pixel value past the palette: where, and which.
    bool badIndex = false;
    std::size_t badX = 0, badY = 0;
    int badValue = 0;
};

// Looks the row's values up in the palette; false (and the place noted)
// at a value past its end.
bool indexedRowToRgba(ReadJob& job, std::size_t y, const std::uint8_t* indices, std::uint8_t* rgba)
{
    const std::vector<Rgba>& palette = job.image->palette;
    for (std::size_t x = 0; x < static_cast<std::size_t>(job.image->width); ++x, rgba += 4) {
        if (indices[x] >= palette.size()) {
            job.badIndex = true;
            job.badX = x;
            job.badY = y;
            job.badValue = indices[x];
            return false;
        }
        const Rgba c = palette[indices[x]];
        rgba[0] = c.r, rgba[1] = c.g, rgba[2] = c.b, rgba[3] = c.a;
    }
    return true;
}

void readFromMemory(png_structp png, png_bytep out, png_size_t count)
{
    auto* job = static_cast<ReadJob*>(png_get_io_ptr(png));
    if (count > job->bytes.size() - job->position) {
        job->cutShort = true;
        png_error(png, "the file ends early");
    }
    std::memcpy(out, job->bytes.data() + job->position, count);
    job->position += count;
}

bool readBody(png_structp png, png_infop info, ReadJob& job)
{
    if (setjmp(png_jmpbuf(png))) return false;

    png_set_crc_action(png, PNG_CRC_ERROR_QUIT, PNG_CRC_ERROR_QUIT);
    // Every chunk's CRC32 is checked and refuses a damaged file; the zlib
    // stream's own Adler-32 over the inflated pixels adds nothing to that
    // and took half the time of reading a sheet.
    png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
    // Every chunk but IHDR, PLTE, tRNS, IDAT and IEND is skipped unparsed
    // (its CRC still checked): text, profiles and the like are never needed.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_set_read_fn(png, &job, readFromMemory);
    png_read_info(png, info);

    png_uint_32 width = 0, height = 0;
    int depth = 0, colourType = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &colourType, nullptr, nullptr, nullptr);
    // The size fits an int: libpng refuses anything past 2^31 - 1.
    job.image->width = static_cast<int>(width);
    job.image->height = static_cast<int>(height);
    if (width > static_cast<png_uint_32>(job.limits.maxWidth) ||
        height > static_cast<png_uint_32>(job.limits.maxHeight)) {
        job.tooLarge = true;
        png_error(png, "too large");
    }

    const bool indexed = colourType == PNG_COLOR_TYPE_PALETTE;
    job.image->indexed = indexed;
    if (indexed) {
        png_set_packing(png);
    } else {
        const bool hasTrns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
        png_set_expand(png); // low-depth grey to 8 bits, tRNS to alpha
        png_set_strip_16(png);
        if (!(colourType & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png);
        if (!(colourType & PNG_COLOR_MASK_ALPHA) && !hasTrns) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    }
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);

    if (indexed) {
        png_colorp colours = nullptr;
        int count = 0;
        png_get_PLTE(png, info, &colours, &count);
        png_bytep alphas = nullptr;
        int alphaCount = 0;
        if (png_get_valid(png, info, PNG_INFO_tRNS))
            png_get_tRNS(png, info, &alphas, &alphaCount, nullptr);
        job.image->palette.resize(static_cast<std::size_t>(count));
        for (int k = 0; k < count; ++k)
            job.image->palette[k] = Rgba{colours[k].red, colours[k].green, colours[k].blue,
                                         k < alphaCount ? alphas[k] : std::uint8_t{255}};
    }

    const std::size_t pixelBytes = indexed ? 1 : 4;
    if (png_get_rowbytes(png, info) != pixelBytes * width) png_error(png, "unexpected row layout");
    if (job.rowSink && passes == 1) {
        // One row at a time through a single buffer: the whole picture is
        // never held.
        job.streamed = true;
        job.rgbaRow.resize(4 * std::size_t{width});
        job.indexRow.resize(indexed ? width : 0);
        for (png_uint_32 y = 0; y < height; ++y) {
            png_read_row(png, indexed ? job.indexRow.data() : job.rgbaRow.data(), nullptr);
            if (indexed && !indexedRowToRgba(job, y, job.indexRow.data(), job.rgbaRow.data()))
                png_error(png, "palette entry out of range");
            (*job.rowSink)(*job.image, static_cast<int>(y), job.rgbaRow.data(),
                           indexed ? job.indexRow.data() : nullptr);
        }
    } else {
        std::vector<std::uint8_t>& pixels = indexed ? job.image->indices : job.image->rgba;
        pixels.resize(pixelBytes * width * height);
        job.rows.resize(height);
        for (png_uint_32 y = 0; y < height; ++y) job.rows[y] = pixels.data() + pixelBytes * width * y;
        png_read_image(png, job.rows.data());
    }
    png_read_end(png, nullptr); // the rest of the file: CRCs up to IEND
    return true;
}

// --- Writing ----------------------------------------------------------------

struct WriteJob : ErrorSink {
    std::vector<std::uint8_t> out;
    int width = 0, height = 0, depth = 8, colourType = 0;
    std::array<png_color, 256> colours{};
    std::array<png_byte, 256> alphas{};
    int colourCount = 0, alphaCount = 0;
    std::vector<png_bytep> rows;
};

void writeToMemory(png_structp png, png_bytep data, png_size_t count)
{
    auto* job = static_cast<WriteJob*>(png_get_io_ptr(png));
    bool failed = false;
    try {
        job->out.insert(job->out.end(), data, data + count);
    } catch (const std::bad_alloc&) {
        failed = true;
    }
    if (failed) png_error(png, "out of memory");
}

void flushNothing(png_structp) {}

bool writeBody(png_structp png, png_infop info, WriteJob& job)
{
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, &job, writeToMemory, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(job.width), static_cast<png_uint_32>(job.height),
                 job.depth, job.colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (job.colourType == PNG_COLOR_TYPE_PALETTE) {
        png_set_PLTE(png, info, job.colours.data(), job.colourCount);
        if (job.alphaCount > 0) png_set_tRNS(png, info, job.alphas.data(), job.alphaCount, nullptr);
    }
    // Sprite art is mostly flat runs and empty cells: no row filter and a
    // quick deflate level give small files at a fraction of the default cost.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 3);
    png_write_info(png, info);
    if (job.depth < 8) png_set_packing(png);
    png_write_image(png, job.rows.data());
    png_write_end(png, nullptr);
    return true;
}

using Bytes = Outcome<std::vector<std::uint8_t>>;

Bytes runWrite(WriteJob& job, const std::uint8_t* pixels, std::size_t rowBytes)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, static_cast<ErrorSink*>(&job),
                                              onError, onWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return Bytes::failure("Cannot write the PNG picture: out of memory");
    }
    bool ok = false;
    try {
        job.rows.resize(static_cast<std::size_t>(job.height));
        for (int y = 0; y < job.height; ++y)
            job.rows[y] = const_cast<png_bytep>(pixels + rowBytes * static_cast<std::size_t>(y));
        ok = writeBody(png, info, job);
    } catch (const std::bad_alloc&) {
        std::snprintf(job.message, sizeof job.message, "out of memory");
    }
    png_destroy_write_struct(&png, &info);
    if (!ok) return Bytes::failure(std::string("Cannot write the PNG picture: ") + job.message);
    return Bytes::success(std::move(job.out));
}

bool sizeFits(int width, int height, std::size_t bytesPerPixel, std::size_t have)
{
    return width > 0 && height > 0 && width <= (1 << 24) && height <= (1 << 24) &&
           have == bytesPerPixel * static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

} // namespace

std::vector<std::uint8_t> PngImage::toRgba() const
{
    if (!indexed) return rgba;
    std::vector<std::uint8_t> out(4 * indices.size());
    for (std::size_t i = 0; i < indices.size(); ++i) {
        const Rgba c = indices[i] < palette.size() ? palette[indices[i]] : Rgba{0, 0, 0, 0};
        out[4 * i] = c.r;
        out[4 * i + 1] = c.g;
        out[4 * i + 2] = c.b;
        out[4 * i + 3] = c.a;
    }
    return out;
}

namespace {

Outcome<PngImage> decode(std::span<const std::uint8_t> bytes, PngLimits limits,
                         const PngIndexedRowSink* rowSink)
{
    using Result = Outcome<PngImage>;
    if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0)
        return Result::failure("This is not a PNG picture");

    ReadJob job;
    job.bytes = bytes;
    job.limits = limits;
    job.rowSink = rowSink;
    PngImage image;
    job.image = &image;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, static_cast<ErrorSink*>(&job),
                                             onError, onWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return Result::failure("Cannot read the PNG picture: out of memory");
    }
    bool ok = false;
    try {
        ok = readBody(png, info, job);
        if (ok && image.indexed && !job.streamed) {
            // Checked whole, and then (interlaced pictures) handed on.
            std::vector<std::uint8_t> rgba(4 * static_cast<std::size_t>(image.width));
            const auto w = static_cast<std::size_t>(image.width);
            for (std::size_t y = 0; ok && y < static_cast<std::size_t>(image.height); ++y)
                ok = indexedRowToRgba(job, y, image.indices.data() + w * y, rgba.data());
        }
        if (ok && rowSink && !job.streamed) {
            const std::vector<std::uint8_t> rgba = image.toRgba();
            const std::size_t stride = 4 * static_cast<std::size_t>(image.width);
            const auto w = static_cast<std::size_t>(image.width);
            for (int y = 0; y < image.height; ++y)
                (*rowSink)(image, y, rgba.data() + stride * static_cast<std::size_t>(y),
                           image.indexed ? image.indices.data() + w * static_cast<std::size_t>(y) : nullptr);
            image.indices.clear();
            image.rgba.clear();
        }
    } catch (const std::bad_alloc&) {
        ok = false;
        std::snprintf(job.message, sizeof job.message, "out of memory");
    }
    png_destroy_read_struct(&png, &info, nullptr);
    if (ok) return Result::success(std::move(image));

    Result failed;
    failed.value.width = image.width;
    failed.value.height = image.height;
    if (job.tooLarge)
        failed.error = "The picture is " + std::to_string(image.width) + " × " +
                       std::to_string(image.height) + " pixels; at most " +
                       std::to_string(limits.maxWidth) + " × " + std::to_string(limits.maxHeight) +
                       " can be read";
    else if (job.cutShort)
        failed.error = "The PNG file is cut short";
    else if (job.badIndex)
        failed.error = "The PNG file is damaged: pixel (" + std::to_string(job.badX) + ", " +
                       std::to_string(job.badY) + ") uses palette entry " + std::to_string(job.badValue) +
                       " of a palette of " + std::to_string(image.palette.size()) + " entries";
    else
        failed.error = std::string("The PNG file is damaged: ") + job.message;
    return failed;
}

} // namespace

Outcome<PngImage> decodePng(std::span<const std::uint8_t> bytes, PngLimits limits)
{
    return decode(bytes, limits, nullptr);
}

Outcome<PngImage> decodePngRows(std::span<const std::uint8_t> bytes, PngLimits limits, const PngRowSink& row)
{
    const PngIndexedRowSink withIndices = [&](const PngImage& picture, int y, const std::uint8_t* rgba,
                                              const std::uint8_t*) { row(picture, y, rgba); };
    return decode(bytes, limits, &withIndices);
}

Outcome<PngImage> decodePngRows(std::span<const std::uint8_t> bytes, PngLimits limits,
                                const PngIndexedRowSink& row)
{
    return decode(bytes, limits, &row);
}

std::string checkPictureSize(const Outcome<PngImage>& decoded, int width, int height,
                             const std::string& expected)
{
    const PngImage& image = decoded.value;
    const bool larger = image.width > width || image.height > height;
    if (!decoded.ok && !larger) return decoded.error;
    if (image.width == width && image.height == height) return {};
    return "The picture is " + std::to_string(image.width) + " × " + std::to_string(image.height) +
           " pixels, but " + expected + " " + std::to_string(width) + " × " + std::to_string(height);
}

std::size_t maxPngFileBytes(PngLimits limits)
{
    // Even stored uncompressed at 16 bits a sample, the pixels take 8 bytes
    // each; allow that and generous room for other chunks.
    const std::size_t pixels = static_cast<std::size_t>(std::max(limits.maxWidth, 0)) *
                               static_cast<std::size_t>(std::max(limits.maxHeight, 0));
    return 9 * pixels + (std::size_t{16} << 20);
}

Outcome<PngImage> readPngFile(const std::string& path, PngLimits limits)
{
    auto file = readWholeFile(path, maxPngFileBytes(limits));
    if (!file.ok) return Outcome<PngImage>::failure(file.error);
    return decodePng(file.value, limits);
}

Outcome<std::vector<std::uint8_t>> encodeIndexedPng(int width, int height,
                                                    std::span<const std::uint8_t> indices,
                                                    std::span<const Rgba> palette)
{
    if (!sizeFits(width, height, 1, indices.size()) || palette.empty() || palette.size() > 256)
        return Bytes::failure("Cannot write the PNG picture: its size or palette is wrong");
    if (std::any_of(indices.begin(), indices.end(), [&](std::uint8_t v) { return v >= palette.size(); }))
        return Bytes::failure("Cannot write the PNG picture: a pixel lies outside its palette");
    WriteJob job;
    job.width = width;
    job.height = height;
    job.colourType = PNG_COLOR_TYPE_PALETTE;
    job.depth = palette.size() <= 16 ? 4 : 8;
    job.colourCount = static_cast<int>(palette.size());
    for (std::size_t k = 0; k < palette.size(); ++k) {
        job.colours[k] = png_color{palette[k].r, palette[k].g, palette[k].b};
        job.alphas[k] = palette[k].a;
        if (palette[k].a != 255) job.alphaCount = static_cast<int>(k) + 1;
    }
    return runWrite(job, indices.data(), static_cast<std::size_t>(width));
}

Outcome<std::vector<std::uint8_t>> encodeRgbaPng(int width, int height, std::span<const std::uint8_t> rgba)
{
    if (!sizeFits(width, height, 4, rgba.size()))
        return Bytes::failure("Cannot write the PNG picture: its size is wrong");
    WriteJob job;
    job.width = width;
    job.height = height;
    job.colourType = PNG_COLOR_TYPE_RGBA;
    return runWrite(job, rgba.data(), 4 * static_cast<std::size_t>(width));
}

} // namespace tessel
