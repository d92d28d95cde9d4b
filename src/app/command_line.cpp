#include "app/command_line.h"

namespace tessel {

namespace {
// Qt's own options, which QApplication takes out of the arguments; the
// command line is read before that, so that a wrong one is refused even
// where no display can be opened.
bool isQtOption(const QString& arg, bool& takesValue)
{
    static const QStringList withValue = {"-platform", "-platformpluginpath", "-platformtheme",
                                          "-plugin", "-display", "-geometry", "-style",
                                          "-stylesheet", "-session", "-qwindowgeometry",
                                          "-qwindowicon", "-qwindowtitle"};
    static const QStringList flags = {"-reverse", "-widgetcount", "-nograb", "-dograb", "-sync"};
    QString name = arg.startsWith(QLatin1String("--")) ? arg.mid(1) : arg;
    const qsizetype eq = name.indexOf(QLatin1Char('='));
    const bool inlineValue = eq > 0;
    if (inlineValue) name.truncate(eq);
    takesValue = withValue.contains(name) && !inlineValue;
    return withValue.contains(name) || flags.contains(name);
}
} // namespace

CommandLine parseCommandLine(const QStringList& arguments)
{
    CommandLine result;
    bool optionsEnded = false;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        bool takesValue = false;
        if (!optionsEnded && isQtOption(arg, takesValue)) {
            if (takesValue) ++i;
        } else if (!optionsEnded && arg == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && (arg == QLatin1String("-h") || arg == QLatin1String("--help"))) {
            result.help = true;
        } else if (!optionsEnded && (arg == QLatin1String("-V") || arg == QLatin1String("--version"))) {
            result.version = true;
        } else if (!optionsEnded && arg == QLatin1String("--screenshot") && i + 1 < arguments.size()) {
            result.screenshotPath = arguments[++i];
        } else if (!optionsEnded && arg == QLatin1String("--startup-time")) {
            result.startupTime = true;
        } else if (!optionsEnded && arg == QLatin1String("--large-view")) {
            result.largeView = true;
        } else if (!optionsEnded && arg == QLatin1String("--overview")) {
            result.overview = true;
        } else if (!optionsEnded && arg.startsWith(QLatin1Char('-'))) {
            result.valid = false;
        } else if (result.romPath.isEmpty()) {
            result.romPath = arg;
            result.romIndex = i;
        } else {
            result.valid = false; // one ROM at a time
        }
    }
    return result;
}

} // namespace tessel
