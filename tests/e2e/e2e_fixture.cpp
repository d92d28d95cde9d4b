#include "e2e/e2e_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>

#include "support/scratch_file.h"
#include "support/synthetic_rom.h"

namespace tessel::e2e {

void EndToEnd::SetUp()
{
    server_ = std::make_unique<XServer>();
    if (!server_->started()) GTEST_SKIP() << "no virtual X server for end-to-end tests: " << server_->failure();
    ASSERT_TRUE(onPath("xdotool")) << "xdotool is missing (scripts/install-deps installs it)";
    desktop_ = std::make_unique<Desktop>(*server_);
    romPath_ = server_->scratchDirectory() + "/oakenshore-Pi.smc";
    original_ = testing::buildSyntheticRom();
    std::string error;
    ASSERT_TRUE(testing::writeSyntheticRom(romPath_, {}, &error)) << error;
}

EditorWindow& EndToEnd::startEditor(const std::vector<std::string>& arguments)
{
    editor_.reset();
    editor_ = std::make_unique<EditorWindow>(*server_, arguments);
    return *editor_;
}

namespace {
std::optional<WindowBox> popupOf(const Desktop& desktop, const EditorWindow& editor)
{
    for (const WindowBox& w : desktop.windowsOfClass("^tessel$"))
        if (w.id != editor.window().id) return w;
    return std::nullopt;
}
} // namespace

std::optional<WindowBox> EndToEnd::waitForPopup(const EditorWindow& editor) const
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
        if (auto popup = popupOf(*desktop_, editor)) return popup;
        if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

bool EndToEnd::waitUntilNoPopup(const EditorWindow& editor) const
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (popupOf(*desktop_, editor)) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

void EndToEnd::TearDown()
{
    const char* artifacts = std::getenv("TESSEL_E2E_ARTIFACTS");
    if (!HasFailure() || !server_ || !server_->started() || !artifacts || !*artifacts) return;
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string stem = std::string(artifacts) + "/" + test->test_suite_name() + "." + test->name();
    std::error_code ignored;
    std::filesystem::copy_file(server_->scratchDirectory() + "/Xvfb_screen0", stem + ".xwd",
                               std::filesystem::copy_options::overwrite_existing, ignored);
    std::filesystem::copy_file(server_->scratchDirectory() + "/tessel.log", stem + ".log",
                               std::filesystem::copy_options::overwrite_existing, ignored);
}

std::string EndToEnd::waitForSprite(const EditorWindow& editor, const SpriteModel& sprite,
                                    const DisplayColours& colours) const
{
    return waitForScreen(*server_, [&](const XwdImage& screen) {
        std::string finding = checkCanvas(screen, editor.client(), sprite, colours);
        if (finding.empty()) finding = checkBoxedSprite(screen, editor.at(450, 0), sprite, colours, "preview");
        return finding;
    });
}

std::string EndToEnd::waitForFile(const std::vector<std::uint8_t>& expected, const std::string& path) const
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
        std::vector<std::uint8_t> file; // none yet: no bytes
        try { file = testing::readFileBytes(path.empty() ? romPath_ : path); } catch (const std::exception&) {}
        std::string finding;
        if (file.size() != expected.size()) {
            finding = "the file has " + std::to_string(file.size()) + " bytes, expected " +
                      std::to_string(expected.size());
        } else {
            int wrong = 0;
            for (std::size_t i = 0; i < file.size(); ++i) {
                if (file[i] == expected[i]) continue;
                if (wrong++ < 8)
                    finding += " at 0x" + (std::ostringstream() << std::hex << i).str() + ": " +
                               std::to_string(file[i]) + " instead of " + std::to_string(expected[i]) + ";";
            }
            if (wrong) finding = std::to_string(wrong) + " bytes differ:" + finding;
        }
        if (finding.empty() || std::chrono::steady_clock::now() > deadline) return finding;
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
}

} // namespace tessel::e2e
