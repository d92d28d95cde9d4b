// The set-up every end-to-end test shares: a private X server (the test is
// skipped, saying why, where none can be started) and a scratch copy of the
// synthetic ROM with the bytes it started from.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "e2e/desktop.h"
#include "e2e/editor_window.h"
#include "e2e/screen_checks.h"

namespace tessel::e2e {

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override;
    // After a failure, keeps the screen (as an XWD file) and the editor's
    // output in $TESSEL_E2E_ARTIFACTS, when that names a directory.
    void TearDown() override;

    // Starts the editor (ending one started before); it runs until the
    // test's end, so that a failure can still keep a picture of it.
    EditorWindow& startEditor(const std::vector<std::string>& arguments);
    void stopEditor() { editor_.reset(); }

    // A visible window of the editor other than its main window (the
    // browser, an open menu), once one shows; none after ten seconds.
    std::optional<WindowBox> waitForPopup(const EditorWindow& editor) const;
    bool waitUntilNoPopup(const EditorWindow& editor) const;

    // Waits until the canvas and the preview show `sprite` in `colours`.
    std::string waitForSprite(const EditorWindow& editor, const SpriteModel& sprite,
                              const DisplayColours& colours) const;
    // Waits until the ROM file (or the file at `path`) holds exactly
    // `expected`; returns what differs otherwise.
    std::string waitForFile(const std::vector<std::uint8_t>& expected, const std::string& path = {}) const;

    std::unique_ptr<XServer> server_;
    std::unique_ptr<Desktop> desktop_;
    std::unique_ptr<EditorWindow> editor_; // ends before the server
    std::string romPath_;
    std::vector<std::uint8_t> original_;
};

} // namespace tessel::e2e
