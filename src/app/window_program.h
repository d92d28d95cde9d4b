// Start-up of the editor window: the application, the one editor state, the
// main window, and the ROM named on the command line. The program lives as
// long as the window; a signal or the window's loss ends it the same way
// (app/outside_endings.h).
#pragma once

namespace tessel {

// Reads `tessel [ROM]` (see command_line.h) before any Qt object exists;
// --help prints the usage followed by `moreUsage`, --version "tessel VERSION".
// Returns the exit status.
int runWindowProgram(int argc, char** argv, const char* moreUsage);

} // namespace tessel
