// Every failing system call during open, save and palette write reaches the
// caller with the system's reason; nothing reports success that did not
// happen.
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

#include "file/system_reason.h"
#include "editor/rom_commands.h"
#include "model/edit_marks.h"
#include "rom/rom_session.h"
#include "support/fault_io.h"
#include "support/rom_fixture.h"

namespace tessel {
namespace {

using testing::FaultIo;
using testing::IoOp;
using testing::RomFixture;

const char* nameOf(IoOp op) { return testing::ioOpName(op); }

bool carriesReason(const std::string& error, int code)
{
    return error.find(systemReason(code)) != std::string::npos;
}

TEST(RomFaults, OpeningAnotherRom)
{
    for (IoOp op : {IoOp::Open, IoOp::Size, IoOp::Lock, IoOp::Pread}) {
        FaultIo io;
        RomFixture rom({}, io);
        testing::ScratchFile second;
        second.write(rom.original);
        io.failOn(op, 1, EIO);
        const IoResult r = openRom(rom.state(), second.path());
        EXPECT_FALSE(r.ok) << nameOf(op);
        EXPECT_TRUE(carriesReason(r.error, EIO)) << nameOf(op) << ": " << r.error;
        EXPECT_EQ(rom.state().document.romFile.path(), rom.path()) << nameOf(op);
        const int failedOpens = op == IoOp::Open ? 1 : 0;
        EXPECT_EQ(io.calls(IoOp::Open), io.calls(IoOp::Close) + 1 + failedOpens)
            << nameOf(op) << ": only the old file stays open";
    }
}

TEST(RomFaults, SavingTheCurrentSprite)
{
    for (IoOp op : {IoOp::Status, IoOp::PathStatus, IoOp::Size, IoOp::Pwrite, IoOp::Fsync}) {
        FaultIo io;
        RomFixture rom({}, io);
        EditorState& s = rom.state();
        s.current().pixels[0] ^= 15;
        markSpriteEdited(s.document, s.currentSprite);
        io.failOn(op, 1, ENOSPC);
        const SaveResult r = saveCurrentSprite(s);
        EXPECT_FALSE(r.ok) << nameOf(op);
        EXPECT_FALSE(r.complete()) << nameOf(op);
        EXPECT_TRUE(carriesReason(r.error, ENOSPC)) << nameOf(op) << ": " << r.error;
        // Also after a failed fsync, although the system's cache already
        // holds the bytes: they may never reach the disk.
        EXPECT_TRUE(hasUnsavedEdits(s.document)) << nameOf(op);
        // Once the fault is gone the same command writes the tile again.
        io.resetCounts();
        EXPECT_TRUE(saveCurrentSprite(s).complete()) << nameOf(op);
        EXPECT_EQ(io.calls(IoOp::Pwrite), 1) << nameOf(op);
        EXPECT_FALSE(hasUnsavedEdits(s.document)) << nameOf(op);
    }
}

TEST(RomFaults, SavingAllSprites)
{
    for (IoOp op : {IoOp::Status, IoOp::Size, IoOp::Pwrite, IoOp::Fsync}) {
        for (int nth : {1, 2}) {
            FaultIo io;
            RomFixture rom({}, io);
            EditorState& s = rom.state();
            s.document.spriteStore[10].pixels[0] ^= 15;
            s.document.spriteStore[1000].pixels[0] ^= 15;
            markSpriteEdited(s.document, 10);
            markSpriteEdited(s.document, 1000);
            io.failOn(op, nth, EIO);
            const SaveResult r = saveAllSprites(s.document);
            if (io.failures() == 0) continue; // the command made fewer calls of this kind
            EXPECT_FALSE(r.ok) << nameOf(op) << " #" << nth;
            EXPECT_TRUE(carriesReason(r.error, EIO)) << nameOf(op) << ": " << r.error;
            EXPECT_TRUE(hasUnsavedEdits(s.document)) << nameOf(op) << " #" << nth;
            // When the file's state could not be read after our own writes,
            // the next save cannot tell them from another program's: it asks.
            SaveResult again = saveAllSprites(s.document);
            if (op == IoOp::Status && nth == 2) {
                EXPECT_EQ(again.file, HeldFile::ChangedOutside);
                again = saveAllSprites(s.document, {.overOutsideChange = true});
            }
            EXPECT_TRUE(again.complete()) << nameOf(op);
            EXPECT_FALSE(hasUnsavedEdits(s.document));
        }
    }
}

TEST(RomFaults, WritingAPalette)
{
    for (IoOp op : {IoOp::Size, IoOp::Pwrite, IoOp::Fsync}) {
        FaultIo io;
        RomFixture rom({}, io);
        EditorState& s = rom.state();
        RawPalette colours = s.document.rawPalettes[2];
        colours.red[5] ^= 1;
        io.failOn(op, 1, EROFS);
        const SaveResult r = writePalette(s.document, 2, colours);
        EXPECT_FALSE(r.ok) << nameOf(op);
        EXPECT_TRUE(carriesReason(r.error, EROFS)) << nameOf(op) << ": " << r.error;
        EXPECT_TRUE(writePalette(s.document, 2, colours).ok);
    }
}

TEST(RomFaults, ReadingWhileRefreshingOrLoading)
{
    FaultIo io;
    RomFixture rom({}, io);
    EditorState& s = rom.state();
    s.current().pixels[0] = 9;
    io.failOn(IoOp::Pread, 1, EIO);
    const IoResult r = reloadCurrentSprite(s);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(carriesReason(r.error, EIO));
    EXPECT_EQ(s.current().pixels[0], 9); // a failed read leaves the sprite alone

    s.document.spriteStore[30].pixels[0] = 9;
    io.failOn(IoOp::Pread, 1, EIO);
    EXPECT_FALSE(loadAllSprites(s.document).ok);
    EXPECT_EQ(s.document.spriteStore[30].pixels[0], 9);
    // Whether edits are unsaved is known without reading the file.
    markSpriteEdited(s.document, 30);
    io.failOn(IoOp::Pread, 1, EIO, true);
    EXPECT_TRUE(hasUnsavedEdits(s.document));
}

} // namespace
} // namespace tessel
