// The UI tests' main: Qt widgets on the offscreen platform, so that the
// tests run without a display and paint into memory. The program's own
// files (recovery files, backups, settings) go to a scratch folder, never
// to the real home.
#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings (the recent ROMs), recovery files and backups go to a scratch
    // folder, never the home.
    QTemporaryDir settings;
    if (!settings.isValid()) return 1;
    qputenv("XDG_CONFIG_HOME", settings.filePath("config").toLocal8Bit());
    qputenv("XDG_STATE_HOME", settings.filePath("state").toLocal8Bit());
    qputenv("XDG_DATA_HOME", settings.filePath("data").toLocal8Bit());
    Q_INIT_RESOURCE(tessel); // the pictures of the static UI library
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
