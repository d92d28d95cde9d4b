// Faults survived: each kind of file operation fails in turn, once, during
// Open ROM, Save Current Sprite, Save All Sprites and the palette editor's
// Apply Changes, driven through the window. For every fault the user is told
// why (the system's reason is in the message), the file holds exactly what
// the outcome says, an unsaved edit is still known as unsaved, and the same
// command succeeds once the fault is gone.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "app/window_test_fixture.h"
#include "dialogs/palette_editor_dialog.h"
#include "editor/command_ids.h"
#include "support/fault_io.h"
#include "support/scratch_file.h"
#include "support/synthetic_rom.h"

namespace tessel::testing {
namespace {

const QString kCannotOpen = "An error occurred while attempting to open this file.";

struct Fault {
    IoOp op;
    int nth;   // the nth call of that kind from the command's start fails
    int error;
    int editsInFile; // how many of the command's edits the file holds afterwards
};

const char* opName(IoOp op)
{
    switch (op) {
    case IoOp::Open: return "open";
    case IoOp::Lock: return "lock";
    case IoOp::Size: return "size";
    case IoOp::Pread: return "read";
    case IoOp::Pwrite: return "write";
    case IoOp::Fsync: return "fsync";
    default: return "other";
    }
}

void PrintTo(const Fault& f, std::ostream* out)
{
    *out << "call " << f.nth << " of " << opName(f.op) << " fails with " << std::strerror(f.error);
}

// The first offset where two images differ, or -1 (short to print).
long long firstDifference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b)
{
    if (a.size() != b.size()) return static_cast<long long>(std::min(a.size(), b.size()));
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return static_cast<long long>(i);
    return -1;
}

std::string rowName(const ::testing::TestParamInfo<Fault>& info)
{
    return std::string(opName(info.param.op)) + "_" + std::to_string(info.param.nth);
}

// Pixel (0, 0) of a sprite is bit 7 of the first tile's bytes 0, 1, 16 and
// 17, one per bit plane of the colour index.
void setFirstPixel(std::vector<std::uint8_t>& rom, long long tile, int index)
{
    const int planeByte[4] = {0, 1, 16, 17};
    for (int plane = 0; plane < 4; ++plane) {
        std::uint8_t& b = rom[tile + planeByte[plane]];
        b = static_cast<std::uint8_t>((index >> plane & 1) ? (b | 0x80) : (b & 0x7F));
    }
}

// Sprite 0's tiles start the sprite area; sprite 1143's first tile is far
// from it, so that the two edits are two writes. The generated ROM has
// index 1 + i % 15 at pixel (0, 0) of sprite i: 1 becomes 3 (bit plane 1
// alone changes) and 4 becomes 5 (plane 0 alone), so each edit changes one
// byte and is written whole or not at all.
constexpr long long kSprite0Tile = 0x110200, kSprite1143Tile = 0x154740;
constexpr int kNewIndex0 = 3, kNewIndex1143 = 5;

class FaultsSurvived : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        original = buildSyntheticRom();
        rom.write(original);
        state->romFile.setIo(faults);
    }
    void TearDown() override
    {
        window.reset();
        state->romFile.close();
        state->romFile.setIo(systemFileIo());
    }

    bool openRom(const std::string& path)
    {
        prompts.nextPath = QString::fromStdString(path);
        window->runCommand(ids::OpenRom);
        return state->romOpen();
    }
    // The file as it must be with the first `count` of the two sprite edits.
    std::vector<std::uint8_t> withEdits(int count) const
    {
        std::vector<std::uint8_t> bytes = original;
        if (count >= 1) setFirstPixel(bytes, kSprite0Tile, kNewIndex0);
        if (count >= 2) setFirstPixel(bytes, kSprite1143Tile, kNewIndex1143);
        return bytes;
    }
    void expectToldOnce(const QString& what, int error)
    {
        ASSERT_EQ(faults.failures(), 1) << "the command never reached the fault";
        ASSERT_EQ(prompts.errors.size(), 1);
        EXPECT_TRUE(prompts.errors[0].startsWith(what)) << prompts.errors[0].toStdString();
        EXPECT_TRUE(prompts.errors[0].contains(QString::fromLocal8Bit(std::strerror(error))))
            << prompts.errors[0].toStdString();
    }
    // Close ROM answered with Cancel: true when the window asked first (the
    // ROM then stays open).
    bool closingAsks()
    {
        const int before = prompts.saveQuestions;
        prompts.saveAnswer = SaveChoice::Cancel;
        window->runCommand(ids::CloseRom);
        return prompts.saveQuestions > before;
    }

    ScratchFile rom;
    FaultIo faults;
    std::vector<std::uint8_t> original;
};

