// The soak session's actions in the main window: mouse gestures on the
// canvas, the controls and swatches, typing, key strokes, menu commands,
// the browser, and Open / Close ROM.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>
#include <array>

#include "app/client_area.h"
#include "browser/page_arrows.h"
#include "browser/sprite_browser.h"
#include "editor/command_ids.h"
#include "soak/soak_session.h"

namespace tessel::testing {

namespace {

struct Key {
    Qt::Key key;
    char typed; // the character the key types, for keys that type one
    Qt::KeyboardModifiers modifiers;
    const char* name;
};

// Every routed shortcut, and keys that widgets use themselves.
const Key kKeys[] = {
    {Qt::Key_S, 0, Qt::ControlModifier, "Ctrl+S"}, {Qt::Key_A, 0, Qt::ControlModifier, "Ctrl+A"},
    {Qt::Key_Z, 0, Qt::ControlModifier, "Ctrl+Z"}, {Qt::Key_C, 0, Qt::ControlModifier, "Ctrl+C"},
    {Qt::Key_V, 0, Qt::ControlModifier, "Ctrl+V"}, {Qt::Key_X, 0, Qt::ControlModifier, "Ctrl+X"},
    {Qt::Key_L, 0, Qt::ControlModifier, "Ctrl+L"}, {Qt::Key_Delete, 0, {}, "Delete"},
    {Qt::Key_P, 'P', Qt::ShiftModifier, "Shift+P"}, {Qt::Key_I, 'i', {}, "i"},
    {Qt::Key_Escape, 0, {}, "Escape"},             {Qt::Key_Return, 0, {}, "Return"},
    {Qt::Key_Tab, 0, {}, "Tab"},                   {Qt::Key_Up, 0, {}, "Up"},
    {Qt::Key_Down, 0, {}, "Down"},                 {Qt::Key_Space, ' ', {}, "Space"},
    {Qt::Key_7, '7', {}, "7"},                     {Qt::Key_Backspace, 0, {}, "Backspace"},
};

const char* const kOptionTexts[] = {"0",  "1",  "2",   "3",     "7",          "20",  "33",
                                    "64", "99", "-7",  "abc",   "2147483647", "",    "5x"};

constexpr std::array<int, 8> kToolButtons = {ids::PencilButton, ids::FloodFillButton,
                                             ids::SelectButton, ids::LineButton,
                                             ids::RectangleButton, ids::EllipseButton,
                                             ids::ColourPickerButton, ids::RoundRectButton};

void sendMove(QWidget* w, QPoint p, Qt::MouseButtons held)
{
    QMouseEvent e(QEvent::MouseMove, p, w->mapToGlobal(p), Qt::NoButton, held, {});
    QApplication::sendEvent(w, &e);
}

} // namespace

void SoakSession::canvasGesture()
{
    QWidget* client = window_->clientArea();
    auto somewhere = [&] {
        if (chance(0.85)) return QPoint(pick(280) - 10, pick(345) - 10); // the canvas and around
        return QPoint(pick(client->width()), pick(client->height()));
    };
    QPoint p = somewhere();
    const bool shift = chance(0.08);
    if (shift) QTest::keyPress(randomFocus(), Qt::Key_Shift);
    if (chance(0.1)) {
        note("double click at " + std::to_string(p.x()) + "," + std::to_string(p.y()));
        QTest::mousePress(client, Qt::LeftButton, {}, p);
        QTest::mouseRelease(client, Qt::LeftButton, {}, p);
        QTest::mouseDClick(client, Qt::LeftButton, {}, p);
        QTest::mouseRelease(client, Qt::LeftButton, {}, p);
    } else {
        const Qt::MouseButton button = chance(0.3) ? Qt::RightButton : Qt::LeftButton;
        std::string trace = button == Qt::LeftButton ? "left drag" : "right drag";
        trace += " from " + std::to_string(p.x()) + "," + std::to_string(p.y());
        QTest::mousePress(client, button, {}, p);
        for (int moves = pick(7); moves > 0; --moves) {
            p = chance(0.2) ? somewhere() : p + QPoint(pick(41) - 20, pick(41) - 20);
            sendMove(client, p, button);
        }
        trace += " to " + std::to_string(p.x()) + "," + std::to_string(p.y());
        note(trace + (shift ? " with Shift" : ""));
        QTest::mouseRelease(client, button, {}, p);
    }
    if (shift) QTest::keyRelease(randomFocus(), Qt::Key_Shift);
}

void SoakSession::hover()
{
    QWidget* client = window_->clientArea();
    const QPoint p(pick(client->width()), pick(client->height()));
    note("pointer over " + std::to_string(p.x()) + "," + std::to_string(p.y()));
    sendMove(client, p, Qt::NoButton);
}

void SoakSession::clickTool()
{
    const int id = kToolButtons[pick(static_cast<int>(kToolButtons.size()))];
    note("tool button " + std::to_string(id));
    QTest::mouseClick(window_->control(id), Qt::LeftButton);
}

void SoakSession::clickControl()
{
    static const int kControls[] = {ids::PreviousSprite,  ids::NextSprite,  ids::SaveSpriteButton,
                                    ids::RefreshSpriteButton, ids::BrowserButton, ids::HFlipButton,
                                    ids::VFlipButton,     ids::TransparentCheck,
                                    ids::ForegroundIndicator, ids::BackgroundIndicator,
                                    ids::FillCombo};
    const int id = kControls[pick(static_cast<int>(std::size(kControls)))];
    QWidget* w = window_->control(id);
    if (!w->isVisible() || !w->isEnabled()) {
        note("control " + std::to_string(id) + " by id (hidden or disabled)");
        window_->runCommand(id); // must do nothing
        return;
    }
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        note("fill mode key");
        QTest::keyClick(combo, chance(0.5) ? Qt::Key_Down : Qt::Key_Up);
        return;
    }
    note("click control " + std::to_string(id));
    prompts_.saveAnswer = static_cast<SaveChoice>(pick(3));
    QTest::mouseClick(w, chance(0.8) ? Qt::LeftButton : Qt::RightButton);
    if (chance(0.05)) {
        note("move the window");
        window_->move(window_->pos() + QPoint(pick(21) - 10, pick(21) - 10));
    }
}

