#include "core/InterruptCleanup.h"

#include <QFile>

#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int slotCount = 4;
enum Slot : int { freeSlot, claimedSlot, armedSlot };
// Fixed storage: the handler may only read it and call unlink(). A slot is claimed before its
// path is written and armed after, so that neither another thread nor the handler sees half a path.
char paths[slotCount][PATH_MAX];
std::atomic<int> slots[slotCount];
// The same for one terminal's saved settings; tcsetattr() may be called from a handler.
int terminalFd = -1;
termios terminalSettings;
std::atomic<int> terminalSlot{freeSlot};

void onInterrupt(int signal)
{
    for (int slot = 0; slot < slotCount; ++slot) {
        if (slots[slot].load() == armedSlot)
            ::unlink(paths[slot]);
    }
    if (terminalSlot.load() == armedSlot)
        ::tcsetattr(terminalFd, TCSANOW, &terminalSettings);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

void InterruptCleanup::installHandlers()
{
    static const bool installed = [] {
        struct sigaction action = {};
        action.sa_handler = onInterrupt;
        sigemptyset(&action.sa_mask);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP})
            ::sigaction(signal, &action, nullptr);
        return true;
    }();
    Q_UNUSED(installed);
}

InterruptCleanup::InterruptCleanup(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    if (native.size() >= PATH_MAX)
        return;
    for (int slot = 0; slot < slotCount; ++slot) {
        int expected = freeSlot;
        if (!slots[slot].compare_exchange_strong(expected, claimedSlot))
            continue;
        std::memcpy(paths[slot], native.constData(), size_t(native.size()) + 1);
        slots[slot].store(armedSlot);
        m_slot = slot;
        return;
    }
}

InterruptCleanup::InterruptCleanup(int terminal, const termios &saved)
{
    int expected = freeSlot;
    if (!terminalSlot.compare_exchange_strong(expected, claimedSlot))
        return;
    terminalFd = terminal;
    terminalSettings = saved;
    terminalSlot.store(armedSlot);
    m_terminal = true;
}

InterruptCleanup::~InterruptCleanup()
{
    if (m_slot >= 0)
        slots[m_slot].store(freeSlot);
    if (m_terminal)
        terminalSlot.store(freeSlot);
}
