// The Sprite Overview's core work: painting the cells in sight of a
// 1200 x 900 view at 2x (from the middle of the grid of all 1144 sprites,
// as the synthetic ROM has them and with every sprite 64 x 80, the most
// there is to paint), and filtering all 1144 sprites by a line of terms.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "editor/overview_grid.h"
#include "model/edit_marks.h"
#include "support/rom_fixture.h"

namespace tessel {
namespace {

testing::RomFixture& rom()
{
    static testing::RomFixture fixture;
    return fixture;
}

SpriteTags someTags(int s)
{
    // A name on every third sprite, a star on every seventh.
    return SpriteTags{s % 3 == 0 ? "Knight walking " + std::to_string(s) : std::string(), s % 7 == 0, s % 11 == 0};
}

void paintInSight(benchmark::State& bench)
{
    RomDocument& doc = rom().state().document;
    const auto before = doc.spriteStore;
    if (bench.range(0) == 1)
        for (SpriteRecord& r : doc.spriteStore) r.widthTiles = 8, r.heightTiles = 10;
    std::vector<int> all(kSpriteCount);
    for (int i = 0; i < kSpriteCount; ++i) all[i] = i;
    const OverviewLayout layout{1200, 900, 2, 15, 2, kSpriteCount};
    const int scroll = layout.contentHeight() / 2;
    std::vector<std::uint32_t> image(1200 * 900);
    for (auto _ : bench) {
        paintOverview(doc, layout, all, scroll, 600, 601, someTags, {0, 0, 1200, 900}, image.data(), 1200);
        benchmark::DoNotOptimize(image.data());
        benchmark::ClobberMemory();
    }
    doc.spriteStore = before;
}
BENCHMARK(paintInSight)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void filterAll(benchmark::State& bench, const char* text)
{
    RomDocument& doc = rom().state().document;
    for (int s = 0; s < kSpriteCount; s += 5) markSpriteEdited(doc, s);
    for (auto _ : bench) {
        const ParsedFilter parsed = parseSpriteFilter(text);
        std::vector<int> shown = filterSprites(parsed.filter, doc, someTags);
        benchmark::DoNotOptimize(shown.data());
    }
}
BENCHMARK_CAPTURE(filterAll, ranges_sizes_palettes, "0-400 700-1143 2x3 2x2 4x4 p5 p6 edited")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(filterAll, name_words, "knight walk starred")->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace tessel

BENCHMARK_MAIN();
