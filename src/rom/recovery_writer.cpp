#include "rom/recovery_writer.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <utility>

#include "file/state_files.h"

namespace tessel {

RecoveryDisk systemRecoveryDisk()
{
    return {
        .replace =
            [](const std::string& folder, const std::string& name, std::span<const std::uint8_t> bytes) {
                const IoResult made = makeDirectories(folder);
                return made.ok ? replaceFileDurably(folder, name, bytes) : made;
            },
        .remove = [](const std::string& folder, const std::string& name) { return removeFileDurably(folder, name); },
    };
}

namespace {

struct Job {
    std::string writeName; // "" for no write
    RecoveryInfo info;
    std::vector<RecoveryPiece> pieces;
    std::vector<std::string> removals;
    bool pending() const { return !writeName.empty() || !removals.empty(); }
};

} // namespace

// Owned together by the writer object and its thread: whichever lets go
// last frees it. `folder` and `disk` are never changed; the rest is the
// mutex's.
struct RecoveryWriter::Shared {
    Shared(std::string f, RecoveryDisk d) : folder(std::move(f)), disk(std::move(d)) {}
    const std::string folder;
    const RecoveryDisk disk;
    std::mutex mutex;
    std::condition_variable wake, idle;
    Job job;
    bool busy = false;
    bool stopping = false;
    bool ended = false;
    std::string error;
};

RecoveryWriter::RecoveryWriter(std::string folder, RecoveryDisk disk)
    : shared_(std::make_shared<Shared>(std::move(folder), std::move(disk))), thread_(run, shared_)
{
}

RecoveryWriter::~RecoveryWriter() { stop(kRecoveryWaitLimit); }

void RecoveryWriter::write(const std::string& name, const RecoveryInfo& info, std::vector<RecoveryPiece>& pieces)
{
    if (stopped_) return;
    {
        std::lock_guard lock(shared_->mutex);
        Job& job = shared_->job;
        std::erase(job.removals, name); // the rename replaces it anyway
        job.writeName = name;
        job.info = info;
        std::swap(job.pieces, pieces);
    }
    shared_->wake.notify_all();
}

void RecoveryWriter::remove(const std::string& name)
{
    if (stopped_) return;
    {
        std::lock_guard lock(shared_->mutex);
        Job& job = shared_->job;
        if (job.writeName == name) job.writeName.clear();
        if (std::find(job.removals.begin(), job.removals.end(), name) == job.removals.end())
            job.removals.push_back(name);
    }
    shared_->wake.notify_all();
}

bool RecoveryWriter::waitIdle(std::chrono::milliseconds limit)
{
    Shared& s = *shared_;
    std::unique_lock lock(s.mutex);
    return s.idle.wait_for(lock, limit, [&s] { return s.ended || (!s.busy && !s.job.pending()); });
}

std::string RecoveryWriter::takeError()
{
    std::lock_guard lock(shared_->mutex);
    return std::exchange(shared_->error, {});
}

bool RecoveryWriter::stop(std::chrono::milliseconds limit)
{
    if (stopped_) return ended_;
    stopped_ = true;
    Shared& s = *shared_;
    {
        std::unique_lock lock(s.mutex);
        s.stopping = true;
        s.wake.notify_all();
        ended_ = s.idle.wait_for(lock, limit, [&s] { return s.ended; });
    }
    // A thread that has said it ended only has its return left.
    if (ended_)
        thread_.join();
    else
        thread_.detach();
    return ended_;
}

void RecoveryWriter::run(std::shared_ptr<Shared> shared)
{
    Shared& s = *shared;
    Job current;
    std::vector<std::uint8_t> bytes;
    std::unique_lock lock(s.mutex);
    for (;;) {
        s.wake.wait(lock, [&s] { return s.stopping || s.job.pending(); });
        if (!s.job.pending()) break; // stopping, nothing left
        std::swap(current.writeName, s.job.writeName);
        std::swap(current.info, s.job.info);
        std::swap(current.pieces, s.job.pieces); // the old vector goes back for reuse
        std::swap(current.removals, s.job.removals);
        s.job.writeName.clear();
        s.job.removals.clear();
        s.busy = true;
        lock.unlock();

        std::string failure;
        for (const std::string& name : current.removals) {
            const IoResult r = s.disk.remove(s.folder, name);
            if (!r.ok && failure.empty()) failure = r.error;
        }
        if (!current.writeName.empty()) {
            assembleRecovery(current.info, current.pieces, bytes);
            sealRecovery(bytes);
            const IoResult r = s.disk.replace(s.folder, current.writeName, bytes);
            if (!r.ok && failure.empty()) failure = r.error;
        }

        lock.lock();
        s.busy = false;
        if (!failure.empty() && s.error.empty()) s.error = failure;
        s.idle.notify_all();
    }
    s.ended = true;
    s.idle.notify_all();
}

} // namespace tessel
