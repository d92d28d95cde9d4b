// A long randomized editing session against the real main window on the
// offscreen platform: real mouse and key events (through the application's
// key router, as in the program), every menu command, the dialogs opened and
// closed, sprite changes, the browser, saves, Open and Close. Everything it
// does is reproducible from the seed.
//
// Flow: SoakSession(seed) -> step() many times (each followed by a check
// that the canvas shows the current sprite) -> finish() saves all sprites
// of the open ROM. Any unexpected message to the user fails the step.
#pragma once

#include <QPointer>
#include <QTimer>
#include <QStringList>
#include <deque>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "window/key_router.h"
#include "window/main_window.h"
#include "support/fake_prompts.h"
#include "support/scratch_file.h"

class QDialog;

namespace tessel::testing {

class SoakSession {
public:
    explicit SoakSession(unsigned seed);
    ~SoakSession();
    SoakSession(const SoakSession&) = delete;
    SoakSession& operator=(const SoakSession&) = delete;

    // One random action; false (with failure()) when it went wrong.
    bool step();
    // Saves every sprite of the open ROM (if any) and closes it.
    bool finish();

    const std::string& failure() const { return failure_; }
    // The most recent actions, oldest first, to reproduce a failure.
    std::string recentActions() const;

    EditorState& state() { return *state_; }
    // The ROM the session edits and a copy titled otherwise (opened after
    // the "doesn't look like" question), with their bytes as generated.
    const ScratchFile& rom() const { return rom_; }
    const ScratchFile& otherRom() const { return other_; }
    const std::vector<std::uint8_t>& originalRom() const { return original_; }
    const std::vector<std::uint8_t>& originalOtherRom() const { return originalOther_; }
    int actionsRun() const { return actions_; }
    int dialogsDriven() const { return dialogs_; }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool chance(double p) { return std::bernoulli_distribution(p)(rng_); }
    void note(std::string action);
    bool fail(std::string why);

    // Top-level actions (soak_input.cpp, soak_commands.cpp).
    void canvasGesture();
    void hover();
    void clickTool();
    void clickControl();
    void clickSwatch();
    void typeOption();
    void typeSpriteNumber();
    void pressKey(QWidget* target);
    void menuCommand();
    void browserAction();
    void openRom();
    QWidget* randomFocus();

    // Modal dialogs (soak_dialogs.cpp): every action that may open one arms
    // a zero timer first; it fires inside the dialog's own event loop.
    void armDialogDriver();
    void driveDialog(QDialog* dialog);
    void paletteEditorAction(QDialog* dialog);
    void dialogKey(QDialog* dialog);
    // Fails the session and closes a modal dialog that no driver took on,
    // rather than waiting for ever.
    void startWatchdog();

    bool canvasShowsSprite();

    std::mt19937 rng_;
    std::unique_ptr<EditorState> state_;
    FakePrompts prompts_;
    std::unique_ptr<MainWindow> window_;
    KeyRouter* router_ = nullptr; // a child of the window
    QPointer<QDialog> unattended_;  // the modal dialog the watchdog saw last
    ScratchFile rom_, other_, missingDir_;
    std::vector<std::uint8_t> original_, originalOther_;
    std::vector<QPointer<QDialog>> driving_;
    QTimer watchdog_;
    int allowedErrors_ = 0; // error messages the current step may bring
    int actions_ = 0;
    int dialogs_ = 0;
    std::deque<std::string> recent_;
    std::string failure_;
};

} // namespace tessel::testing
