#include "app/StartupProbe.h"

#include "app/FirstFrame.h"

#include <QCoreApplication>

#include <cstdio>
#include <ctime>

void StartupProbe::watch(QWidget *window, const QStringList &arguments)
{
    if (!window || !arguments.contains(QStringLiteral("--quit-after-first-frame")))
        return;
    FirstFrame::then(window, [] {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
        std::fflush(stdout);
        QCoreApplication::quit();
    });
}
