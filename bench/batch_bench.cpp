// The command line's commands for many sprites and for patches, run in one
// process as the program runs them (runBatchCommand, files on the disk,
// every sync included): export-sprites of all 1144 sprites beside 1144 runs
// of export-sprite; import-sprites of those unchanged pictures (it writes
// nothing); apply-patch of a BPS patch of 100 sprites; diff of two ROMs.
// Targets: export-sprites at least 20 times faster than the single runs;
// apply-patch and diff each well under 50 ms.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/batch_commands.h"
#include "file/durable_file.h"
#include "interchange/patch_formats.h"
#include "rom/sprite_catalogue.h"
#include "support/synthetic_rom.h"

namespace tessel {
namespace {

struct Files {
    std::string dir, rom, clean, edited, patch, pictures;
    std::vector<std::uint8_t> original;
    std::FILE* sink = std::fopen("/dev/null", "w");

    Files()
    {
        char folder[] = "/tmp/tessel-bench-XXXXXX";
        dir = ::mkdtemp(folder);
        ::setenv("XDG_STATE_HOME", (dir + "/state").c_str(), 1);
        rom = dir + "/game.smc", clean = dir + "/clean.smc", edited = dir + "/edited.smc";
        patch = dir + "/hundred.bps", pictures = dir + "/sprites";
        original = testing::buildSyntheticRom();
        std::vector<std::uint8_t> changed = original;
        for (int s = 0; s < 100; ++s) changed[spriteCatalogue()[s * 11].romOffset + 5] ^= 0x3C;
        writeWholeFile(rom, original);
        writeWholeFile(clean, original);
        writeWholeFile(edited, changed);
        writeWholeFile(patch, makeRomPatch(PatchFormat::Bps, original, changed).value);
        std::system(("mkdir -p " + pictures).c_str());
    }
    int run(std::vector<std::string> args) { return runBatchCommand(args, sink, sink); }
};

Files& files()
{
    static Files f;
    return f;
}

void BM_ExportSprites(benchmark::State& st)
{
    files(); // made before the clock runs
    for (auto _ : st)
        if (files().run({"export-sprites", files().rom, files().pictures}) != 0) st.SkipWithError("export-sprites failed");
}
BENCHMARK(BM_ExportSprites)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ExportSprite_1144Runs(benchmark::State& st)
{
    files();
    for (auto _ : st)
        for (int s = 0; s < kSpriteCount; ++s)
            if (files().run({"export-sprite", files().rom, std::to_string(s), files().dir + "/one.png"}) != 0)
                st.SkipWithError("export-sprite failed");
}
BENCHMARK(BM_ExportSprite_1144Runs)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ImportSpritesUnchanged(benchmark::State& st)
{
    files().run({"export-sprites", files().rom, files().pictures});
    for (auto _ : st)
        if (files().run({"import-sprites", files().rom, files().pictures}) != 0) st.SkipWithError("import-sprites failed");
}
BENCHMARK(BM_ImportSpritesUnchanged)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ApplyPatch100Sprites(benchmark::State& st)
{
    files();
    for (auto _ : st) {
        st.PauseTiming();
        writeWholeFile(files().rom, files().original);
        st.ResumeTiming();
        if (files().run({"apply-patch", files().rom, files().patch}) != 0) st.SkipWithError("apply-patch failed");
    }
}
BENCHMARK(BM_ApplyPatch100Sprites)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_Diff(benchmark::State& st)
{
    files(); // made before the clock runs
    for (auto _ : st)
        if (files().run({"diff", files().clean, files().edited}) != 0) st.SkipWithError("diff failed");
}
BENCHMARK(BM_Diff)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
} // namespace tessel

BENCHMARK_MAIN();
