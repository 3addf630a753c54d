#include "app/TerminationSignal.h"

#include "core/Logging.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// One pipe per process: its write end is all the handler touches.
std::array<int, 2> pipeEnds = {-1, -1};
constexpr std::array<int, 3> handled = {SIGTERM, SIGINT, SIGHUP};

extern "C" void onSignal(int signal)
{
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
    errno = saved;
}

} // namespace

TerminationSignal::TerminationSignal(QObject *parent) : QObject(parent)
{
    if (pipeEnds[0] < 0 && ::pipe2(pipeEnds.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        logError(QStringLiteral("cannot watch for termination signals"), QStringLiteral(__FILE__),
                 QStringLiteral("TerminationSignal"));
        return;
    }
    m_notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignal::readSignals);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : handled)
        ::sigaction(signal, &action, nullptr);
}

TerminationSignal::~TerminationSignal()
{
    // The default again: a signal after this object is gone ends the process as usual.
    for (const int signal : handled)
        std::signal(signal, SIG_DFL);
}

void TerminationSignal::readSignals()
{
    unsigned char byte = 0;
    while (::read(pipeEnds[0], &byte, 1) == 1)
        Q_EMIT received(int(byte));
}
