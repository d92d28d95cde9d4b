// The soak session's mouse and typing in the main window: gestures on the
// canvas, the pointer, the tool buttons, the other controls and swatches,
// the option fields and the sprite number box.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>
#include <array>

#include "window/client_area.h"
#include "model/command_ids.h"
#include "soak/soak_session.h"

namespace tessel::testing {

namespace {

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


} // namespace tessel::testing
