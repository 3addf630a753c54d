#pragma once

#include <QStringList>

class QWidget;

// For the start-up benchmark: with --quit-after-first-frame the process prints the wall-clock
// time (nanoseconds since the epoch) at which its window finished its first paint, and quits.
class StartupProbe
{
public:
    StartupProbe() = delete;

    static void watch(QWidget *window, const QStringList &arguments);
};
