// The soak session's key strokes, menu commands, the sprite browser, and
// Open / Close ROM.
#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>

#include "window/client_area.h"
#include "browser/page_arrows.h"
#include "browser/sprite_browser.h"
#include "model/command_ids.h"
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

void pointAt(QWidget* w, QPoint p)
{
    QMouseEvent e(QEvent::MouseMove, p, w->mapToGlobal(p), Qt::NoButton, Qt::NoButton, {});
    QApplication::sendEvent(w, &e);
}

} // namespace

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
    // The art commands, Apply Patch, Save a Copy As, Compare With and the names
    // export and import read and write files of the user's choosing; their own
    // tests drive them.
    if ((id >= ids::ExportSpritePng && id <= ids::PasteImage) || id == ids::ApplyPatch || id == ids::SaveCopyAs ||
        id == ids::CompareWith || id == ids::ExportNames || id == ids::ImportNames)
        return;
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
        pointAt(browser, p);
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
