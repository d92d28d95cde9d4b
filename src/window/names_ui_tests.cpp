// Names and stars in the window, kept per game across Close and Open ROM;
// the preview's timer.
#include <QSignalSpy>

#include "views/preview_window.h"
#include "window/status_line.h"
#include "window/window_test_fixture.h"
#include "editor/sprite_selection.h"
#include "model/command_ids.h"

namespace tessel::testing {
namespace {

using NamesUi = WindowTest;

TEST_F(NamesUi, NamedAndStarredSpriteShowsInTheStatusBarAndComesBackWithTheGame)
{
    prompts.nextPath = makeRomFile("names.smc");
    window->runCommand(ids::OpenRom);
    ASSERT_TRUE(state->romOpen());
    selectSprite(*state, 5);
    QSignalSpy changes(window.get(), &MainWindow::spriteNamesChanged);
    prompts.nameAnswer = QStringLiteral("  Hero, walking ");
    window->action(ids::NameSprite)->trigger();
    window->runCommand(ids::ToggleStar);
    ASSERT_EQ(prompts.nameQuestions, std::deque<int>{5});
    EXPECT_EQ(changes.count(), 2);
    EXPECT_EQ(changes.first().first().toInt(), 5);
    EXPECT_TRUE(window->statusLine()->shownText().startsWith(
        QStringLiteral("Sprite 5 \u201cHero, walking\u201d \u2605: ")))
        << window->statusLine()->shownText().toStdString();

    // Another file of the same game (the same title) finds them again.
    window->runCommand(ids::CloseRom);
    EXPECT_EQ(window->spriteNames().name(5), "");
    prompts.nextPath = makeRomFile("copy.smc");
    window->runCommand(ids::OpenRom);
    EXPECT_EQ(window->spriteNames().name(5), "Hero, walking");
    EXPECT_TRUE(window->spriteNames().starred(5));
    EXPECT_TRUE(prompts.informations.isEmpty());
}

TEST_F(NamesUi, PreviewTimerRunsOnlyWhileShownPlayingAndARomIsOpen)
{
    prompts.nextPath = makeRomFile("preview.smc");
    window->runCommand(ids::OpenRom);
    PreviewWindow* preview = window->preview();
    preview->setSettings({"3-5", 10, 2});
    EXPECT_FALSE(preview->timerActive()); // not shown yet
    window->runCommand(ids::Preview);
    ASSERT_TRUE(preview->isVisible());
    EXPECT_TRUE(preview->windowTitle().startsWith("Preview"));
    EXPECT_TRUE(preview->timerActive());
    EXPECT_EQ(preview->timerInterval(), 100);
    EXPECT_EQ(preview->shownSprite(), 3);
    preview->advance();
    preview->advance();
    preview->advance();
    EXPECT_EQ(preview->shownSprite(), 3); // round again
    preview->setPlaying(false);
    EXPECT_FALSE(preview->timerActive());
    preview->setPlaying(true);
    preview->hide();
    EXPECT_FALSE(preview->timerActive());
    window->runCommand(ids::Preview);
    EXPECT_TRUE(preview->timerActive());
    preview->setSettings({"3,x", 10, 2});
    EXPECT_FALSE(preview->timerActive());
    EXPECT_FALSE(preview->listMessage().isEmpty());
    preview->setSettings({"7", 10, 2});
    window->runCommand(ids::CloseRom);
    EXPECT_FALSE(preview->isVisible());
    EXPECT_FALSE(preview->timerActive());
}

} // namespace
} // namespace tessel::testing
