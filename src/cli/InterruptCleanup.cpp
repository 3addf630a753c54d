#include "InterruptCleanup.h"

#include <QFile>

#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace {

constexpr int slotCount = 4;
// Fixed storage: the handler may only read it and call unlink().
char paths[slotCount][PATH_MAX];
std::atomic<bool> used[slotCount];

void onInterrupt(int signal)
{
    for (int slot = 0; slot < slotCount; ++slot) {
        if (used[slot].load())
            ::unlink(paths[slot]);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void installHandlers()
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

} // namespace

InterruptCleanup::InterruptCleanup(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    if (native.size() >= PATH_MAX)
        return;
    installHandlers();
    for (int slot = 0; slot < slotCount; ++slot) {
        if (used[slot].load())
            continue;
        std::memcpy(paths[slot], native.constData(), size_t(native.size()) + 1);
        used[slot].store(true);
        m_slot = slot;
        return;
    }
}

InterruptCleanup::~InterruptCleanup()
{
    if (m_slot >= 0)
        used[m_slot].store(false);
}
