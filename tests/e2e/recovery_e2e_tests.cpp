// Trustworthy saving in the real program: an unsaved edit outlives the
// program's end from outside (a signal, kill -9, its window destroyed by
// another client), comes back as an unsaved edit when the ROM is opened
// again, and reaches the file only through a save; the first save of each
// run leaves one backup of the file as it was before.
#include "e2e/e2e_fixture.h"

#include <csignal>
#include <filesystem>
#include <sys/stat.h>
#include <thread>

#include "rom/recovery_file.h"
#include "support/scratch_file.h"

namespace tessel::e2e {
namespace {

using namespace std::chrono_literals;

// Sprite 18 fills the whole 64 x 80 work area.
constexpr int kEdited = 18;
constexpr int kForeground = 9;

enum class Ending { Term, KillTwoSecondsLater, WindowDestroyed, PipeThenUsr1 };

std::string endingName(const ::testing::TestParamInfo<Ending>& info)
{
    switch (info.param) {
    case Ending::Term: return "SigTerm";
    case Ending::KillTwoSecondsLater: return "SigKillTwoSecondsLater";
    case Ending::WindowDestroyed: return "WindowDestroyed";
    case Ending::PipeThenUsr1: return "SigPipeThenSigUsr1";
    }
    return "?";
}

class SavingSafety : public EndToEnd {
protected:
    std::vector<std::string> filesIn(const std::string& sub) const
    {
        std::vector<std::string> files;
        std::error_code ignored;
        for (const auto& e : std::filesystem::directory_iterator(server_->scratchDirectory() + "/state/tessel/" + sub, ignored))
            files.push_back(e.path());
        std::sort(files.begin(), files.end());
        return files;
    }

    // Shows sprite 18 and draws one pixel on it in colour 9; `sprite` and
    // the screen must agree afterwards.
    void drawDot(const EditorWindow& editor, SpriteModel& sprite, int x, int y)
    {
        desktop_->focus(editor.window());
        goToSprite(editor);
        ASSERT_EQ(waitForSprite(editor, sprite, DisplayColours::ofPalette(sprite.palette)), "") << editor.log();
        desktop_->click(editor.control(layout::swatch(kForeground)));
        desktop_->click(editor.onSprite(x, y));
        sprite.set(x, y, kForeground);
        ASSERT_EQ(waitForSprite(editor, sprite, DisplayColours::ofPalette(sprite.palette)), "") << "the dot";
    }

    void goToSprite(const EditorWindow& editor)
    {
        desktop_->click(editor.control(layout::kSpriteNumber));
        desktop_->key("ctrl+a"); // a text field keeps Ctrl+A: select all
        desktop_->type(std::to_string(kEdited));
    }

    template <typename Condition>
    static bool waitUntil(Condition done)
    {
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(20ms);
        }
        return true;
    }

    std::vector<std::uint8_t> withSprite(const SpriteModel& sprite) const
    {
        std::vector<std::uint8_t> bytes = original_;
        encodeSprite(sprite, bytes);
        return bytes;
    }
};

class Recovery : public SavingSafety, public ::testing::WithParamInterface<Ending> {};

TEST_P(Recovery, AnUnsavedEditComesBackUnsavedAndSaveAllWritesExactlyIt)
{
    SpriteModel sprite = SpriteModel::fromRom(kEdited);
    {
        EditorWindow& editor = startEditor({romPath_});
        ASSERT_NO_FATAL_FAILURE(drawDot(editor, sprite, 40, 10));
        switch (GetParam()) {
        case Ending::Term: editor.signal(SIGTERM); break;
        case Ending::KillTwoSecondsLater:
            std::this_thread::sleep_for(2s);
            editor.signal(SIGKILL);
            break;
        case Ending::WindowDestroyed: server_->client({"xdotool", "windowclose", editor.window().id}); break;
        case Ending::PipeThenUsr1:
            editor.signal(SIGPIPE); // ignored: the program answers on
            ASSERT_NO_FATAL_FAILURE(drawDot(editor, sprite, 41, 11));
            editor.signal(SIGUSR1);
            break;
        }
        ASSERT_TRUE(editor.waitUntilEnded()) << "the program goes on; " << editor.log();
    }
    EXPECT_EQ(waitForFile(original_), "") << "nothing was saved";
    ASSERT_EQ(filesIn("recovery").size(), 1u);

    EditorWindow& editor = startEditor({romPath_});
    const std::optional<WindowBox> question = waitForPopup(editor);
    ASSERT_TRUE(question) << "no question about the unsaved edits; " << editor.log();
    desktop_->focus(*question);
    desktop_->key("Return"); // Restore, the default
    ASSERT_TRUE(waitUntilNoPopup(editor));
    desktop_->focus(editor.window());
    goToSprite(editor);
    EXPECT_EQ(waitForSprite(editor, sprite, DisplayColours::ofPalette(sprite.palette)), "") << "the restored edit";
    EXPECT_EQ(waitForFile(original_), "") << "restoring wrote to the ROM";
    desktop_->click(editor.control(layout::kPencil)); // out of the number box, which keeps Ctrl+A
    desktop_->key("ctrl+a");
    EXPECT_EQ(waitForFile(withSprite(sprite)), "") << "after Ctrl+A";
}

INSTANTIATE_TEST_SUITE_P(Endings, Recovery,
                         ::testing::Values(Ending::Term, Ending::KillTwoSecondsLater, Ending::WindowDestroyed,
                                           Ending::PipeThenUsr1),
                         endingName);

using MovedRom = SavingSafety;

TEST_F(MovedRom, EditsLeftByAKillAreOfferedWhereTheRomIsNowAndRestoreExactly)
{
    SpriteModel sprite = SpriteModel::fromRom(kEdited);
    {
        EditorWindow& editor = startEditor({romPath_});
        ASSERT_NO_FATAL_FAILURE(drawDot(editor, sprite, 40, 10));
        ASSERT_NO_FATAL_FAILURE(drawDot(editor, sprite, 3, 77));
        const std::string dir = server_->scratchDirectory() + "/state/tessel/recovery";
        ASSERT_TRUE(waitUntil([&] { // killed once the file holds both dots
            const auto read = readRecoveryFile(dir, recoveryFileName(canonicalRomPath(romPath_)));
            return read.value && read.value->sprites[0].pixels[77 * kBufferWidth + 3] == kForeground;
        })) << editor.log();
        editor.signal(SIGKILL);
        ASSERT_TRUE(editor.waitUntilEnded());
    }
    const std::string moved = server_->scratchDirectory() + "/elsewhere/renamed.smc";
    std::filesystem::create_directories(server_->scratchDirectory() + "/elsewhere");
    std::filesystem::rename(romPath_, moved);
    romPath_ = moved;

    EditorWindow& editor = startEditor({moved});
    const std::optional<WindowBox> question = waitForPopup(editor);
    ASSERT_TRUE(question) << "the edits are not offered at the ROM's new place; " << editor.log();
    desktop_->focus(*question);
    desktop_->key("Return"); // Restore
    ASSERT_TRUE(waitUntilNoPopup(editor));
    desktop_->focus(editor.window());
    goToSprite(editor);
    EXPECT_EQ(waitForSprite(editor, sprite, DisplayColours::ofPalette(sprite.palette)), "") << "the restored edits";
    EXPECT_EQ(waitForFile(original_), "") << "restoring wrote to the ROM";
    desktop_->click(editor.control(layout::kPencil));
    desktop_->key("ctrl+a");
    EXPECT_EQ(waitForFile(withSprite(sprite)), "") << "after Ctrl+A";
}

using QtOptions = SavingSafety;

TEST_F(QtOptions, AroundTheRomLeaveItsArgumentIntact)
{
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"-style", "Fusion", romPath_}, {romPath_, "-reverse"}}) {
        startEditor(arguments);
        EXPECT_NO_THROW(desktop_->waitForWindow("oakenshore-Pi.smc")) << arguments.front() << " " << arguments.back();
    }
}

