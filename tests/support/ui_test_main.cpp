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
    QTemporaryDir home;
    if (!home.isValid()) return 1;
    qputenv("XDG_STATE_HOME", QFile::encodeName(home.filePath("state")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
    Q_INIT_RESOURCE(tessel); // the pictures of the static UI library
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
