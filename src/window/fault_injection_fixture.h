// The fixture of the fault tests: a window on a generated ROM whose file
// operations go through a FaultIo, the expected file images worked out by
// hand from the tile and palette formats, and the table row type.
#pragma once

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ostream>

#include "file/system_reason.h"
#include "window/window_test_fixture.h"
#include "model/command_ids.h"
#include "support/fault_io.h"
#include "support/scratch_file.h"
#include "support/synthetic_rom.h"

namespace tessel::testing {

inline const QString kCannotOpen = "An error occurred while attempting to open this file.";

struct Fault {
    IoOp op;
    int nth;   // the nth call of that kind from the command's start fails
    int error;
    int editsInFile; // how many of the command's edits the file holds afterwards
};

inline const char* opName(IoOp op)
{
    switch (op) {
    case IoOp::Open: return "open";
    case IoOp::Lock: return "lock";
    case IoOp::Size: return "size";
    case IoOp::Pread: return "read";
    case IoOp::Pwrite: return "write";
    case IoOp::Fsync: return "fsync";
    case IoOp::Status: return "fstat";
    case IoOp::PathStatus: return "stat";
    case IoOp::Truncate: return "truncate";
    default: return "other";
    }
}

inline void PrintTo(const Fault& f, std::ostream* out)
{
    *out << "call " << f.nth << " of " << opName(f.op) << " fails with " << systemReason(f.error);
}

// The first offset where two images differ, or -1 (short to print).
inline long long firstDifference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b)
{
    if (a.size() != b.size()) return static_cast<long long>(std::min(a.size(), b.size()));
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return static_cast<long long>(i);
    return -1;
}

inline std::string rowName(const ::testing::TestParamInfo<Fault>& info)
{
    return std::string(opName(info.param.op)) + "_" + std::to_string(info.param.nth);
}

// Pixel (0, 0) of a sprite is bit 7 of the first tile's bytes 0, 1, 16 and
// 17, one per bit plane of the colour index.
inline void setFirstPixel(std::vector<std::uint8_t>& rom, long long tile, int index)
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
inline constexpr long long kSprite0Tile = 0x110200, kSprite1143Tile = 0x154740;
inline constexpr int kNewIndex0 = 3, kNewIndex1143 = 5;

class FaultsSurvived : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        original = buildSyntheticRom();
        rom.write(original);
        state->document.romFile.setIo(faults);
    }
    void TearDown() override
    {
        window.reset();
        state->document.romFile.close();
        state->document.romFile.setIo(systemFileIo());
        qputenv("XDG_CONFIG_HOME", savedConfigHome);
        qputenv("XDG_STATE_HOME", savedStateHome);
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
        EXPECT_TRUE(prompts.errors[0].contains(QString::fromStdString(systemReason(error))))
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

} // namespace tessel::testing
