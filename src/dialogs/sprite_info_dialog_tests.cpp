#include "dialogs/sprite_info_dialog.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>

#include "editor/rom_commands.h"
#include "model/edit_marks.h"
#include "support/expected_display.h"
#include "support/rom_fixture.h"

namespace tessel {
namespace {

using testing::ExpectedColour;

QColor toQColor(ExpectedColour c) { return QColor(c.red, c.green, c.blue); }

class SpriteInfoTest : public ::testing::Test {
protected:
    testing::RomFixture rom;
    EditorState& state = rom.state();

    QString field(SpriteInfoDialog& d, int id)
    {
        auto* f = d.findChild<QLineEdit*>(QString::number(id));
        EXPECT_NE(f, nullptr);
        EXPECT_TRUE(f && f->isReadOnly());
        return f ? f->text() : QString();
    }
    static QImage picture(SpriteInfoDialog& d) { return d.grab().toImage(); }
};

TEST_F(SpriteInfoTest, LargestSpriteFillsTheBox)
{
    state.currentSprite = 18; // 8 x 10 tiles, palette 3
    SpriteInfoDialog d(state);
    EXPECT_EQ(d.windowTitle(), "Sprite #18");
    EXPECT_EQ(field(d, 1102), "8");
    EXPECT_EQ(field(d, 1103), "10");
    EXPECT_EQ(field(d, 1104), "3");

    const QImage image = picture(d);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(image.pixelColor(5 + x, 5 + y),
                      toQColor(testing::expectedSpriteColour(18, 3, x, y)))
                << x << "," << y;
}

TEST_F(SpriteInfoTest, SmallSpriteIsCentredOnTheBlackBox)
{
    state.currentSprite = 68; // 2 x 3 tiles, palette 5: 16 x 24 at (29, 33)
    SpriteInfoDialog d(state);
    EXPECT_EQ(d.windowTitle(), "Sprite #68");
    EXPECT_EQ(field(d, 1102), "2");
    EXPECT_EQ(field(d, 1103), "3");
    const QImage image = picture(d);
    for (int y = 5; y < 85; ++y) {
        for (int x = 5; x < 69; ++x) {
            const bool inside = x >= 29 && x < 45 && y >= 33 && y < 57;
            const QColor want = inside ? toQColor(testing::expectedSpriteColour(68, 5, x - 29, y - 33))
                                       : QColor(Qt::black);
            ASSERT_EQ(image.pixelColor(x, y), want) << x << "," << y;
        }
    }
    // Nothing is painted outside the box.
    EXPECT_NE(image.pixelColor(4, 40), QColor(Qt::black));
    EXPECT_NE(image.pixelColor(69, 40), QColor(Qt::black));
}

TEST_F(SpriteInfoTest, EveryPaintShowsTheStoreAsItIsNow)
{
    state.currentSprite = 68;
    SpriteInfoDialog d(state);
    ASSERT_NE(testing::expectedPixel(68, 3, 4), 9);
    state.document.spriteStore[68].pixels[4 * 64 + 3] = 9; // an unsaved edit
    EXPECT_EQ(picture(d).pixelColor(29 + 3, 33 + 4), toQColor(testing::expectedDisplayColour(5, 9)));

    // With the ROM closed underneath there is no sprite: just the black box.
    closeRom(state);
    const QImage image = picture(d);
    for (QPoint p : {QPoint(5, 5), QPoint(32, 37), QPoint(68, 84)}) EXPECT_EQ(image.pixelColor(p), QColor(Qt::black));
}

TEST_F(SpriteInfoTest, AnEditedSpriteIsMarkedAsNotSaved)
{
    state.currentSprite = 18;
    {
        SpriteInfoDialog d(state);
        EXPECT_EQ(d.findChild<QLabel*>("editedNote"), nullptr);
    }
    markSpriteEdited(state.document, 18);
    SpriteInfoDialog d(state);
    auto* note = d.findChild<QLabel*>("editedNote");
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->text(), "Edited, not saved");
    EXPECT_FALSE(note->geometry().intersects(SpriteInfoDialog::pictureBox()));
}

} // namespace
} // namespace tessel
