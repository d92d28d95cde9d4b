#include "browser/sprite_browser.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>
#include <functional>

#include "browser/page_arrows.h"
#include "model/edit_marks.h"
#include "support/expected_display.h"
#include "support/rom_fixture.h"

namespace tessel {
namespace {

QColor toQColor(testing::ExpectedColour c) { return QColor(c.red, c.green, c.blue); }

class SpriteBrowserTest : public ::testing::Test {
protected:
    testing::RomFixture rom;
    EditorState& state = rom.state();
    QWidget window;
    QPushButton* button = new QPushButton(&window);
    SpriteBrowser* browser = new SpriteBrowser(state, &window);
    QSignalSpy chosen{browser, &SpriteBrowser::spriteChosen};

    void SetUp() override
    {
        window.setGeometry(100, 100, 600, 400);
        button->setGeometry(500, 80, 17, 20);
        window.show();
    }

    void open(int currentSprite)
    {
        state.currentSprite = currentSprite;
        browser->placeUnder(button);
        ASSERT_TRUE(browser->isVisible());
    }
    QStringList labels() const
    {
        QStringList texts;
        for (int id = 1051; id <= 1058; ++id)
            texts << browser->findChild<QLabel*>(QString::number(id))->text();
        return texts;
    }
    static QStringList numbers(int first)
    {
        QStringList texts;
        for (int s = first; s < first + 8; ++s) texts << QString::number(s);
        return texts;
    }
    // Client pixels lie inside the browser's frame.
    static QPoint widgetPoint(QPoint client)
    {
        return client + QPoint(SpriteBrowser::kFrame, SpriteBrowser::kFrame);
    }
    QImage clientImage() const
    {
        const int f = SpriteBrowser::kFrame;
        return browser->grab(browser->rect().adjusted(f, f, -f, -f)).toImage();
    }
    // A plain pointer move (QTest's own moves the system cursor instead);
    // `p` in client pixels.
    void moveTo(QPoint client)
    {
        const QPoint p = widgetPoint(client);
        QMouseEvent move(QEvent::MouseMove, p, browser->mapToGlobal(p), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(browser, &move);
    }
    void clickAt(QPoint client)
    {
        moveTo(client);
        QTest::mouseClick(browser, Qt::LeftButton, Qt::NoModifier, widgetPoint(client));
    }
    QToolButton* arrow(bool right) const
    {
        auto* arrows = browser->findChild<PageArrows*>("1060");
        return right ? arrows->rightArrow() : arrows->leftArrow();
    }
};

TEST_F(SpriteBrowserTest, DropsDownUnderTheButtonOnTheCurrentSpritesPage)
{
    open(17);
    EXPECT_EQ(browser->page(), 2);
    EXPECT_EQ(labels(), numbers(16));
    // A 290 x 218 client area inside a dialog frame.
    EXPECT_EQ(browser->size(), QSize(290, 218) + 2 * QSize(SpriteBrowser::kFrame, SpriteBrowser::kFrame));
    const QImage whole = browser->grab().toImage();
    EXPECT_NE(whole.pixelColor(whole.width() - 1, 50), browser->palette().color(QPalette::Window))
        << "the frame's shaded edge";
    // Its top-right corner is the button's bottom-right corner.
    EXPECT_EQ(browser->mapToGlobal(QPoint(browser->width(), 0)),
              button->mapToGlobal(QPoint(button->width(), button->height())));
    EXPECT_FALSE(browser->findChild<QWidget*>("1059")->isVisible());
}

TEST_F(SpriteBrowserTest, ArrowsStepOnePageWithoutWrapping)
{
    open(1143);
    EXPECT_EQ(browser->page(), 142);
    EXPECT_EQ(labels(), numbers(1136));
    arrow(true)->click();
    EXPECT_EQ(browser->page(), 142);
    arrow(false)->click();
    EXPECT_EQ(browser->page(), 141);
    EXPECT_EQ(labels(), numbers(1128));

    // Showing it again where it is only moves it: the page stays.
    browser->placeUnder(button);
    EXPECT_EQ(browser->page(), 141);
    // Every new show starts on the current sprite's page.
    browser->hide();
    open(3);
    EXPECT_EQ(browser->page(), 0);
    arrow(false)->click();
    EXPECT_EQ(browser->page(), 0);
    arrow(true)->click();
    EXPECT_EQ(labels(), numbers(8));
    // Up and Down step the page as the arrows do.
    QTest::keyClick(browser, Qt::Key_Up);
    EXPECT_EQ(browser->page(), 2);
    QTest::keyClick(browser, Qt::Key_Down);
    QTest::keyClick(browser, Qt::Key_Down);
    QTest::keyClick(browser, Qt::Key_Down);
    EXPECT_EQ(browser->page(), 0);
    // Escape hides it without choosing anything.
    QTest::keyClick(browser, Qt::Key_Escape);
    EXPECT_FALSE(browser->isVisible());
    EXPECT_EQ(chosen.count(), 0);
}

TEST_F(SpriteBrowserTest, ClickingAThumbnailChoosesItsSpriteAndHides)
{
    open(80);
    ASSERT_EQ(browser->page(), 10);
    // Between the slots nothing happens.
    clickAt(QPoint(72, 40));
    EXPECT_EQ(chosen.count(), 0);
    EXPECT_TRUE(browser->isVisible());
    EXPECT_FALSE(browser->testAttribute(Qt::WA_SetCursor));

    // Slot 5 is the second thumbnail of the lower row.
    moveTo(QPoint(100, 150));
    EXPECT_TRUE(browser->testAttribute(Qt::WA_SetCursor));
    // The hand of cursor resource 152, or the system's hand without it.
    if (browser->cursor().shape() == Qt::BitmapCursor)
        EXPECT_EQ(browser->cursor().hotSpot(), QPoint(11, 6));
    else
        EXPECT_EQ(browser->cursor().shape(), Qt::PointingHandCursor);
    clickAt(QPoint(100, 150));
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toInt(), 85);
    EXPECT_FALSE(browser->isVisible());
}

TEST_F(SpriteBrowserTest, HitRectanglesAreTheFixedOnes)
{
    // Edges of slot 0 (6, 6)-(70, 86) and slot 7 (220, 108)-(288, 188).
    EXPECT_EQ(SpriteBrowser::slotAt(QPoint(6, 6)), 0);
    EXPECT_EQ(SpriteBrowser::slotAt(QPoint(69, 85)), 0);
    EXPECT_EQ(SpriteBrowser::slotAt(QPoint(5, 40)), -1);
    EXPECT_EQ(SpriteBrowser::slotAt(QPoint(70, 40)), -1);
    EXPECT_EQ(SpriteBrowser::slotAt(QPoint(142, 6)), 1);
    EXPECT_EQ(SpriteBrowser::slotAt(QPoint(287, 187)), 7);
    EXPECT_EQ(SpriteBrowser::slotAt(QPoint(288, 187)), -1);
    EXPECT_EQ(SpriteBrowser::slotAt(QPoint(150, 100)), -1);
}

TEST_F(SpriteBrowserTest, ThumbnailsAreCentredInTheirOwnPalettes)
{
    // Page 2: sprite 18 (8 x 10 tiles, palette 3) fills slot 2's cell at
    // (149, 5); sprite 20 (4 x 4 tiles, palette 2) sits in slot 4's cell at
    // (5, 107), 32 x 32 pixels from (21, 131).
    open(17);
    const QImage image = clientImage();
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(image.pixelColor(149 + x, 5 + y),
                      toQColor(testing::expectedSpriteColour(18, 3, x, y)))
                << x << "," << y;
    for (int y = 107; y < 187; ++y) {
        for (int x = 5; x < 69; ++x) {
            const bool inside = x >= 21 && x < 53 && y >= 131 && y < 163;
            const QColor want = inside ? toQColor(testing::expectedSpriteColour(20, 2, x - 21, y - 131))
                                       : QColor(Qt::black);
            ASSERT_EQ(image.pixelColor(x, y), want) << x << "," << y;
        }
    }
}

TEST_F(SpriteBrowserTest, AnEditShowsAtTheNextPaint)
{
    open(354); // 2 x 2 tiles, palette 6, slot 2 of page 44: at (149 + 24, 5 + 32)
    ASSERT_NE(testing::expectedPixel(354, 1, 1), 12);
    const QPoint at(149 + 24 + 1, 5 + 32 + 1);
    EXPECT_EQ(clientImage().pixelColor(at),
              toQColor(testing::expectedSpriteColour(354, 6, 1, 1)));
    state.document.spriteStore[354].pixels[1 * 64 + 1] = 12;
    EXPECT_EQ(clientImage().pixelColor(at), toQColor(testing::expectedDisplayColour(6, 12)));
}

TEST_F(SpriteBrowserTest, TheWheelAndThePagingKeysTurnPagesAndThePageShows)
{
    open(17);
    auto* arrows = browser->findChild<PageArrows*>("1060");
    EXPECT_EQ(arrows->pageText(), "Page 3 of 143");
    auto wheel = [&](int delta) {
        QWheelEvent e(QPointF(100, 100), browser->mapToGlobal(QPointF(100, 100)), QPoint(),
                      QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(browser, &e);
    };
    const struct {
        std::function<void()> act;
        int page;
    } steps[] = {
        {[&] { wheel(-120); }, 3},
        {[&] { wheel(60); }, 3}, // half a notch: not yet
        {[&] { wheel(60); }, 2},
        {[&] { QTest::keyClick(browser, Qt::Key_PageDown); }, 3},
        {[&] { QTest::keyClick(browser, Qt::Key_Right); }, 4},
        {[&] { QTest::keyClick(browser, Qt::Key_Left); }, 3},
        {[&] { QTest::keyClick(browser, Qt::Key_PageUp); }, 2},
        {[&] { QTest::keyClick(browser, Qt::Key_End); }, 142},
        {[&] { wheel(-120); }, 142},
        {[&] { QTest::keyClick(browser, Qt::Key_Home); }, 0},
        {[&] { QTest::keyClick(browser, Qt::Key_PageUp); }, 0},
    };
    for (const auto& step : steps) {
        step.act();
        EXPECT_EQ(browser->page(), step.page);
    }
    EXPECT_EQ(arrows->pageText(), "Page 1 of 143");
}

TEST_F(SpriteBrowserTest, EditedSpritesAreMarked)
{
    open(17);
    markSpriteEdited(state.document, 18); // slot 2
    const QImage image = clientImage();
    const QRect mark = SpriteBrowser::editMarkRect(2);
    EXPECT_EQ(image.pixel(mark.center()), SpriteBrowser::kEditMarkColour);
    EXPECT_NE(image.pixel(SpriteBrowser::editMarkRect(1).center()), SpriteBrowser::kEditMarkColour);
    EXPECT_FALSE(mark.intersects(QRect(SpriteBrowser::cellOrigin(2), QSize(64, 80))));
    EXPECT_EQ(SpriteBrowser::slotAt(mark.center()), -1);
}

} // namespace
} // namespace tessel
