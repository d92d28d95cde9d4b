// What the window tells the user about the ROM: dumps without a copier
// header, short files, the caption, the status bar and the messages of
// Open ROM and of the unsaved-edits question.
#include <QFile>
#include <QTest>
#include <sys/stat.h>

#include "window/status_line.h"
#include "window/window_test_fixture.h"
#include "browser/sprite_browser.h"
#include "editor/sprite_selection.h"
#include "file/rom_file.h"
#include "model/command_ids.h"
#include "support/synthetic_rom.h"

namespace tessel::testing {
namespace {

class RomFeedback : public WindowTest {
protected:
    // The synthetic ROM as `name`, without its copier header when asked,
    // cut to `keep` bytes of the copier image when given.
    QString writeRom(const QString& name, bool header, long long keep = -1)
    {
        std::vector<std::uint8_t> bytes = buildSyntheticRom({.truncateAt = keep});
        if (!header) bytes.erase(bytes.begin(), bytes.begin() + 512);
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        return path;
    }
    bool open(const QString& path)
    {
        prompts.nextPath = path;
        window->runCommand(ids::OpenRom);
        return state->romOpen() && QString::fromStdString(state->document.romFile.path()) == path;
    }
    void drawAt(int x, int y)
    {
        const QPoint p(2 + 4 * x + 1, 2 + 4 * y + 1);
        QTest::mouseClick(window->clientArea(), Qt::LeftButton, {}, p);
    }
    QString status() const { return window->statusLine()->shownText(); }
};

TEST_F(RomFeedback, ADumpOpensWithoutAQuestionAndTheCaptionFollowsTheEdits)
{
    EXPECT_EQ(window->windowTitle(), "Tessel 2.6");
    ASSERT_TRUE(open(writeRom("game.sfc", false)));
    EXPECT_TRUE(prompts.questions.isEmpty());
    EXPECT_FALSE(state->document.romFile.hasCopierHeader());
    EXPECT_EQ(window->windowTitle(), "game.sfc \u2014 Tessel 2.6");
    // The status bar gives sprite 0's place in this file: 512 bytes early.
    EXPECT_EQ(status(), "Sprite 0: 4 \u00d7 6 tiles, palette 5, file offset 0x110000");

    state->tools.foregroundIndex = (expectedPixel(0, 5, 5) + 1) & 15; // a pixel that changes
    drawAt(5, 5);
    EXPECT_EQ(window->windowTitle(), "*game.sfc \u2014 Tessel 2.6");
    window->runCommand(ids::SaveCurrentSprite);
    EXPECT_EQ(window->windowTitle(), "game.sfc \u2014 Tessel 2.6");
    EXPECT_EQ(status(), "Saved sprite 0 (1 tile) to game.sfc"); // the tiles written
    window->runCommand(ids::SaveAllSprites);
    EXPECT_EQ(status(), "Nothing to save");

    // The question before the ROM goes names it and counts the edits.
    drawAt(6, 6);
    window->runCommand(ids::NextSprite);
    drawAt(6, 6);
    prompts.saveAnswer = SaveChoice::Cancel;
    window->runCommand(ids::CloseRom);
    ASSERT_EQ(prompts.saveQuestions, 1);
    EXPECT_EQ(prompts.saveQuestionRoms, QStringList{"game.sfc"});
    EXPECT_EQ(prompts.saveQuestionCounts.front(), 2);
    prompts.saveAnswer = SaveChoice::Discard;
    window->runCommand(ids::CloseRom);
    EXPECT_EQ(window->windowTitle(), "Tessel 2.6");
    EXPECT_EQ(status(), "No ROM open");
}

TEST_F(RomFeedback, TheCaptionAndTheQuestionOnLeavingAgreeAfterUndoAndRedo)
{
    ASSERT_TRUE(open(writeRom("game.sfc", true)));
    state->tools.foregroundIndex = (expectedPixel(0, 5, 5) + 1) & 15;
    const struct {
        int command; // 0: a pencil click
        bool unsaved;
    } steps[] = {{0, true}, {ids::Undo, false}, {ids::Redo, true}, {ids::Undo, false}};
    for (const auto& step : steps) {
        if (step.command == 0) drawAt(5, 5);
        else window->runCommand(step.command);
        EXPECT_EQ(window->windowTitle().startsWith("*"), step.unsaved) << step.command;
        prompts.saveAnswer = SaveChoice::Cancel;
        const int asked = prompts.saveQuestions;
        window->runCommand(ids::Exit);
        EXPECT_EQ(prompts.saveQuestions - asked, step.unsaved ? 1 : 0) << step.command;
        if (step.unsaved) {
            EXPECT_EQ(prompts.saveQuestionCounts.back(), 1);
        }
        ASSERT_TRUE(state->romOpen());
        window->show(); // Exit without a question closed it
    }
}

TEST_F(RomFeedback, TheStatusBarNamesThePixelUnderThePointer)
{
    ASSERT_TRUE(open(writeRom("game.smc", true)));
    // Sprite 0 is 32 x 48 pixels with its frame in colour 1.
    EXPECT_EQ(StatusLine::pixelText(*state, QPoint(2 + 4 * 3 + 2, 2 + 4 * 0)), "x 3, y 0: color 1");
    EXPECT_EQ(StatusLine::pixelText(*state, QPoint(2 + 4 * 40, 2 + 4 * 70)), "x 40, y 70: outside the sprite");
    EXPECT_EQ(StatusLine::pixelText(*state, QPoint(2 + 4 * 64, 10)), "");
    window->statusLine()->pointerAt(QPoint(2 + 4 * 3 + 2, 2));
    EXPECT_EQ(status(), "x 3, y 0: color 1");
    window->statusLine()->pointerLeft();
    EXPECT_TRUE(status().startsWith("Sprite 0: ")) << status().toStdString();
}

TEST_F(RomFeedback, AShortFileIsNamedAsShortBeforeItOpens)
{
    const QString path = writeRom("short.sfc", false, 0x154000);
    prompts.yesNoAnswer = false;
    EXPECT_FALSE(open(path));
    ASSERT_EQ(prompts.questions.size(), 1);
    const QString& q = prompts.questions[0];
    EXPECT_TRUE(q.startsWith("short.sfc is 1,392,128 bytes long, but an Oakenshore ROM is 2,097,152 "
                             "bytes (2,097,664 with a copier header)"))
        << q.toStdString();
    // 0x1547C0 - 0x154000 = 1984 bytes of 2 x 2 sprites (128 bytes each)
    // are missing: 15 whole sprites and half of one more.
    EXPECT_TRUE(q.contains("the last sprites. 16 sprites of 1144 lie wholly or partly past its end; they show "
                           "blank (all in color 15) and cannot be saved."))
        << q.toStdString();
    EXPECT_EQ(prompts.defaultNoQuestions, 1);
    prompts.yesNoAnswer = true;
    EXPECT_TRUE(open(path));
    // A whole ROM asks nothing.
    EXPECT_TRUE(open(writeRom("whole.smc", true)));
    EXPECT_EQ(prompts.questions.size(), 2);
}

TEST_F(RomFeedback, OpenRomErrorsSayWhatIsWrongInAPlainBox)
{
    const QString fifo = dir.filePath("pipe.smc");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(open(fifo));
    const QString held = writeRom("held.smc", true);
    RomFile other;
    ASSERT_TRUE(other.open(held.toStdString()).ok);
    EXPECT_FALSE(open(held));
    ASSERT_EQ(prompts.errors.size(), 2);
    EXPECT_EQ(prompts.plainErrors, 2);
    EXPECT_TRUE(prompts.errors[0].endsWith("\n\npipe.smc is not a regular file."))
        << prompts.errors[0].toStdString();
    EXPECT_TRUE(prompts.errors[1].endsWith("\n\nheld.smc is in use by another editor."))
        << prompts.errors[1].toStdString();
}

TEST_F(RomFeedback, EveryControlExplainsItselfAndSwatchesGiveTheirColourWord)
{
    for (int id : {1025, 1026, 1030, 1061, 1027, 1028, 1033, 1034, 1042, 1035, 1036, 1037, 1038, 1043,
                   1065, 1066, 1039, 1040, 1041, 1044, 1045, 1067})
        EXPECT_FALSE(window->control(id)->toolTip().isEmpty()) << id;
    EXPECT_TRUE(window->control(ids::SaveSpriteButton)->toolTip().contains("Ctrl+S"));
    EXPECT_TRUE(window->control(ids::ColourPickerButton)->toolTip().contains("Shift"));

    ASSERT_TRUE(open(writeRom("game.smc", true)));
    const ExpectedColour c = expectedRawColour(5, 3); // sprite 0 uses palette 5
    const QString word = QStringLiteral("$%1").arg(expectedColourWord(5, 3) & 0x7FFF, 4, 16, QChar('0')).toUpper();
    // The keys that pick it follow on a line of their own.
    EXPECT_TRUE(window->control(1004 + 3)->toolTip().startsWith(
              QStringLiteral("Color 3: red %1, green %2, blue %3 (%4)\n"
                             "Left click: foreground color; right click: background color")
                  .arg(c.red)
                  .arg(c.green)
                  .arg(c.blue)
                  .arg(word) + "\nFrom the keyboard: "));
    EXPECT_TRUE(window->control(1004)->toolTip().startsWith("Color 0: transparent, not stored"));
}

TEST_F(RomFeedback, OpeningAnotherRomWhileTheBrowserShowsTurnsItToThatRom)
{
    ASSERT_TRUE(open(writeRom("a.smc", true)));
    selectSprite(*state, 100);
    window->runCommand(ids::BrowserButton);
    auto* browser = window->findChild<SpriteBrowser*>();
    ASSERT_TRUE(browser->isVisible());
    EXPECT_EQ(browser->page(), 12);
    ASSERT_TRUE(open(writeRom("b.smc", true)));
    EXPECT_EQ(browser->page(), 0) << "the new ROM's sprite 0 and its neighbours";
}

} // namespace
} // namespace tessel::testing
