#include "app/command_line.h"

namespace tessel {

CommandLine parseCommandLine(const QStringList& arguments)
{
    CommandLine result;
    bool optionsEnded = false;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (!optionsEnded && arg == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && (arg == QLatin1String("-h") || arg == QLatin1String("--help"))) {
            result.help = true;
        } else if (!optionsEnded && arg == QLatin1String("--screenshot") && i + 1 < arguments.size()) {
            result.screenshotPath = arguments[++i];
        } else if (!optionsEnded && arg == QLatin1String("--startup-time")) {
            result.startupTime = true;
        } else if (!optionsEnded && arg.startsWith(QLatin1Char('-')) && arg != QLatin1String("-")) {
            result.valid = false;
        } else if (result.romPath.isEmpty()) {
            result.romPath = arg;
        } else {
            result.valid = false; // one ROM at a time
        }
    }
    return result;
}

} // namespace tessel
