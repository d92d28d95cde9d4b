#include "app/ending_signals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace tessel {

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int signal)
{
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t ignored = ::write(signalPipe[1], &number, 1);
    errno = saved;
}

} // namespace

void endOnSignals(QObject* owner, std::function<void()> beforeEnd)
{
    if (signalPipe[0] < 0 && ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner, [notifier, beforeEnd] {
        unsigned char number = 0;
        while (::read(signalPipe[0], &number, 1) == 1) {
        }
        notifier->setEnabled(false);
        beforeEnd();
        const int code = 128 + number;
        QCoreApplication::exit(code);
        // exit() ends the loops that run now; a loop about to start (the
        // main one, when the signal came during a question at start-up)
        // ends at its first turn.
        QTimer::singleShot(0, [code] { QCoreApplication::exit(code); });
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) ::sigaction(signal, &action, nullptr);
}

} // namespace tessel
