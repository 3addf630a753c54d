#include "TestHome.h"
#include "app/TerminationSignal.h"

#include <QSignalSpy>
#include <QTest>

#include <csignal>

class TestTerminationSignal : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The signals that end a session or a terminal reach the main thread as a request to quit,
    // instead of ending the process with the vault open and shared copies left behind.
    void aSignalBecomesAQuitRequest_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }
    void aSignalBecomesAQuitRequest()
    {
        QFETCH(int, signal);
        TerminationSignal termination;
        QSignalSpy received(&termination, &TerminationSignal::received);
        QCOMPARE(::raise(signal), 0);
        QTRY_COMPARE(received.size(), 1);
        QCOMPARE(received.first().first().toInt(), signal);
        // Twice in a row is told twice: the second must not be lost in the pipe.
        QCOMPARE(::raise(signal), 0);
        QCOMPARE(::raise(signal), 0);
        QTRY_COMPARE(received.size(), 3);
    }
};

LUMISERA_TEST_MAIN(TestTerminationSignal)
#include "TestTerminationSignal.moc"