// --- Open ROM ---------------------------------------------------------------

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

TEST_F(FaultsSurvived, AFailedOpenOfAnotherRomKeepsTheOpenOneAndItsEdits)
{
    ScratchFile other;
    other.write(original);
    ASSERT_TRUE(openRom(rom.path()));
    state->spriteStore[0].pixels[0] = kNewIndex0;
    // Past the identity check: the open itself, the lock, and the load (the
    // second read is the unsaved-edits check before the ROM is replaced).
    for (auto [op, nth] : {std::pair{IoOp::Open, 2}, {IoOp::Lock, 2}, {IoOp::Pread, 3}}) {
        prompts.errors.clear();
        faults.reset();
        faults.failOn(op, nth, EIO);
        EXPECT_TRUE(openRom(other.path())) << "still the first ROM is open";
        expectToldOnce(kCannotOpen, EIO);
        EXPECT_EQ(state->romFile.path(), rom.path()) << opName(op);
        EXPECT_EQ(state->spriteStore[0].pixels[0], kNewIndex0) << opName(op);
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

// --- Saving sprites -----------------------------------------------------------

class SaveSpriteFaults : public FaultsSurvived, public ::testing::WithParamInterface<Fault> {};

TEST_P(SaveSpriteFaults, TheUserIsToldAndTheNextSaveWorks)
{
    const Fault f = GetParam();
    ASSERT_TRUE(openRom(rom.path()));
    state->spriteStore[0].pixels[0] = kNewIndex0;
    faults.reset();
    faults.failOn(f.op, f.nth, f.error);
    window->runCommand(ids::SaveCurrentSprite);
    expectToldOnce("The sprite could not be saved to the ROM.", f.error);
    EXPECT_EQ(firstDifference(rom.read(), withEdits(f.editsInFile)), -1);
    // An edit the file lacks is still unsaved: leaving asks about it.
    if (f.editsInFile == 0) {
        EXPECT_TRUE(closingAsks());
    }
    ASSERT_TRUE(state->romOpen());

    window->runCommand(ids::SaveSpriteButton);
    EXPECT_EQ(prompts.errors.size(), 1);
    EXPECT_EQ(firstDifference(rom.read(), withEdits(1)), -1);
    EXPECT_FALSE(closingAsks());
}

// Save Current Sprite: the file's size, the sprite's bytes read, the size
// again as the write checks it, the write, the flush.
INSTANTIATE_TEST_SUITE_P(EachCall, SaveSpriteFaults,
                         ::testing::Values(Fault{IoOp::Size, 1, EIO, 0},
                                           Fault{IoOp::Pread, 1, EIO, 0},
                                           Fault{IoOp::Size, 2, EOVERFLOW, 0},
                                           Fault{IoOp::Pwrite, 1, ENOSPC, 0},
                                           Fault{IoOp::Fsync, 1, EIO, 1}),
                         rowName);

class SaveAllFaults : public FaultsSurvived, public ::testing::WithParamInterface<Fault> {};

TEST_P(SaveAllFaults, TheUserIsToldAndTheNextSaveWorks)
{
    const Fault f = GetParam();
    ASSERT_TRUE(openRom(rom.path()));
    state->spriteStore[0].pixels[0] = kNewIndex0;
    state->spriteStore[1143].pixels[0] = kNewIndex1143;
    faults.reset();
    faults.failOn(f.op, f.nth, f.error);
    window->runCommand(ids::SaveAllSprites);
    expectToldOnce("The sprites could not all be saved to the ROM.", f.error);
    EXPECT_EQ(firstDifference(rom.read(), withEdits(f.editsInFile)), -1);
    if (f.editsInFile < 2) {
        EXPECT_TRUE(closingAsks());
    }
    ASSERT_TRUE(state->romOpen());

    window->runCommand(ids::SaveAllSprites);
    EXPECT_EQ(prompts.errors.size(), 1);
    EXPECT_EQ(firstDifference(rom.read(), withEdits(2)), -1);
    EXPECT_FALSE(closingAsks());
}

// Save All: the size, the whole sprite area read, then per run of changed
// bytes the size check and the write, and one flush.
INSTANTIATE_TEST_SUITE_P(EachCall, SaveAllFaults,
                         ::testing::Values(Fault{IoOp::Size, 1, EIO, 0},
                                           Fault{IoOp::Pread, 1, EIO, 0},
                                           Fault{IoOp::Pwrite, 1, ENOSPC, 0},
                                           Fault{IoOp::Pwrite, 2, ENOSPC, 1},
                                           Fault{IoOp::Size, 3, EIO, 1},
                                           Fault{IoOp::Fsync, 1, EIO, 2}),
                         rowName);

TEST_F(FaultsSurvived, ShortWritesStillSaveEveryByte)
{
    ASSERT_TRUE(openRom(rom.path()));
    state->spriteStore[0].pixels[0] = kNewIndex0;
    state->spriteStore[1143].pixels[0] = kNewIndex1143;
    faults.limitWrites(1);
    window->runCommand(ids::SaveAllSprites);
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("|").toStdString();
    EXPECT_EQ(firstDifference(rom.read(), withEdits(2)), -1);
}

// --- The palette editor's Apply Changes ----------------------------------------

class ApplyFaults : public FaultsSurvived, public ::testing::WithParamInterface<Fault> {};

// Colour 4 of palette 3 becomes raw (1, 2, 3): the word 3 << 10 | 2 << 5 | 1
// = 0x0C41, little-endian at 0x30200 + 32 * 3 + 2 * 4.
constexpr long long kColourWordAt = 0x30268;

TEST_P(ApplyFaults, TheUserIsToldAndTheNextApplyWorks)
{
    const Fault f = GetParam();
    ASSERT_TRUE(openRom(rom.path()));
    PaletteEditorDialog editor(*state, prompts, window.get());
    editor.findChild<QComboBox*>("1078")->setCurrentIndex(3);
    QTest::mouseClick(editor.findChild<QWidget*>("1084"), Qt::LeftButton);
    for (int i = 0; i < 3; ++i) {
        auto* field = editor.findChild<QLineEdit*>(QString::number(1096 + i));
        field->selectAll();
        QTest::keyClicks(field, QString::number(i + 1));
    }
    editor.findChild<QPushButton*>("1100")->click(); // << Add Color
    // Apply writes colours 1-15 of the palette, bit 15 of each word cleared.
    std::vector<std::uint8_t> applied = original;
    for (int k = 1; k < 16; ++k) {
        const std::uint16_t word = k == 4 ? 0x0C41 : expectedColourWord(3, k) & 0x7FFF;
        applied[kColourWordAt - 8 + 2 * k] = static_cast<std::uint8_t>(word & 0xFF);
        applied[kColourWordAt - 8 + 2 * k + 1] = static_cast<std::uint8_t>(word >> 8);
    }
    const ExpectedColour before = expectedRawColour(3, 4);

    faults.reset();
    faults.failOn(f.op, f.nth, f.error);
    editor.findChild<QPushButton*>("1079")->click();
    expectToldOnce("Palette 3", f.error);
    EXPECT_EQ(firstDifference(rom.read(), f.editsInFile ? applied : original), -1);
    if (f.editsInFile == 0) {
        // The editor's store still holds the colour the file holds.
        EXPECT_EQ(state->rawPalettes[3].red[4], before.red);
        EXPECT_EQ(state->rawPalettes[3].blue[4], before.blue);
    }

    editor.findChild<QPushButton*>("1079")->click();
    EXPECT_EQ(prompts.errors.size(), 1);
    EXPECT_EQ(firstDifference(rom.read(), applied), -1);
    EXPECT_EQ(state->rawPalettes[3].red[4], 1);
    EXPECT_EQ(state->rawPalettes[3].green[4], 2);
    EXPECT_EQ(state->rawPalettes[3].blue[4], 3);
}

// Apply: the size check of the write, the write, the flush, then the read
// back into the palette store.
INSTANTIATE_TEST_SUITE_P(EachCall, ApplyFaults,
                         ::testing::Values(Fault{IoOp::Size, 1, EIO, 0},
                                           Fault{IoOp::Pwrite, 1, EDQUOT, 0},
                                           Fault{IoOp::Fsync, 1, EIO, 1},
                                           Fault{IoOp::Pread, 1, EIO, 1}),
                         rowName);

} // namespace
} // namespace tessel::testing
