// Decoding, encoding, loading and saving the ROM's sprites, each beside a
// byte-at-a-time reference written here the way the original format
// description reads: a bit loop per pixel, fgetc per byte with a seek per
// tile for loading, seventeen seeks and a flush per tile for saving.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "editor/rom_commands.h"
#include "model/edit_marks.h"
#include "rom/palette_codec.h"
#include "rom/rom_session.h"
#include "rom/sprite_catalogue.h"
#include "rom/tile_codec.h"
#include "support/fault_io.h"
#include "support/scratch_file.h"
#include "support/synthetic_rom.h"

namespace {

using namespace tessel;

// --- The reference, one byte and one bit at a time -------------------------

void referenceDecodeTile(const std::uint8_t* t, PixelBuffer& pixels, int x0, int y0)
{
    std::uint8_t idx[8][8] = {};
    for (int r = 0; r < 8; ++r)
        for (int plane = 0; plane < 2; ++plane)
            for (int c = 0; c < 8; ++c) idx[r][c] += ((t[2 * r + plane] >> (7 - c)) & 1) << plane;
    for (int r = 0; r < 8; ++r)
        for (int plane = 2; plane < 4; ++plane)
            for (int c = 0; c < 8; ++c)
                idx[r][c] += ((t[16 + 2 * r + plane - 2] >> (7 - c)) & 1) << plane;
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c) pixels[(y0 + r) * 64 + x0 + c] = idx[r][c];
}

void referenceEncodeRow(const PixelBuffer& pixels, int x0, int y, std::uint8_t planes[4])
{
    for (int n = 0; n < 4; ++n) planes[n] = 0;
    for (int c = 0; c < 8; ++c) {
        const int v = pixels[y * 64 + x0 + c];
        for (int n = 0; n < 4; ++n) planes[n] |= ((v >> n) & 1) << (7 - c);
    }
}

void referenceLoad(std::FILE* f, EditorState& s)
{
    initRecordsFromCatalogue(s.document.spriteStore);
    for (SpriteRecord& rec : s.document.spriteStore) {
        rec.pixels.fill(0);
        std::uint8_t tile[32];
        for (int ty = 0; ty < rec.heightTiles; ++ty)
            for (int tx = 0; tx < rec.widthTiles; ++tx) {
                std::fseek(f, rec.romOffset + 32 * (ty * rec.widthTiles + tx), SEEK_SET);
                for (auto& b : tile) b = static_cast<std::uint8_t>(std::fgetc(f));
                referenceDecodeTile(tile, rec.pixels, 8 * tx, 8 * ty);
            }
    }
    for (int p = 0; p < kPaletteCount; ++p) {
        std::fseek(f, (p + 6160) * 32 + 2, SEEK_SET);
        for (int k = 1; k < 16; ++k) {
            const int lo = std::fgetc(f) & 0xFF, hi = std::fgetc(f) & 0xFF;
            const int c = (hi * 256 + lo) & 0x7FFF;
            s.document.rawPalettes[p].red[k] = c & 31;
            s.document.rawPalettes[p].green[k] = (c >> 5) & 31;
            s.document.rawPalettes[p].blue[k] = c >> 10;
            s.document.displayPalettes[p].red[k] = 8 * (c & 31) + 7;
            s.document.displayPalettes[p].green[k] = 8 * ((c >> 5) & 31) + 7;
            s.document.displayPalettes[p].blue[k] = 8 * (c >> 10) + 7;
        }
    }
}

void referenceSaveAll(std::FILE* f, const EditorState& s)
{
    for (const SpriteRecord& rec : s.document.spriteStore) {
        long position = rec.romOffset;
        for (int ty = 0; ty < rec.heightTiles; ++ty)
            for (int tx = 0; tx < rec.widthTiles; ++tx, position += 32) {
                std::fseek(f, position, SEEK_SET);
                std::fflush(f);
                for (int r = 0; r < 8; ++r) {
                    std::uint8_t planes[4];
                    referenceEncodeRow(rec.pixels, 8 * tx, 8 * ty + r, planes);
                    std::fseek(f, position + 2 * r, SEEK_SET);
                    std::fputc(planes[0], f);
                    std::fputc(planes[1], f);
                    std::fseek(f, position + 16 + 2 * r, SEEK_SET);
                    std::fputc(planes[2], f);
                    std::fputc(planes[3], f);
                }
            }
    }
    std::fflush(f);
}

// --- Fixtures ----------------------------------------------------------------

struct LoadedRom {
    testing::ScratchFile file;
    testing::FaultIo io; // passes through, counting the system calls
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
    std::vector<std::uint8_t> bytes = testing::buildSyntheticRom();

    LoadedRom()
    {
        file.write(bytes);
        state->document.romFile.setIo(io);
        if (!openRom(*state, file.path()).ok) std::abort();
    }
};

LoadedRom& rom()
{
    static LoadedRom loaded;
    return loaded;
}

const std::uint8_t* tileBytes(const SpriteRecord& rec)
{
    return rom().bytes.data() + rec.romOffset;
}

void setTiles(benchmark::State& st)
{
    st.SetItemsProcessed(st.iterations() * kTileCount);
    st.SetBytesProcessed(st.iterations() * kTileCount * kTileBytes);
}

// --- Decoding and encoding from memory --------------------------------------

