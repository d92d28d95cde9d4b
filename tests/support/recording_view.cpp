#include "recording_view.h"

namespace tessel::testing {

namespace {

class StandInIo final : public FileIo {
public:
    int open(const char*, int) override { return 3; }
    int close(int) override { return 0; }
    int lock(int) override { return 0; }
    long long size(int) override { return 4 << 20; }
    long pread(int, void* buf, unsigned long count, long long) override
    {
        auto* bytes = static_cast<unsigned char*>(buf);
        for (unsigned long i = 0; i < count; ++i) bytes[i] = 0xFF;
        return static_cast<long>(count);
    }
    long pwrite(int, const void*, unsigned long count, long long) override
    {
        return static_cast<long>(count);
    }
    int fsync(int) override { return 0; }
    int status(int, FileStatus& out) override
    {
        out = {.key = {}, .type = FileType::Regular, .size = 4 << 20, .links = 1, .writable = true};
        return 0;
    }
    int setBlocking(int) override { return 0; }
    int pathStatus(const char*, FileStatus& out) override { return status(3, out); }
};

} // namespace

FileIo& openRomStandIn()
{
    static StandInIo io;
    return io;
}

void attachForEditing(EditorState& state, RecordingView& view)
{
    state.window.view = &view;
    state.document.romFile.setIo(openRomStandIn());
    state.document.romFile.open("stand-in.smc");
}

} // namespace tessel::testing
