// The About box: its texts, the free-memory figure and the gauge.
#include <QApplication>
#include <QLabel>
#include <gtest/gtest.h>

#include "dialogs/about_dialog.h"
#include "dialogs/color_progress_ctrl.h"
#include "dialogs/memory_status.h"

namespace tessel {
namespace {

TEST(GaugeColour, FollowsTheFreeMemoryThresholds)
{
    const QColor green(0, 244, 64), yellow(255, 255, 0), orange(255, 128, 0), red(255, 0, 0);
    EXPECT_EQ(gaugeColourFor(100), green);
    EXPECT_EQ(gaugeColourFor(51), green);
    EXPECT_EQ(gaugeColourFor(50), yellow);
    EXPECT_EQ(gaugeColourFor(21), yellow);
    EXPECT_EQ(gaugeColourFor(20), orange);
    EXPECT_EQ(gaugeColourFor(11), orange);
    EXPECT_EQ(gaugeColourFor(10), red);
    EXPECT_EQ(gaugeColourFor(0), red);
}

TEST(AboutBox, ShowsProductVersionPlatformAndTheFigure)
{
    AboutDialog box(37);
    EXPECT_EQ(box.windowTitle(), "About Tessel v2.6 for Linux");
    EXPECT_EQ(box.freeText()->text(), "37");
    EXPECT_EQ(box.gauge()->pos(), 37);
    EXPECT_EQ(box.gauge()->barColor(), QColor(255, 255, 0));
    QStringList texts;
    for (QLabel* l : box.findChildren<QLabel*>()) texts << l->text();
    EXPECT_TRUE(texts.contains("Tessel version 2.6"));
    EXPECT_TRUE(texts.contains("% free"));
    bool group = false;
    for (QWidget* w : box.findChildren<QWidget*>())
        group |= w->property("title").toString() == "Physical memory:";
    EXPECT_TRUE(group);
}

TEST(AboutBox, GaugePaintsOnlyItsBarWithAFreeRowAboveAndBelow)
{
    AboutDialog box(50);
    ColorProgressCtrl* gauge = box.gauge();
    // 63 x 6 dialog units: 94 x 10 pixels.
    ASSERT_EQ(gauge->size(), QSize(94, 10));
    // 50 * (94 * 0.01f) = 47 pixels, 10 - 4 = 6 rows from the inside's row 1.
    EXPECT_EQ(gauge->barWidth(), 47);
    const QImage img = gauge->grab().toImage();
    const QRgb bar = QColor(255, 255, 0).rgb();
    for (int y = 2; y < 8; ++y) {
        EXPECT_EQ(img.pixel(1, y), bar) << y;
        EXPECT_EQ(img.pixel(47, y), bar) << y;
        EXPECT_NE(img.pixel(48, y), bar) << y;
    }
    EXPECT_NE(img.pixel(1, 1), bar);
    EXPECT_NE(img.pixel(1, 8), bar);
}

TEST(AboutBox, EmptyAndFullGauges)
{
    AboutDialog empty(0);
    EXPECT_EQ(empty.freeText()->text(), "0");
    EXPECT_EQ(empty.gauge()->barWidth(), 0);
    EXPECT_EQ(empty.gauge()->barColor(), QColor(255, 0, 0));

    // In single precision, 100 * (5 * 0.01f) is just under 5: one pixel
    // short of the full width. 94 pixels come out whole.
    AboutDialog full(100);
    EXPECT_EQ(full.gauge()->barWidth(), 94);
    full.gauge()->resize(5, 10);
    EXPECT_EQ(full.gauge()->barWidth(), 4);
}

TEST(MemoryStatus, FreePercentIsAvailableAgainstTotal)
{
    EXPECT_EQ(freeMemoryPercentFrom("MemTotal:       1000 kB\nMemFree:  10 kB\n"
                                    "MemAvailable:    250 kB\n"),
              25);
    // 2/3 free: the used third is rounded down, the free part up.
    EXPECT_EQ(freeMemoryPercentFrom("MemTotal: 3000 kB\nMemAvailable: 2000 kB\n"), 67);
    EXPECT_EQ(freeMemoryPercentFrom("MemTotal: 3000 kB\nMemFree: 30 kB\n"), 1);
    EXPECT_EQ(freeMemoryPercentFrom("nothing here"), -1);
    EXPECT_EQ(freeMemoryPercentFrom("MemTotal: 0 kB\nMemAvailable: 0 kB\n"), -1);
    const int system = freeMemoryPercent();
    EXPECT_GE(system, 0);
    EXPECT_LE(system, 100);
    EXPECT_EQ(freeMemoryPercent("/nonexistent/meminfo"), 0);
}

} // namespace
} // namespace tessel
