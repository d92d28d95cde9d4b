// Faults survived, Open ROM: each kind of file operation fails in turn,
// once, in the identity check and in the open itself. The user is told why
// (the system's reason is in the message), nothing is left half open, and
// the next Open works.
#include "window/fault_injection_fixture.h"

#include <unistd.h>

namespace tessel::testing {
namespace {

class OpenFaults : public FaultsSurvived, public ::testing::WithParamInterface<Fault> {};

// Calls of each kind, in order: the identity check (open, size, lock, the
// title read), then the open itself (open, size, lock) and the load (the
// sprite area, then the palettes).
TEST_P(OpenFaults, NoRomOpenedAndTheNextOpenWorks)
{
    const Fault f = GetParam();
    faults.failOn(f.op, f.nth, f.error);
    EXPECT_FALSE(openRom(rom.path()));
    expectToldOnce(kCannotOpen, f.error);
    for (int id : ids::RomControls) EXPECT_FALSE(window->control(id)->isEnabled()) << id;
    EXPECT_FALSE(window->action(ids::SaveAllSprites)->isEnabled());
    EXPECT_EQ(firstDifference(rom.read(), original), -1);

    EXPECT_TRUE(openRom(rom.path()));
    EXPECT_EQ(prompts.errors.size(), 1);
    EXPECT_EQ(state->currentSprite, 0);
    EXPECT_EQ(state->current().pixels[0] & 15, 1); // sprite 0's frame colour
    for (int id : ids::RomControls) EXPECT_TRUE(window->control(id)->isEnabled()) << id;
}

INSTANTIATE_TEST_SUITE_P(EachCall, OpenFaults,
                         ::testing::Values(Fault{IoOp::Open, 1, EACCES, 0},
                                           Fault{IoOp::Open, 2, EMFILE, 0},
                                           Fault{IoOp::Size, 1, EIO, 0},
                                           Fault{IoOp::Size, 2, EIO, 0},
                                           Fault{IoOp::Lock, 1, ENOLCK, 0},
                                           Fault{IoOp::Lock, 2, ENOLCK, 0},
                                           Fault{IoOp::Pread, 1, EIO, 0},
                                           Fault{IoOp::Pread, 2, EIO, 0},
                                           Fault{IoOp::Pread, 3, EIO, 0}),
                         rowName);

// Another program cuts the ROM short between the identity check and the
// load: the user is warned as for a file that was short from the start.
TEST_F(FaultsSurvived, ARomCutShortWhileItLoadsGetsTheShortFileWarning)
{
    int cut = -1;
    faults.beforeRead = [&] { cut = faults.calls(IoOp::Pread) == 1 ? ::truncate(rom.path().c_str(), 0x120000) : cut; };
    prompts.yesNoAnswer = false;
    EXPECT_FALSE(openRom(rom.path()));
    ASSERT_EQ(cut, 0);
    ASSERT_EQ(prompts.questions.size(), 1);
    EXPECT_TRUE(prompts.questions[0].contains("1,179,648 bytes long, but an Oakenshore ROM is"));
    EXPECT_FALSE(window->action(ids::SaveAllSprites)->isEnabled());
}

TEST_F(FaultsSurvived, AFailedOpenOfAnotherRomKeepsTheOpenOneAndItsEdits)
{
    ScratchFile other;
    other.write(original);
    ASSERT_TRUE(openRom(rom.path()));
    state->document.spriteStore[0].pixels[0] = kNewIndex0;
    // Past the identity check: the open itself, the lock, and the load (the
    // second read is the unsaved-edits check before the ROM is replaced).
    for (auto [op, nth] : {std::pair{IoOp::Open, 2}, {IoOp::Lock, 2}, {IoOp::Pread, 3}}) {
        prompts.errors.clear();
        faults.reset();
        faults.failOn(op, nth, EIO);
        EXPECT_TRUE(openRom(other.path())) << "still the first ROM is open";
        expectToldOnce(kCannotOpen, EIO);
        EXPECT_EQ(state->document.romFile.path(), rom.path()) << opName(op);
        EXPECT_EQ(state->document.spriteStore[0].pixels[0], kNewIndex0) << opName(op);
    }
    prompts.saveAnswer = SaveChoice::Save;
    window->runCommand(ids::SaveCurrentSprite);
    EXPECT_EQ(firstDifference(rom.read(), withEdits(1)), -1);
}

TEST_F(FaultsSurvived, ReopeningTheHeldRomWorksAndAFailedReopenClosesItCleanly)
{
    ASSERT_TRUE(openRom(rom.path()));
    window->runCommand(ids::NextSprite);
    // Our own lock does not make the ROM "in use by another application".
    EXPECT_TRUE(openRom(rom.path()));
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("|").toStdString();
    EXPECT_EQ(state->currentSprite, 0);

    // The held file is let go just before the new lock is taken; when that
    // lock fails no ROM is open, and the controls say so.
    faults.failOn(IoOp::Lock, 2, ENOLCK);
    EXPECT_FALSE(openRom(rom.path()));
    expectToldOnce(kCannotOpen, ENOLCK);
    for (int id : ids::RomControls) EXPECT_FALSE(window->control(id)->isEnabled()) << id;
    EXPECT_FALSE(window->action(ids::SaveCurrentSprite)->isEnabled());
    EXPECT_TRUE(openRom(rom.path()));
}

} // namespace
} // namespace tessel::testing