void SoakSession::clickSwatch()
{
    const int k = pick(16);
    const bool right = chance(0.4);
    note(std::string(right ? "right" : "left") + " click swatch " + std::to_string(k));
    QTest::mouseClick(window_->control(ids::FirstPaletteSwatch + k),
                      right ? Qt::RightButton : Qt::LeftButton);
}

void SoakSession::typeOption()
{
    const bool lineSize = chance(0.5);
    auto* edit = qobject_cast<QLineEdit*>(
        window_->control(lineSize ? ids::LineSizeEdit : ids::CurveRadiusEdit));
    QWidget* spin = window_->control(lineSize ? ids::LineSizeSpin : ids::CurveRadiusSpin);
    if (!edit->isVisible()) return hover();
    if (chance(0.3)) {
        const auto arrows = spin->findChildren<QToolButton*>();
        if (!arrows.isEmpty()) {
            note("option arrow");
            QTest::mouseClick(arrows[pick(static_cast<int>(arrows.size()))], Qt::LeftButton);
            return;
        }
    }
    const char* text = kOptionTexts[pick(static_cast<int>(std::size(kOptionTexts)))];
    note(std::string(lineSize ? "line size" : "curve radius") + " typed \"" + text + "\"");
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier); // the field's own select-all
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

void SoakSession::typeSpriteNumber()
{
    auto* edit = qobject_cast<QLineEdit*>(window_->control(ids::SpriteNumberEdit));
    if (!edit->isEnabled()) return hover();
    const std::string text = chance(0.85) ? std::to_string(pick(1300)) : std::string(chance(0.5) ? "4x2" : "");
    note("sprite number typed \"" + text + "\"");
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, QString::fromStdString(text));
}

