// An editor state with the synthetic ROM written to a scratch file and
// opened as File > Open ROM would (every sprite and palette loaded, sprite
// 0 selected). `original` keeps the bytes as written, to compare with.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/editor_state.h"
#include "support/scratch_file.h"
#include "support/synthetic_rom.h"

namespace tessel::testing {

class RomFixture {
public:
    // Throws std::runtime_error when the image cannot be written or opened.
    explicit RomFixture(const SyntheticRomOptions& options = {}, FileIo& io = systemFileIo());

    EditorState& state() { return *state_; }
    const std::string& path() const { return file_.path(); }
    std::vector<std::uint8_t> fileBytes() const { return file_.read(); }

    std::vector<std::uint8_t> original;

private:
    ScratchFile file_;
    std::unique_ptr<EditorState> state_; // about 12 MB: never on the stack
};

} // namespace tessel::testing
