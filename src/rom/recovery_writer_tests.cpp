// The recovery writer's thread: snapshots handed while it writes, the one
// job it keeps, and waits that end. These tests also run under
// ThreadSanitizer (recovery_writer_tsan_tests).
#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <mutex>

#include "rom/recovery_writer.h"
#include "rom/sprite_catalogue.h"
#include "support/scratch_file.h"

namespace tessel {
namespace {

using namespace std::chrono_literals;
using testing::ScratchFile;

constexpr auto kDeadline = 10s;

// A disk that writes nothing and records each call ("write NAME SAVEDAT",
// "remove NAME"); while `hold` is set, a call waits inside until let go.
struct Disk {
    std::mutex mutex;
    std::condition_variable changed;
    bool hold = false;
    bool inside = false;
    std::vector<std::string> calls;

    IoResult call(std::string what)
    {
        std::unique_lock lock(mutex);
        calls.push_back(std::move(what));
        inside = true;
        changed.notify_all();
        changed.wait(lock, [this] { return !hold; });
        inside = false;
        return IoResult::success();
    }
    void waitInside()
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(changed.wait_for(lock, kDeadline, [this] { return inside; })) << "the writer never started";
    }
    void letGo()
    {
        std::lock_guard lock(mutex);
        hold = false;
        changed.notify_all();
    }
    std::vector<std::string> seen()
    {
        std::lock_guard lock(mutex);
        return calls;
    }
};

RecoveryDisk recordingDisk(const std::shared_ptr<Disk>& disk)
{
    return {
        .replace =
            [disk](const std::string&, const std::string& name, std::span<const std::uint8_t> bytes) {
                const auto contents = decodeRecovery(bytes);
                return disk->call("write " + name + " " + std::to_string(contents ? contents->info.savedAt : -1));
            },
        .remove = [disk](const std::string&, const std::string& name) { return disk->call("remove " + name); },
    };
}

RecoveryInfo savedAt(std::int64_t when) { return {"/roms/a.smc", {1, 2}, when, 0}; }

class RecoveryWriterTest : public ::testing::Test {
public:
    // A write of `name` with no sprites, told apart by its time.
    void write(const std::string& name, std::int64_t when)
    {
        std::vector<RecoveryPiece> none;
        writer->write(name, savedAt(when), none);
    }
    // The writer busy with a first write of "first" until the disk lets go.
    void holdWriter()
    {
        {
            std::lock_guard lock(disk->mutex);
            disk->hold = true;
        }
        write("first", 1);
        disk->waitInside();
    }

