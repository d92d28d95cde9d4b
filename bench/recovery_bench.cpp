// What the safety nets around saving cost.
//
// BM_EditRecoveryWork: the work an edit adds on the window's thread for the
// edit marks and the recovery file (mark the sprite, note the edit's end,
// copy the edited sprites' pixels and hand them to the writer thread), with
// N sprites edited; beside the reference that writes, syncs and renames the
// recovery file on the window's thread itself.
//
// BM_Backup4MiB: the backup before the first write into a 4 MiB ROM (copy,
// sync, prune to ten), beside a plain `cp` of the same file.
//
// Both measure wall-clock time: the references spend it waiting for the
// disk or for a child process, which CPU time would not show.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <fstream>
#include <memory>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

#include "window/recovery_keeper.h"
#include "file/state_files.h"
#include "model/edit_marks.h"
#include "rom/recovery_file.h"
#include "rom/rom_backup.h"
#include "support/fake_prompts.h"
#include "support/rom_fixture.h"
#include "support/scratch_file.h"

extern char** environ;

namespace {

using namespace tessel;

// The synthetic ROM open, sprites 0..n-1 edited, sprite 0 current.
std::unique_ptr<testing::RomFixture> romWithEdits(int n)
{
    auto rom = std::make_unique<testing::RomFixture>();
    for (int i = n - 1; i >= 0; --i) markSpriteEdited(rom->state().document, i);
    return rom;
}

// One pencil dot on the current sprite as the editor makes it: the undo
// snapshot marks the sprite, the mouse release ends the edit.
void dot(EditorState& s, int i)
{
    markSpriteEdited(s.document, s.currentSprite);
    s.current().pixels[i & 4095] ^= 1;
    noteEditEnded(s.document);
}

void BM_EditRecoveryWork(benchmark::State& st)
{
    auto rom = romWithEdits(static_cast<int>(st.range(0)));
    testing::FakePrompts prompts;
    RecoveryKeeper keeper(rom->state(), prompts, nullptr);
    int i = 0;
    for (auto _ : st) {
        dot(rom->state(), ++i);
        keeper.updateNow();
    }
    keeper.updateAndWait();
}
BENCHMARK(BM_EditRecoveryWork)->Arg(1)->Arg(16)->Arg(100)->Arg(1144)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_EditRecoveryWork_WriteOnThisThreadReference(benchmark::State& st)
{
    auto rom = romWithEdits(static_cast<int>(st.range(0)));
    const std::string dir = recoveryDirectory();
    makeDirectories(dir);
    RecoveryInfo info;
    info.romPath = canonicalRomPath(rom->path());
    std::vector<std::uint8_t> bytes;
    int i = 0;
    for (auto _ : st) {
        dot(rom->state(), ++i);
        snapshotRecovery(info, rom->state().document, bytes);
        sealRecovery(bytes);
        if (!replaceFileDurably(dir, "reference.recovery", bytes).ok) st.SkipWithError("cannot write");
    }
}
BENCHMARK(BM_EditRecoveryWork_WriteOnThisThreadReference)
    ->Arg(1)
    ->Arg(16)
    ->Arg(100)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

// A 4 MiB file of varied bytes, as a ROM is.
struct FourMiB {
    FourMiB()
    {
        std::vector<std::uint8_t> bytes(4 << 20);
        for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 2654435761u >> 13);
        file.write(bytes);
        fileKeyOfPath(file.path(), key);
    }
    testing::ScratchFile file;
    FileKey key;
};

void BM_Backup4MiB(benchmark::State& st)
{
    FourMiB rom;
    testing::ScratchFile dir(testing::ScratchFile::Kind::Directory);
    std::time_t when = 1796764350;
    for (auto _ : st)
        if (!backupRom(rom.file.path(), rom.key, dir.path(), ++when).ok) st.SkipWithError("backup failed");
}
BENCHMARK(BM_Backup4MiB)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_Backup4MiB_PlainCpReference(benchmark::State& st)
{
    FourMiB rom;
    testing::ScratchFile dir(testing::ScratchFile::Kind::Directory);
    const std::string copy = dir.path() + "/copy";
    for (auto _ : st) {
        const char* argv[] = {"cp", rom.file.path().c_str(), copy.c_str(), nullptr};
        pid_t pid = 0;
        int status = 0;
        if (::posix_spawn(&pid, "/bin/cp", nullptr, nullptr, const_cast<char**>(argv), environ) != 0 ||
            ::waitpid(pid, &status, 0) != pid || status != 0)
            st.SkipWithError("cp failed");
    }
}
BENCHMARK(BM_Backup4MiB_PlainCpReference)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // The recovery files go to a scratch folder, never the home.
    QTemporaryDir state;
    if (!state.isValid()) return 1;
    qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
