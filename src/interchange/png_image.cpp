#include "interchange/png_image.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <new>

#include "interchange/file_bytes.h"

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
    std::vector<png_bytep> rows;
};

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

// Chunks we never need, skipped (CRC still checked) instead of parsed.
constexpr png_byte kSkippedChunks[] = "iCCP\0iTXt\0tEXt\0zTXt\0sPLT\0eXIf\0hIST\0";

bool readBody(png_structp png, png_infop info, ReadJob& job)
{
    if (setjmp(png_jmpbuf(png))) return false;

    png_set_crc_action(png, PNG_CRC_ERROR_QUIT, PNG_CRC_ERROR_QUIT);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kSkippedChunks,
                                static_cast<int>(sizeof kSkippedChunks / 5));
    png_set_read_fn(png, &job, readFromMemory);
    png_read_info(png, info);

    png_uint_32 width = 0, height = 0;
    int depth = 0, colourType = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &colourType, nullptr, nullptr, nullptr);
    // libpng has already refused anything over 2^31 - 1.
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
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    const std::size_t pixelBytes = indexed ? 1 : 4;
    if (png_get_rowbytes(png, info) != pixelBytes * width) png_error(png, "unexpected row layout");
    std::vector<std::uint8_t>& pixels = indexed ? job.image->indices : job.image->rgba;
    pixels.resize(pixelBytes * width * height);
    job.rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) job.rows[y] = pixels.data() + pixelBytes * width * y;
    png_read_image(png, job.rows.data());
    png_read_end(png, nullptr); // the rest of the file: CRCs up to IEND

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

Outcome<PngImage> decodePng(std::span<const std::uint8_t> bytes, PngLimits limits)
{
    using Result = Outcome<PngImage>;
    if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0)
        return Result::failure("This is not a PNG picture");

    ReadJob job;
    job.bytes = bytes;
    job.limits = limits;
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
    } catch (const std::bad_alloc&) {
        std::snprintf(job.message, sizeof job.message, "out of memory");
    }
    png_destroy_read_struct(&png, &info, nullptr);

    if (ok && image.indexed) {
        const auto bad = std::find_if(image.indices.begin(), image.indices.end(),
                                      [&](std::uint8_t v) { return v >= image.palette.size(); });
        if (bad != image.indices.end()) {
            const auto at = static_cast<std::size_t>(bad - image.indices.begin());
            const auto w = static_cast<std::size_t>(image.width);
            std::snprintf(job.message, sizeof job.message,
                          "pixel (%zu, %zu) uses palette entry %d of a palette of %zu entries", at % w,
                          at / w, *bad, image.palette.size());
            ok = false;
        }
    }
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
    else
        failed.error = std::string("The PNG file is damaged: ") + job.message;
    return failed;
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

Outcome<PngImage> readPngFile(const std::string& path, PngLimits limits)
{
    // Even stored uncompressed at 16 bits a sample, the pixels take 8 bytes
    // each; allow that and generous room for other chunks.
    const std::size_t pixels = static_cast<std::size_t>(std::max(limits.maxWidth, 0)) *
                               static_cast<std::size_t>(std::max(limits.maxHeight, 0));
    auto file = readWholeFile(path, 9 * pixels + (16u << 20));
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