QWidget* SoakSession::randomFocus()
{
    static const int kFocusable[] = {ids::SpriteNumberEdit, ids::LineSizeEdit, ids::CurveRadiusEdit,
                                     ids::PencilButton,     ids::FillCombo,    ids::TransparentCheck,
                                     ids::SaveSpriteButton};
    QWidget* w = nullptr;
    if (chance(0.7)) {
        QWidget* c = window_->control(kFocusable[pick(static_cast<int>(std::size(kFocusable)))]);
        if (c->isVisible() && c->isEnabled()) w = c;
    }
    if (w) w->setFocus();
    else window_->clientArea()->setFocus();
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus : window_.get();
}

void SoakSession::pressKey(QWidget* target)
{
    const Key& k = kKeys[pick(static_cast<int>(std::size(kKeys)))];
    note(std::string("key ") + k.name + " to " + target->metaObject()->className() + " " +
         target->objectName().toStdString());
    prompts_.saveAnswer = static_cast<SaveChoice>(pick(3));
    if (k.typed)
        QTest::keyClick(target, k.typed, k.modifiers);
    else
        QTest::keyClick(target, k.key, k.modifiers);
}

void SoakSession::menuCommand()
{
    const int id = CommandStates::allCommands[pick(static_cast<int>(CommandStates::allCommands.size()))];
    if (id == ids::OpenRom) return openRom();
    prompts_.saveAnswer = static_cast<SaveChoice>(pick(3));
    const bool fromMenu = chance(0.5);
    note("command " + std::to_string(id) + (fromMenu ? " from the menu" : " by id"));
    if (fromMenu)
        window_->action(id)->trigger();
    else
        window_->runCommand(id);
}

void SoakSession::browserAction()
{
    auto* browser = window_->findChild<SpriteBrowser*>();
    if (!browser->isVisible()) {
        note("browser button");
        window_->runCommand(ids::BrowserButton);
        return;
    }
    switch (pick(5)) {
    case 0: {
        auto* arrows = browser->findChild<PageArrows*>();
        note("browser page arrow");
        QTest::mouseClick(chance(0.5) ? arrows->leftArrow() : arrows->rightArrow(), Qt::LeftButton);
        break;
    }
    case 1: {
        static const Qt::Key kBrowserKeys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Return,
                                               Qt::Key_Escape, Qt::Key_PageDown};
        note("browser key");
        QTest::keyClick(browser, kBrowserKeys[pick(5)]);
        break;
    }
    case 2: {
        const QPoint p(pick(browser->width()), pick(browser->height()));
        note("browser pointer over " + std::to_string(p.x()) + "," + std::to_string(p.y()));
        sendMove(browser, p, Qt::NoButton);
        break;
    }
    default: {
        const QPoint p(pick(browser->width()), pick(browser->height()));
        note("browser press at " + std::to_string(p.x()) + "," + std::to_string(p.y()));
        QTest::mouseClick(browser, Qt::LeftButton, {}, p);
        break;
    }
    }
}

void SoakSession::openRom()
{
    prompts_.saveAnswer = static_cast<SaveChoice>(pick(3));
    const int roll = pick(20);
    if (roll < 5) {
        note("Close ROM");
        if (chance(0.5)) window_->runCommand(ids::CloseRom);
        else QTest::keyClick(randomFocus(), Qt::Key_L, Qt::ControlModifier);
        return;
    }
    std::string path = rom_.path();
    if (roll == 17) path = other_.path(); // "doesn't look like" ... continue?
    if (roll == 18 || roll == 19) {
        path = roll == 18 ? missingDir_.path() + "/missing.smc" : missingDir_.path();
        allowedErrors_ = 1;
    }
    prompts_.yesNoAnswer = chance(0.5);
    prompts_.nextPath = QString::fromStdString(path);
    const bool byKey = chance(0.5);
    note("Open ROM " + path + (byKey ? " by Ctrl+O" : ""));
    if (byKey)
        QTest::keyClick(randomFocus(), Qt::Key_O, Qt::ControlModifier);
    else
        window_->runCommand(ids::OpenRom);
}

} // namespace tessel::testing
