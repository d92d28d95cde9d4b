// A main window on its own editor state with scripted prompts, for the UI
// tests, and small helpers to read back what it painted.
#pragma once

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "window/client_area.h"
#include "window/main_window.h"
#include "support/fake_prompts.h"

namespace tessel::testing {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        // Each test starts with no recent ROMs and no recovery files (of the
        // same generated ROM, at paths now gone: moved, to the program).
        savedConfigHome = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", dir.filePath("config").toLocal8Bit());
        savedStateHome = qgetenv("XDG_STATE_HOME");
        qputenv("XDG_STATE_HOME", dir.filePath("state").toLocal8Bit());
        savedDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", dir.filePath("data").toLocal8Bit());
        openWindow();
    }
    void TearDown() override
    {
        window.reset();
        qputenv("XDG_CONFIG_HOME", savedConfigHome);
        qputenv("XDG_STATE_HOME", savedStateHome);
        qputenv("XDG_DATA_HOME", savedDataHome);
    }
    void openWindow()
    {
        window = std::make_unique<MainWindow>(*state, prompts);
        window->show();
        QApplication::processEvents();
    }

    // The client area as painted now, in client pixels.
    QImage paintedClient() const { return window->clientArea()->grab().toImage(); }

    template <typename W>
    W* control(int id) const { return qobject_cast<W*>(window->control(id)); }

    // A file as long as a ROM, zero-filled, with `title` at the title's
    // offset (0x101C0).
    QString makeRomFile(const QString& name, const QByteArray& title = "OAKEN SHORE",
                        qint64 size = 0x160000) const;

    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
    FakePrompts prompts;
    QTemporaryDir dir;
    QByteArray savedConfigHome;
    QByteArray savedStateHome;
    QByteArray savedDataHome;
    std::unique_ptr<MainWindow> window;
};

inline QString WindowTest::makeRomFile(const QString& name, const QByteArray& title,
                                       qint64 size) const
{
    QByteArray bytes(size, '\0');
    if (size >= 0x101C0 + title.size()) bytes.replace(0x101C0, title.size(), title);
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

inline QRgb rgbOf(QColor c) { return c.rgb(); }

} // namespace tessel::testing
