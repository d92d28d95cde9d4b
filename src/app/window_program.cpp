#include "app/window_program.h"

#include <QApplication>
#include <QDateTime>
#include <QLibraryInfo>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "app/app_state.h"
#include "window/client_area.h"
#include "app/command_line.h"
#include "window/key_router.h"
#include "window/main_window.h"
#include "app/outside_endings.h"
#include "window/recovery_keeper.h"
#include "app/system_prompts.h"
#include "app/translations.h"
#include "model/command_ids.h"
#include "views/large_view_window.h"
#include "views/sprite_overview_window.h"

// The pictures live in the static UI library: they are registered
// explicitly, from outside any namespace as Q_INIT_RESOURCE requires.
static void registerPictures() { Q_INIT_RESOURCE(tessel); }

namespace tessel {

namespace {

// The whole main window (menu bar included) and, when they are shown, the
// Sprite Overview left of it and the Large View right of it, on the window
// colour, tops aligned.
QImage windowPicture(MainWindow& window)
{
    QList<QImage> pictures;
    auto add = [&pictures](QWidget* w) {
        if (w && w->isVisible()) pictures << w->grab().toImage();
    };
    add(window.spriteOverview());
    add(&window);
    add(window.largeView());
    if (pictures.size() == 1) return pictures.front();
    constexpr int kGap = 8;
    int width = -kGap, height = 0;
    for (const QImage& p : pictures) {
        width += p.width() + kGap;
        height = std::max(height, p.height());
    }
    QImage all(width, height, QImage::Format_RGB32);
    all.fill(window.palette().color(QPalette::Window));
    QPainter painter(&all);
    int x = 0;
    for (const QImage& p : pictures) {
        painter.drawImage(x, 0, p);
        x += p.width() + kGap;
    }
    return all;
}

// Saves a picture of the whole window (menu bar included) once it has been
// painted, then ends the program; used to make the README's screenshot.
void saveScreenshotAfterFirstPaint(MainWindow& window, const QString& path)
{
    window.clientArea()->onFirstPaint = [&window, path] {
        QTimer::singleShot(200, &window, [&window, path] {
            const bool saved = windowPicture(window).save(path, "PNG");
            if (!saved) std::fprintf(stderr, "tessel: cannot write %s\n", qPrintable(path));
            QCoreApplication::exit(saved ? 0 : 1);
        });
    };
}

// Whether Qt can find somewhere to show the window; without, it would abort.
bool displayAvailable(const QStringList& arguments)
{
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (!qEnvironmentVariableIsEmpty(name)) return true;
    for (const QString& arg : arguments)
        if (arg.startsWith(QLatin1String("-platform")) || arg.startsWith(QLatin1String("--platform"))) return true;
    return false;
}

// Prints the wall-clock time of the first paint, for start-up timing.
void printFirstPaintTime(MainWindow& window)
{
    window.clientArea()->onFirstPaint = [] {
        const qint64 ns = QDateTime::currentDateTimeUtc().toMSecsSinceEpoch() * 1000000;
        std::printf("first-paint-ns %lld\n", static_cast<long long>(ns));
        std::fflush(stdout);
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    };
}

} // namespace

int runWindowProgram(int argc, char** argv, const char* moreUsage)
{
    registerPictures();
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine commandLine = parseCommandLine(arguments);
    if (commandLine.version) {
        std::printf("tessel %s\n", TESSEL_VERSION);
        return 0;
    }
    if (commandLine.help) {
        std::fputs(kUsage, stdout);
        std::fputs(moreUsage, stdout);
        return 0;
    }
    if (!commandLine.valid) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (!displayAvailable(arguments)) {
        std::fputs("tessel: no display to show the window on (DISPLAY is not set)\n", stderr);
        return 1;
    }
    // QApplication takes its own options out of argv: the ROM's argument is
    // kept by its pointer, not by a place that may move. Its name goes to
    // the system as the bytes it was given, whatever they are: a name that
    // is not valid text would not survive a QString.
    const char* romArgument = commandLine.romIndex > 0 ? argv[commandLine.romIndex] : nullptr;
    QApplication app(argc, argv);
    // The desktop entry's name (without .desktop): desktops find the icon
    // and the launcher of this window by it.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(TESSEL_APP_ID));
    QApplication::setAttribute(Qt::AA_DontShowIconsInMenus, false);
    const auto translators = installTranslations(QLocale::system(), translationFolders(QCoreApplication::applicationDirPath()),
                                                 QLibraryInfo::path(QLibraryInfo::TranslationsPath));

    EditorState& state = appState();
    MainWindow window(state, systemPrompts());
    QObject::connect(&window, &QDialog::finished, &app, &QApplication::quit);
    new OutsideEndings(&window, [&window] { window.recovery().flushNow(); });
    // Shortcuts work wherever the focus is, dialogs and message boxes too.
    auto* keys = new KeyRouter(
        state, [&window](int commandId) { window.runCommand(commandId); },
        [&window] { window.refreshCursor(); }, &window);
    keys->setToolKeyWindows([&window](const QWidget* w) { return window.takesToolKeys(w); });
    app.installEventFilter(keys);
    if (!commandLine.screenshotPath.isEmpty())
        saveScreenshotAfterFirstPaint(window, commandLine.screenshotPath);
    else if (commandLine.startupTime)
        printFirstPaintTime(window);

    window.show();
    window.activateWindow();
    if (romArgument) window.openRomFile(romArgument);
    if (commandLine.largeView) window.runCommand(ids::LargeView); // grayed with no ROM open
    if (commandLine.overview) window.runCommand(ids::SpriteOverview);
    const int status = app.exec();
    // The normal ending (an outside ending has done this already).
    window.recovery().flushNow();
    return status;
}

} // namespace tessel
