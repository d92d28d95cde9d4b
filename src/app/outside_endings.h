// Endings that come from outside the program, turned into its normal exit
// with the unsaved edits safe in the recovery file and no question asked:
//  - SIGTERM, SIGHUP and SIGINT, and every other signal that would end the
//    program without a core dump (SIGQUIT, SIGUSR1, SIGALRM, the real-time
//    signals, ...; these only where nothing set them to be ignored): the
//    handler only writes the signal's number into a pipe; the event loop
//    reads it. A second signal of the same kind kills the program at once.
//  - SIGPIPE and SIGXFSZ are ignored: a write to a closed pipe or past the
//    size limit fails (EPIPE, EFBIG) and is reported as any failed write.
//  - the main window destroyed by another X client: the program would
//    otherwise go on without a window, holding the ROM's lock.
// Each runs `beforeEnd` (which brings the recovery file up to date), then
// ends every event loop, a question being shown included, so that main()
// returns and the ROM's lock goes with the process.
//
// A crash (SIGSEGV, SIGBUS, SIGABRT, ...) is not one of them, nor is a lost
// X connection: Qt ends the program with exit()
// from inside its event handling, and nothing is run from exit(). The
// recovery file then holds what the writer last finished, which the keeper
// hands it every 200 ms.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <functional>

class QWidget;

namespace tessel {

class OutsideEndings : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    // Installs the handlers for `window`, which also owns this object. The
    // exit code is 128 + the signal's number, or 1 for a lost window.
    OutsideEndings(QWidget* window, std::function<void()> beforeEnd);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void end(int exitCode);

    QWidget* window_;
    std::function<void()> beforeEnd_;
    bool ending_ = false;
};

} // namespace tessel
