// SIGTERM, SIGHUP and SIGINT end the program through its normal exit
// instead of killing it where it stands: the handler only writes the
// signal's number into a pipe, and the event loop, reading it, runs
// `beforeEnd` (which brings the recovery file up to date) and ends every
// event loop, a question being shown included, so that main() returns and
// the ROM's lock goes with the process. No question is asked on the way.
// A second signal of the same kind kills the program at once.
#pragma once

#include <functional>

class QObject;

namespace tessel {

// Installs the handlers; `owner` owns the pipe's notifier. main() returns
// the exit code given to QCoreApplication::exit(): 128 + the signal.
void endOnSignals(QObject* owner, std::function<void()> beforeEnd);

} // namespace tessel
