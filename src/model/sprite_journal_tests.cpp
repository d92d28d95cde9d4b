#include <gtest/gtest.h>

#include <vector>

#include "model/sprite_journal.h"

namespace tessel {
namespace {

// A 64 x 80 state whose first byte tells it apart.
void recordFull(SpriteJournal& journal, int sprite, std::uint8_t mark)
{
    std::vector<std::uint8_t> rows(64 * 80, 3);
    rows[0] = mark;
    journal.record(sprite, EditCause::Pencil, {}, rows.data(), 64, 64, 80);
}

std::uint8_t firstMark(const SpriteJournal& journal, int sprite)
{
    return journal.statesOf(sprite).front()->pixels[0];
}

TEST(SpriteJournal, KeepsAHundredStatesPerSpriteOldestDroppedFirst)
{
    SpriteJournal journal;
    for (int i = 0; i < 105; ++i) recordFull(journal, 7, static_cast<std::uint8_t>(i));
    recordFull(journal, 7, 104); // the same as the newest: no new state
    ASSERT_EQ(journal.statesOf(7).size(), 100u);
    EXPECT_EQ(firstMark(journal, 7), 5);
    EXPECT_EQ(journal.statesOf(7).back()->pixels[0], 104);
    EXPECT_EQ(journal.bytes(), 100u * (5120 + 128));
}

TEST(SpriteJournal, KeepsEightMebibytesInAllOldestOfAnySpriteFirst)
{
    // 8 MiB hold 1598 states of 5120 + 128 bytes; of 17 x 100 the first
    // 102 go: all of the first sprite's and two of the second's.
    SpriteJournal journal;
    for (int sprite = 0; sprite < 17; ++sprite)
        for (int i = 0; i < 100; ++i) recordFull(journal, sprite, static_cast<std::uint8_t>(i));
    EXPECT_EQ(journal.size(), 1598u);
    EXPECT_EQ(journal.bytes(), 1598u * 5248);
    EXPECT_FALSE(journal.hasStates(0));
    EXPECT_EQ(journal.statesOf(1).size(), 98u);
    EXPECT_EQ(firstMark(journal, 1), 2);
    EXPECT_EQ(journal.statesOf(2).size(), 100u);
    // The next state of the last sprite pushes out its own oldest, through
    // its own limit, and nothing of the second sprite.
    recordFull(journal, 16, 200);
    EXPECT_EQ(journal.statesOf(1).size(), 98u);
    EXPECT_EQ(firstMark(journal, 16), 1);
}

TEST(SpriteJournal, StoresTheSpritesOwnAreaRowByRow)
{
    std::vector<std::uint8_t> store(64 * 80, 0);
    store[0] = 1, store[2] = 2, store[64] = 3, store[66] = 4, store[3] = 9; // column 3 is off the sprite
    SpriteJournal journal;
    journal.record(4, EditCause::Fill, {}, store.data(), 64, 3, 2);
    const JournalState& s = *journal.statesOf(4).at(0);
    EXPECT_EQ(s.pixels, (std::vector<std::uint8_t>{1, 0, 2, 3, 0, 4}));
    const auto id = s.id;
    EXPECT_EQ(journal.find(id), &s);
    journal.clear(); // `s` is gone with it
    EXPECT_EQ(journal.find(id), nullptr);
    EXPECT_EQ(journal.bytes(), 0u);
}

} // namespace
} // namespace tessel
