// The command line: `tessel [ROM]`. A ROM given here is opened at start as
// File > Open ROM opens the file the user picked. Two options serve the
// build's own scripts: --screenshot PATH saves a picture of the window once
// it is shown and quits; --startup-time prints the wall-clock time of the
// first paint (nanoseconds since the epoch) and quits. --large-view shows
// the Large View beside the window once the ROM is open, --overview the
// Sprite Overview. --help and --version (-V) print and quit before anything
// of Qt's starts.
#pragma once

#include <QString>
#include <QStringList>

namespace tessel {

struct CommandLine {
    bool valid = true;
    bool help = false;
    bool version = false;
    QString romPath;        // empty: open nothing
    int romIndex = -1;      // where in the arguments romPath stands
    QString screenshotPath; // empty: no screenshot
    bool startupTime = false;
    bool largeView = false;
    bool overview = false;
};

// `arguments` includes the program name first, as QCoreApplication gives it.
CommandLine parseCommandLine(const QStringList& arguments);

inline constexpr char kUsage[] = "usage: tessel [--large-view] [--overview] [ROM]\n"
                                 "       tessel --help | --version\n";

} // namespace tessel
