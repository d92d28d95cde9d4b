#include "support/rom_fixture.h"

#include <stdexcept>

#include "editor/rom_commands.h"

namespace tessel::testing {

RomFixture::RomFixture(const SyntheticRomOptions& options, FileIo& io)
    : original(buildSyntheticRom(options)), state_(std::make_unique<EditorState>())
{
    file_.write(original);
    state_->document.romFile.setIo(io);
    IoResult r = openRom(*state_, file_.path());
    if (!r.ok) throw std::runtime_error("cannot open the synthetic ROM: " + r.error);
}

} // namespace tessel::testing
