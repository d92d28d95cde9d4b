// The soak: thousands of random real window events against one main window
// and one ROM file. Built again under AddressSanitizer and
// UndefinedBehaviorSanitizer by `make test` (bounded) and `make soak`
// (long). Passes when no step goes wrong, the heap stops growing once every
// part of the program has been used, and the ROM files differ from what was
// generated only in sprite tiles and in palette colours 1-15.
#include <gtest/gtest.h>

#include <QPixmapCache>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "soak/heap_usage.h"
#include "soak/rom_changes.h"
#include "soak/soak_session.h"

namespace tessel::testing {
namespace {

// About 40 seconds under the sanitizers on a two-core machine (some 700
// actions a second there, 2000 without them).
constexpr long kDefaultSteps = 25000;
// Every part of the program (each dialog, the browser, both ROMs, every
// tool, the overview scrolled and filtered) has been used by then, so its
// caches hold what they will hold: with the overview, the preview and the
// other ROM's window, Qt's caches fill for some thousands of steps (measured:
// 0.9-1.3 MB grown between step 600 and 25000, 1.0 MB up to step 75000).
constexpr long kWarmUpSteps = 5000;
// What the heap may still grow after the warm-up, Qt's pixmap cache
// emptied at both ends. Measured: about 10 bytes per step on average, most
// of it Qt's own (a dialog closed and shown again, as Exit does here, keeps
// about 150 bytes inside Qt 6.4 each time); a leak of one block per step
// would pass this within a few thousand steps.
constexpr long long kHeapSlack = 1 << 20;

long envNumber(const char* name, long fallback)
{
    const char* text = std::getenv(name);
    return text && *text ? std::strtol(text, nullptr, 10) : fallback;
}

long changedBytes(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b)
{
    long n = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) n += a[i] != b[i];
    return n;
}

TEST(Soak, ARandomSessionKeepsTheRomAndTheHeapInShape)
{
    const long steps = envNumber("TESSEL_SOAK_STEPS", kDefaultSteps);
    const auto seed = static_cast<unsigned>(envNumber("TESSEL_SOAK_SEED", 1));
    std::printf("soak: seed %u, %ld steps (TESSEL_SOAK_SEED, TESSEL_SOAK_STEPS)\n", seed, steps);

    auto session = std::make_unique<SoakSession>(seed);
    ASSERT_TRUE(session->failure().empty()) << session->failure();
    const auto start = std::chrono::steady_clock::now();
    long long heapAfterWarmUp = -1;
    for (long i = 0; i < steps; ++i) {
        if (i == kWarmUpSteps) {
            QPixmapCache::clear();
            heapAfterWarmUp = static_cast<long long>(heapBytesInUse());
        }
        ASSERT_TRUE(session->step()) << "seed " << seed << ", " << session->failure()
                                     << "\nrecent actions:\n"
                                     << session->recentActions();
    }
    QPixmapCache::clear();
    const auto heapAtEnd = static_cast<long long>(heapBytesInUse());
    ASSERT_TRUE(session->finish()) << session->failure() << "\nrecent actions:\n"
                                   << session->recentActions();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    const std::vector<std::uint8_t> rom = readFileBytes(session->rom().path());
    const std::vector<std::uint8_t> other = readFileBytes(session->otherRom().path());
    EXPECT_EQ(forbiddenChanges(session->originalRom(), rom), "");
    EXPECT_EQ(forbiddenChanges(session->originalOtherRom(), other), "");
    const long changed = changedBytes(session->originalRom(), rom);
    std::printf("soak: %d actions, %d dialogs driven, %.1f s (%.0f actions/s); "
                "%ld bytes of the ROM changed, %ld of the other\n",
                session->actionsRun(), session->dialogsDriven(), seconds,
                session->actionsRun() / seconds, changed,
                changedBytes(session->originalOtherRom(), other));
    if (steps >= 500) {
        EXPECT_GT(changed, 0) << "a session this long saves some edit";
    }

    if (heapAfterWarmUp >= 0) {
        std::printf("soak: heap %lld bytes after %ld steps, %lld at the end\n", heapAfterWarmUp,
                    kWarmUpSteps, heapAtEnd);
        EXPECT_LT(heapAtEnd - heapAfterWarmUp, kHeapSlack) << "the heap keeps growing";
    }
}

} // namespace
} // namespace tessel::testing