using Backups = SavingSafety;

TEST_F(Backups, TheFirstSaveOfEachRunLeavesOneCopyOfTheFileBefore)
{
    SpriteModel sprite = SpriteModel::fromRom(kEdited);
    {
        const EditorWindow& editor = startEditor({romPath_});
        ASSERT_NO_FATAL_FAILURE(drawDot(editor, sprite, 40, 10));
        desktop_->key("ctrl+s");
        ASSERT_EQ(waitForFile(withSprite(sprite)), "") << "the first save";
        ASSERT_NO_FATAL_FAILURE(drawDot(editor, sprite, 41, 10));
        desktop_->key("ctrl+s");
        ASSERT_EQ(waitForFile(withSprite(sprite)), "") << "the second save";
        const std::vector<std::string> backups = filesIn("backups");
        ASSERT_EQ(backups.size(), 1u);
        EXPECT_TRUE(testing::readFileBytes(backups[0]) == original_) << "the backup is not the file before the save";
        // Closed with nothing unsaved, the ROM leaves no recovery file
        // that the next run would offer.
        desktop_->key("ctrl+l");
        ASSERT_TRUE(waitUntil([&] { return filesIn("recovery").empty(); })) << "the recovery file stays";
    }
    stopEditor();
    const std::vector<std::uint8_t> afterFirstRun = withSprite(sprite);
    const EditorWindow& editor = startEditor({romPath_});
    ASSERT_NO_FATAL_FAILURE(drawDot(editor, sprite, 42, 10));
    desktop_->key("ctrl+s");
    ASSERT_EQ(waitForFile(withSprite(sprite)), "") << "the save of the second run";
    const std::vector<std::string> backups = filesIn("backups");
    ASSERT_EQ(backups.size(), 2u) << "one backup a run";
    EXPECT_TRUE(testing::readFileBytes(backups[0]) == original_);
    EXPECT_TRUE(testing::readFileBytes(backups[1]) == afterFirstRun);
}

using OddRecoveryFile = SavingSafety;

// A pipe where the ROM's recovery file belongs: Open ROM says it cannot use
// it and goes on, instead of waiting for a writer that never comes.
TEST_F(OddRecoveryFile, APipeInItsPlaceIsToldAndTheWindowGoesOn)
{
    namespace fs = std::filesystem;
    const std::string tessel = server_->scratchDirectory() + "/state/tessel", folder = tessel + "/recovery";
    fs::create_directories(folder);
    for (const std::string& f : {tessel, folder}) fs::permissions(f, fs::perms::owner_all);
    ASSERT_EQ(::mkfifo((folder + "/" + recoveryFileName(canonicalRomPath(romPath_))).c_str(), 0600), 0);
    SpriteModel sprite = SpriteModel::fromRom(kEdited);
    const EditorWindow& editor = startEditor({romPath_});
    const std::optional<WindowBox> message = waitForPopup(editor);
    ASSERT_TRUE(message) << "no word of the pipe; " << editor.log();
    desktop_->focus(*message);
    desktop_->key("Return");
    ASSERT_TRUE(waitUntilNoPopup(editor));
    ASSERT_NO_FATAL_FAILURE(drawDot(editor, sprite, 40, 10)) << "the window answers";
}

} // namespace
} // namespace tessel::e2e
