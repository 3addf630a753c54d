#pragma once

#include <QObject>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

// Waits that prove a negative without a fixed pause: a marker sent after the work arrives only
// once what was queued before it has run.

// Posted events (queued signals, deleteLater, zero-delay single shots) run in the order posted.
inline bool postedEventsRan()
{
    bool arrived = false;
    QObject context;
    QMetaObject::invokeMethod(
        &context, [&arrived] { arrived = true; }, Qt::QueuedConnection);
    return QTest::qWaitFor([&arrived] { return arrived; }, 5000);
}

// Timers of equal interval fire in the order they were started: the zero timers started before
// (a view's delayed layout) have fired when this one fires, and those they started in turn when
// the next round fires.
inline bool zeroTimersRan(int rounds = 2)
{
    for (int round = 0; round < rounds; ++round) {
        QTimer marker;
        marker.setSingleShot(true);
        QSignalSpy fired(&marker, &QTimer::timeout);
        marker.start(0);
        if (!fired.wait(5000))
            return false;
    }
    return true;
}
