// Comparing the edited ROM with a second one: every sprite and palette
// looked at (opening it, another ROM opened for editing) beside what every
// repaint does after an edit, the changed sprites and the current one.
#include <benchmark/benchmark.h>

#include "model/edit_marks.h"
#include "rom/rom_compare.h"
#include "rom/sprite_catalogue.h"
#include "support/rom_fixture.h"

namespace {

using namespace tessel;

struct Pair {
    testing::RomFixture edited;
    testing::ScratchFile otherFile;
    RomComparison comparison;
    Pair()
    {
        auto bytes = testing::buildSyntheticRom();
        for (int sprite = 0; sprite < kSpriteCount; sprite += 9) bytes[spriteCatalogue()[sprite].romOffset] ^= 0xFF;
        otherFile.write(bytes);
        if (!comparison.open(otherFile.path(), edited.state().document).ok) std::abort();
    }
};

Pair& pair()
{
    static Pair p;
    return p;
}

void BM_CompareAll(benchmark::State& st)
{
    Pair& p = pair();
    for (auto _ : st) p.comparison.compareAll(p.edited.state().document);
    st.counters["differing"] = p.comparison.differingSpriteCount();
}
BENCHMARK(BM_CompareAll)->Unit(benchmark::kMicrosecond);

// One pixel of the current sprite toggled and its mark set, as a pencil
// press does, then what the repaint asks of the comparison.
void BM_UpdateAfterEdit(benchmark::State& st)
{
    Pair& p = pair();
    RomDocument& document = p.edited.state().document;
    for (auto _ : st) {
        document.spriteStore[18].pixels[0] ^= 1;
        markSpriteEdited(document, 18);
        benchmark::DoNotOptimize(p.comparison.updateChanged(document, 18));
    }
}
BENCHMARK(BM_UpdateAfterEdit)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
