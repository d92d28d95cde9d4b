#include "soak/soak_session.h"

#include <QApplication>
#include <QTest>
#include <cstdlib>
#include <cstdio>

#include "window/client_area.h"
#include "editor/rom_commands.h"
#include "model/command_ids.h"
#include "rom/rom_session.h"
#include "support/synthetic_rom.h"

namespace tessel::testing {

namespace {
constexpr std::size_t kRecentActions = 60;
const bool kTrace = std::getenv("TESSEL_SOAK_TRACE") != nullptr;

QtMessageHandler previousHandler = nullptr;

// The offscreen platform says so each time a window is raised or sized;
// thousands of such lines would hide anything that matters.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (text.startsWith(QLatin1String("This plugin does not support"))) return;
    if (previousHandler) previousHandler(type, context, text);
}
} // namespace

SoakSession::SoakSession(unsigned seed)
    : rng_(seed), state_(std::make_unique<EditorState>()), missingDir_(ScratchFile::Kind::Directory)
{
    original_ = buildSyntheticRom();
    rom_.write(original_);
    SyntheticRomOptions otherTitle;
    otherTitle.title = "OAKEN SHORF";
    originalOther_ = buildSyntheticRom(otherTitle);
    other_.write(originalOther_);

    previousHandler = qInstallMessageHandler(quietHandler);
    window_ = std::make_unique<MainWindow>(*state_, prompts_);
    // As in main(): shortcuts from wherever the focus is.
    router_ = new KeyRouter(
        *state_, [this](int id) { window_->runCommand(id); }, [this] { window_->refreshCursor(); },
        window_.get());
    qApp->installEventFilter(router_);
    window_->show();
    window_->activateWindow();
    if (!QTest::qWaitForWindowActive(window_.get())) fail("the window never became active");
    startWatchdog();

    prompts_.nextPath = QString::fromStdString(rom_.path());
    window_->runCommand(ids::OpenRom);
    if (!state_->romOpen()) fail("the generated ROM did not open");
}

SoakSession::~SoakSession()
{
    qApp->removeEventFilter(router_);
    window_.reset(); // deletes the router, its child
    state_->document.romFile.close();
    qInstallMessageHandler(previousHandler);
}

void SoakSession::note(std::string action)
{
    if (kTrace) std::fprintf(stderr, "soak %d: %s\n", actions_, action.c_str());
    recent_.push_back(std::to_string(actions_) + ": " + std::move(action));
    if (recent_.size() > kRecentActions) recent_.pop_front();
}

bool SoakSession::fail(std::string why)
{
    if (failure_.empty()) failure_ = "step " + std::to_string(actions_) + ": " + std::move(why);
    return false;
}

std::string SoakSession::recentActions() const
{
    std::string text;
    for (const std::string& a : recent_) text += "  " + a + "\n";
    return text;
}

bool SoakSession::step()
{
    ++actions_;
    if (!window_->isVisible()) {
        note("show the window again");
        window_->show();
        window_->activateWindow();
    }
    const qsizetype errorsBefore = prompts_.errors.size();
    allowedErrors_ = 0;
    armDialogDriver();
    const int roll = pick(100);
    if (roll < 28) canvasGesture();
    else if (roll < 33) hover();
    else if (roll < 42) clickTool();
    else if (roll < 52) clickControl();
    else if (roll < 59) clickSwatch();
    else if (roll < 63) typeOption();
    else if (roll < 68) typeSpriteNumber();
    else if (roll < 79) pressKey(randomFocus());
    else if (roll < 88) menuCommand();
    else if (roll < 94) browserAction();
    else openRom();
    QApplication::processEvents();
    if (!failure_.empty()) return false;

    const qsizetype told = prompts_.errors.size() - errorsBefore;
    if (told != allowedErrors_)
        return fail("the user was shown " + std::to_string(told) + " error(s), expected " +
                    std::to_string(allowedErrors_) +
                    (told ? ": " + prompts_.errors.last().toStdString() : std::string()));
    // The fake keeps every message it was shown; a long session must not
    // count that as the program's memory.
    prompts_.errors.clear();
    prompts_.questions.clear();
    prompts_.informations.clear();
    prompts_.chooserInitials.clear();
    return canvasShowsSprite();
}

// The canvas is composed from workSurface, which must show the current
// sprite's pixels in the current palette, grey outside the sprite.
bool SoakSession::canvasShowsSprite()
{
    if (!window_->isVisible()) return true;
    const QImage& surface = window_->workSurface();
    const bool shown = state_->hasSprite();
    const SpriteRecord* s = shown ? &state_->current() : nullptr;
    const DisplayPalette& pal = state_->currentDisplayPalette;
    for (int y = 0; y < kBufferHeight; ++y)
        for (int x = 0; x < kBufferWidth; ++x) {
            QRgb want = qRgb(127, 127, 127);
            if (s && x < s->widthPixels() && y < s->heightPixels()) {
                const int k = s->pixels[y * kBufferWidth + x] & 15;
                want = qRgb(pal.red[k], pal.green[k], pal.blue[k]);
            }
            if ((surface.pixel(x, y) & 0xFFFFFF) != (want & 0xFFFFFF))
                return fail("the canvas shows another colour than sprite " +
                            std::to_string(state_->currentSprite) + " holds at (" +
                            std::to_string(x) + ", " + std::to_string(y) + ")");
        }
    return true;
}

bool SoakSession::finish()
{
    QApplication::processEvents();
    if (!window_->isVisible()) window_->show();
    if (!state_->romOpen()) return failure_.empty();
    note("Save All Sprites, then read the file back");
    const qsizetype errorsBefore = prompts_.errors.size();
    window_->runCommand(ids::SaveAllSprites);
    if (prompts_.errors.size() != errorsBefore)
        return fail("the final Save All failed: " + prompts_.errors.last().toStdString());
    if (hasUnsavedEdits(state_->document)) return fail("edits are still unsaved after Save All");

    // Closing keeps the store; a second editor state then loads the file.
    const std::string path = state_->document.romFile.path();
    window_->runCommand(ids::CloseRom);
    auto fresh = std::make_unique<EditorState>();
    if (IoResult r = tessel::openRom(*fresh, path); !r.ok) return fail("cannot reopen: " + r.error);
    for (int i = 0; i < kSpriteCount; ++i) {
        const SpriteRecord& saved = fresh->document.spriteStore[i];
        const SpriteRecord& shown = state_->document.spriteStore[i];
        for (int y = 0; y < saved.heightPixels(); ++y)
            for (int x = 0; x < saved.widthPixels(); ++x)
                if ((saved.pixels[y * 64 + x] & 15) != (shown.pixels[y * 64 + x] & 15))
                    return fail("sprite " + std::to_string(i) + " reads back otherwise at (" +
                                std::to_string(x) + ", " + std::to_string(y) + ")");
    }
    for (int p = 0; p < kPaletteCount; ++p)
        for (int k = 1; k < 16; ++k) {
            const RawPalette& a = fresh->document.rawPalettes[p];
            const RawPalette& b = state_->document.rawPalettes[p];
            if (a.red[k] != b.red[k] || a.green[k] != b.green[k] || a.blue[k] != b.blue[k])
                return fail("palette " + std::to_string(p) + " colour " + std::to_string(k) +
                            " reads back otherwise");
        }
    return failure_.empty();
}

} // namespace tessel::testing