// Decodes every catalogued tile from the in-memory copy of the sprite area
// with `decode`, so ours and the reference walk the tiles identically.
template <void (*decode)(const std::uint8_t*, PixelBuffer&, int, int)>
void decodeAllTiles(benchmark::State& st)
{
    auto& store = rom().state->document.spriteStore;
    for (auto _ : st) {
        for (SpriteRecord& rec : store) {
            const std::uint8_t* t = tileBytes(rec);
            for (int ty = 0; ty < rec.heightTiles; ++ty)
                for (int tx = 0; tx < rec.widthTiles; ++tx, t += 32)
                    decode(t, rec.pixels, 8 * tx, 8 * ty);
        }
        benchmark::ClobberMemory();
    }
    setTiles(st);
}

void BM_DecodeAllTiles(benchmark::State& st) { decodeAllTiles<decodeTile>(st); }
BENCHMARK(BM_DecodeAllTiles)->Unit(benchmark::kMicrosecond);

void BM_DecodeAllTiles_ByteAtATimeReference(benchmark::State& st)
{
    decodeAllTiles<referenceDecodeTile>(st);
}
BENCHMARK(BM_DecodeAllTiles_ByteAtATimeReference)->Unit(benchmark::kMicrosecond);

void BM_EncodeAllTiles(benchmark::State& st)
{
    const auto& store = rom().state->document.spriteStore;
    std::vector<std::uint8_t> out(kSpriteAreaEnd);
    for (auto _ : st) {
        for (const SpriteRecord& rec : store) encodeSprite(rec, out.data() + rec.romOffset);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    setTiles(st);
}
BENCHMARK(BM_EncodeAllTiles)->Unit(benchmark::kMicrosecond);

void BM_EncodeAllTiles_ByteAtATimeReference(benchmark::State& st)
{
    const auto& store = rom().state->document.spriteStore;
    std::vector<std::uint8_t> out(kSpriteAreaEnd);
    for (auto _ : st) {
        for (const SpriteRecord& rec : store) {
            std::uint8_t* t = out.data() + rec.romOffset;
            for (int ty = 0; ty < rec.heightTiles; ++ty)
                for (int tx = 0; tx < rec.widthTiles; ++tx, t += 32)
                    for (int r = 0; r < 8; ++r) {
                        std::uint8_t planes[4];
                        referenceEncodeRow(rec.pixels, 8 * tx, 8 * ty + r, planes);
                        t[2 * r] = planes[0];
                        t[2 * r + 1] = planes[1];
                        t[16 + 2 * r] = planes[2];
                        t[17 + 2 * r] = planes[3];
                    }
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    setTiles(st);
}
BENCHMARK(BM_EncodeAllTiles_ByteAtATimeReference)->Unit(benchmark::kMicrosecond);

// --- Loading from the file (warm page cache) -------------------------------

void BM_FullLoad(benchmark::State& st)
{
    EditorState& s = *rom().state;
    rom().io.resetCounts();
    for (auto _ : st)
        if (!loadAllSprites(s.document).ok) st.SkipWithError("load failed");
    st.counters["syscalls"] =
        benchmark::Counter(rom().io.totalCalls(), benchmark::Counter::kAvgIterations);
    setTiles(st);
}
BENCHMARK(BM_FullLoad)->Unit(benchmark::kMicrosecond);

void BM_FullLoad_FgetcReference(benchmark::State& st)
{
    std::FILE* f = std::fopen(rom().file.path().c_str(), "rb");
    auto scratch = std::make_unique<EditorState>();
    for (auto _ : st) referenceLoad(f, *scratch);
    std::fclose(f);
    setTiles(st);
}
BENCHMARK(BM_FullLoad_FgetcReference)->Unit(benchmark::kMicrosecond);

// --- Save All Sprites (warm file) -------------------------------------------

// arg 0: nothing edited since the last save; arg 1: one pixel changed in
// each of 16 sprites spread over the area before every save.
void BM_SaveAll(benchmark::State& st)
{
    EditorState& s = *rom().state;
    rom().io.resetCounts();
    for (auto _ : st) {
        if (st.range(0) == 1)
            for (int i = 0; i < kSpriteCount; i += kSpriteCount / 16) {
                s.document.spriteStore[i].pixels[0] ^= 1;
                markSpriteEdited(s.document, i);
            }
        if (!saveAllSprites(s.document).complete()) st.SkipWithError("save failed");
    }
    st.counters["syscalls"] =
        benchmark::Counter(rom().io.totalCalls(), benchmark::Counter::kAvgIterations);
    st.counters["writes"] =
        benchmark::Counter(rom().io.calls(testing::IoOp::Pwrite), benchmark::Counter::kAvgIterations);
    setTiles(st);
}
BENCHMARK(BM_SaveAll)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_SaveAll_SeekAndFlushPerTileReference(benchmark::State& st)
{
    std::FILE* f = std::fopen(rom().file.path().c_str(), "rb+");
    for (auto _ : st) referenceSaveAll(f, *rom().state);
    std::fclose(f);
    setTiles(st);
}
BENCHMARK(BM_SaveAll_SeekAndFlushPerTileReference)->Unit(benchmark::kMicrosecond);

// What every save adds before it writes: is the path still our file, and
// did anyone else change it (fstat of the descriptor, stat of the path).
// The reference above wrote the file behind our back, so it reads as
// changed; the work is the same.
void BM_HeldFileCheck(benchmark::State& st)
{
    const RomFile& file = rom().state->document.romFile;
    for (auto _ : st) {
        const HeldFile held = file.check();
        if (held == HeldFile::Replaced || held == HeldFile::Unknown)
            st.SkipWithError("the file is gone");
    }
}
BENCHMARK(BM_HeldFileCheck)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
