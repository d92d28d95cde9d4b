#include "dialogs/history_dialog.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "editor/history_commands.h"
#include "editor/sprite_selection.h"
#include "support/expected_display.h"
#include "support/rom_fixture.h"
#include "tools/undo.h"

namespace tessel {
namespace {

TEST(HistoryDialog, ListsTheStatesWithTheirPicturesAndRestoresTheChosenOne)
{
    testing::RomFixture rom;
    EditorState& state = rom.state();
    selectSprite(state, 18); // 8 x 10 tiles in palette 3
    pushUndoSnapshot(state, EditCause::Fill);
    state.current().pixels.fill(2);
    HistoryDialog d(state);
    QListWidget* list = d.states();
    ASSERT_EQ(list->count(), 2);
    EXPECT_TRUE(list->item(0)->text().endsWith("as loaded"));
    EXPECT_TRUE(list->item(1)->text().endsWith("fill"));
    EXPECT_EQ(list->currentRow(), 1);
    const QImage loaded = HistoryDialog::picture(*historyStates(state)[0], state.currentDisplayPalette);
    ASSERT_EQ(loaded.size(), QSize(64, 80));
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 64; ++x) {
            const testing::ExpectedColour c = testing::expectedSpriteColour(18, 3, x, y);
            ASSERT_EQ(loaded.pixel(x, y), qRgb(c.red, c.green, c.blue)) << x << "," << y;
        }
    list->setCurrentRow(0);
    QTest::mouseClick(d.restoreButton(), Qt::LeftButton);
    ASSERT_EQ(list->count(), 3);
    EXPECT_TRUE(list->item(2)->text().endsWith("restore"));
    EXPECT_EQ(list->currentRow(), 2);
    EXPECT_EQ(state.current().pixels[5 * 64 + 9] & 15, testing::expectedPixel(18, 9, 5));
}

} // namespace
} // namespace tessel