    std::shared_ptr<Disk> disk = std::make_shared<Disk>();
    std::unique_ptr<RecoveryWriter> writer = std::make_unique<RecoveryWriter>("/nowhere", recordingDisk(disk));
};

TEST_F(RecoveryWriterTest, KeepsOneJobWhileBusy)
{
    struct Case {
        const char* what;
        std::function<void(RecoveryWriterTest&)> handWhileBusy;
        std::vector<std::string> calls; // after "write first 1"
    };
    const std::vector<Case> cases = {
        {"the newest snapshot replaces one not started",
         [](RecoveryWriterTest& t) {
             t.write("a", 2);
             t.write("a", 3);
         },
         {"write a 3"}},
        {"a removal cancels the waiting write of its file, a write the removal of its file",
         [](RecoveryWriterTest& t) {
             t.write("a", 2);
             t.writer->remove("a");
             t.writer->remove("b");
             t.writer->remove("c");
             t.write("b", 4);
         },
         {"remove a", "remove c", "write b 4"}},
        {"a file is removed once however often asked",
         [](RecoveryWriterTest& t) {
             t.writer->remove("a");
             t.writer->remove("a");
         },
         {"remove a"}},
    };
    for (const Case& c : cases) {
        disk = std::make_shared<Disk>();
        writer = std::make_unique<RecoveryWriter>("/nowhere", recordingDisk(disk));
        ASSERT_NO_FATAL_FAILURE(holdWriter());
        c.handWhileBusy(*this);
        disk->letGo();
        ASSERT_TRUE(writer->waitIdle(kDeadline)) << c.what;
        std::vector<std::string> want = {"write first 1"};
        want.insert(want.end(), c.calls.begin(), c.calls.end());
        EXPECT_EQ(disk->seen(), want) << c.what;
    }
}

TEST_F(RecoveryWriterTest, WaitsEndAtTheirLimitWhenTheDiskHangs)
{
    ASSERT_NO_FATAL_FAILURE(holdWriter());
    EXPECT_FALSE(writer->waitIdle(20ms));
    EXPECT_FALSE(writer->stop(20ms)) << "a hung disk held up the stop";
    write("late", 9); // after stop: never written
    writer.reset();   // returns at once: the thread was left to finish alone
    disk->letGo();
    // The thread frees what it shares with the writer as it ends.
    const auto deadline = std::chrono::steady_clock::now() + kDeadline;
    while (disk.use_count() > 1 && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
    EXPECT_EQ(disk.use_count(), 1) << "the thread did not end";
    EXPECT_EQ(disk->seen(), std::vector<std::string>{"write first 1"});
}

TEST(RecoveryWriter, TheFileOnTheDiskIsTheLastSnapshotHandedWhileItWrote)
{
    ScratchFile folder(ScratchFile::Kind::Directory);
    const std::string dir = folder.path() + "/recovery"; // made by the first write
    auto state = std::make_unique<RomDocument>();
    initRecordsFromCatalogue(state->spriteStore);
    RecoveryWriter writer(dir);
    std::vector<RecoveryPiece> pieces;
    RecoveryPiece unchanged = recoveryPiece(*state, 5); // handed to every file, as the keeper does
    constexpr int kSnapshots = 300;
    const int width = std::min(state->spriteStore[40].widthPixels(), kBufferWidth);
    for (int i = 1; i <= kSnapshots; ++i) {
        state->spriteStore[40].pixels[i % width] = static_cast<std::uint8_t>(1 + i / width % 15); // colour indices
        pieces.clear();
        pieces.push_back(unchanged);
        pieces.push_back(recoveryPiece(*state, 40));
        if (i % 50 == 0) writer.remove("r.recovery");
        writer.write("r.recovery", savedAt(i), pieces);
        if (i % 7 == 0) {
            EXPECT_EQ(writer.takeError(), "");
        }
    }
    ASSERT_TRUE(writer.waitIdle(kDeadline));
    EXPECT_EQ(writer.takeError(), "");
    const auto read = readRecoveryFile(dir, "r.recovery");
    ASSERT_TRUE(read.ok) << read.error;
    const auto& kept = read.value;
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->info.savedAt, kSnapshots);
    ASSERT_EQ(kept->sprites.size(), 2u);
    EXPECT_EQ(kept->sprites[1].sprite, 40);
    ASSERT_EQ(kept->sprites[1].width, width);
    for (int x = 0; x < width; ++x) {
        EXPECT_EQ(kept->sprites[1].pixels[x], state->spriteStore[40].pixels[x]) << x;
    }
    EXPECT_TRUE(writer.stop(kDeadline));
}

TEST(RecoveryWriter, AFolderThatCannotBeMadeIsReportedOnce)
{
    ScratchFile blocker; // a file where the folder's parent should be
    RecoveryWriter writer(blocker.path() + "/recovery");
    std::vector<RecoveryPiece> none;
    writer.remove("other.recovery"); // not there: no failure
    int reported = 0;
    for (int i = 1; i <= 50; ++i) { // taken while the writer fails again
        writer.write("r.recovery", savedAt(i), none);
        reported += !writer.takeError().empty();
    }
    ASSERT_TRUE(writer.waitIdle(kDeadline));
    reported += !writer.takeError().empty();
    EXPECT_GE(reported, 1);
    EXPECT_EQ(writer.takeError(), "") << "a failure is taken once";
    EXPECT_FALSE(std::filesystem::exists(blocker.path() + "/recovery/r.recovery"));
}

} // namespace
} // namespace tessel
