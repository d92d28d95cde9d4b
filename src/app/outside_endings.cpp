#include "app/outside_endings.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <xcb/xcb.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

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

// Signals whose default is to end the program without a core dump, besides
// the three above; SIGQUIT's dump is of no use to a user who asked it to quit.
std::vector<int> otherEndings()
{
    std::vector<int> endings{SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF,
                             SIGPOLL, SIGPWR,  SIGSTKFLT, SIGXCPU};
    for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal) endings.push_back(signal);
    return endings;
}

} // namespace

OutsideEndings::OutsideEndings(QWidget* window, std::function<void()> beforeEnd)
    : QObject(window), window_(window), beforeEnd_(std::move(beforeEnd))
{
    if (signalPipe[0] < 0 && ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [this] {
            unsigned char number = 0;
            while (::read(signalPipe[0], &number, 1) == 1) {
            }
            end(128 + number);
        });
        struct sigaction action {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART | SA_RESETHAND;
        for (int signal : {SIGTERM, SIGHUP, SIGINT}) ::sigaction(signal, &action, nullptr);
        for (int signal : otherEndings()) {
            struct sigaction before {};
            if (::sigaction(signal, nullptr, &before) == 0 && before.sa_handler == SIG_DFL)
                ::sigaction(signal, &action, nullptr);
        }
    }
    for (int signal : {SIGPIPE, SIGXFSZ}) ::signal(signal, SIG_IGN);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

bool OutsideEndings::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_DESTROY_NOTIFY) return false;
    const auto* destroyed = static_cast<const xcb_destroy_notify_event_t*>(message);
    // Qt destroying its own window forgets its id first.
    if (destroyed->window != window_->internalWinId()) return false;
    QTimer::singleShot(0, this, [this] { end(1); }); // not from inside the event's dispatch
    return false;
}

void OutsideEndings::end(int exitCode)
{
    if (ending_) return;
    ending_ = true;
    beforeEnd_();
    QCoreApplication::exit(exitCode);
    // exit() ends the loops that run now; a loop about to start (the main
    // one, when this came during a question at start-up) ends at its first
    // turn.
    QTimer::singleShot(0, this, [exitCode] { QCoreApplication::exit(exitCode); });
}

} // namespace tessel
