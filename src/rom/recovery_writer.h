// The thread that puts recovery files (rom/recovery_file.h) on the disk, so
// that the thread that edits never waits for it.
//
//   write(name, info, pieces) -> [writer] assembleRecovery, sealRecovery,
//                                disk.replace(folder, name, bytes)
//   remove(name)              -> [writer] disk.remove(folder, name)
//   waitIdle(limit)           waits until nothing is in hand or waiting
//   takeError()               the first failure since the last call
//   stop(limit), destructor   the job in hand and the one waiting are done,
//                             then the thread ends
//
// It holds at most one job: the newest snapshot to write and the files to
// remove first. A newer snapshot replaces one the thread has not started
// on; a removal of the file about to be written cancels that write. The
// caller and the thread share only the pieces, which are never changed once
// made, and one mutex with what it guards.
//
// Every wait is bounded: a disk that hangs costs the caller at most the
// limit. A thread still busy when stop() gives up is left to end on its own;
// what it uses lives as long as it does.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "file/outcome.h"
#include "rom/recovery_file.h"

namespace tessel {

// How long the program waits for the writer before it goes on without it.
inline constexpr std::chrono::milliseconds kRecoveryWaitLimit = std::chrono::seconds(10);

// What the writer does in its folder. Called on the writer's thread only.
struct RecoveryDisk {
    std::function<IoResult(const std::string& folder, const std::string& name, std::span<const std::uint8_t> bytes)>
        replace;
    std::function<IoResult(const std::string& folder, const std::string& name)> remove;
};
// The folder is made when missing, then the file replaced durably; a
// removal syncs the folder (file/state_files.h).
RecoveryDisk systemRecoveryDisk();

class RecoveryWriter {
public:
    explicit RecoveryWriter(std::string folder, RecoveryDisk disk = systemRecoveryDisk());
    // stop(kRecoveryWaitLimit).
    ~RecoveryWriter();
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    // Takes `pieces` (leaving the caller a spare vector to fill next time).
    void write(const std::string& name, const RecoveryInfo& info, std::vector<RecoveryPiece>& pieces);
    void remove(const std::string& name);
    // False when the writer is still busy after `limit`.
    bool waitIdle(std::chrono::milliseconds limit);
    // The first failure since the last call, "" when none.
    std::string takeError();
    // Ends the thread once its work is done; false when it is still busy
    // after `limit` and was left to finish alone. Nothing handed over
    // afterwards is written.
    bool stop(std::chrono::milliseconds limit);

private:
    struct Shared;
    static void run(std::shared_ptr<Shared> shared);

    std::shared_ptr<Shared> shared_;
    std::thread thread_;
    bool stopped_ = false;
    bool ended_ = false;
};

} // namespace tessel
