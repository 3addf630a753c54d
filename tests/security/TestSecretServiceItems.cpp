// Whether the desktop keyring would hand out the passcode without a prompt, asked of a Secret
// Service on a private bus: a fake that holds the item in an unlocked collection, a locked one,
// both, or not at all, and one that is not running.
#include "TestHome.h"
#include "security/SecretServiceItems.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtConcurrent>

using namespace std::chrono_literals;
using Access = SecretServiceItems::Access;

namespace {
const QString Service = QStringLiteral("org.freedesktop.secrets");
const QString Root = QStringLiteral("/org/freedesktop/secrets");

enum class Held { unlocked, locked, both, none, error };

// The Secret Service's SearchItems, answering with the item in the collections `held` says.
class FakeSecretService : public QDBusVirtualObject
{
public:
    FakeSecretService(const QString &address, Held held)
        : m_bus(QDBusConnection::connectToBus(address, QStringLiteral("fake-secrets"))), m_held(held)
    {
        m_owns = m_bus.registerVirtualObject(Root, this, QDBusConnection::SubPath) &&
                 m_bus.registerService(Service);
    }
    ~FakeSecretService() override
    {
        m_bus.unregisterService(Service);
        m_bus.unregisterObject(Root, QDBusConnection::UnregisterTree);
        QDBusConnection::disconnectFromBus(m_bus.name());
    }

    bool owns() const { return m_owns; }
    // The attributes of each search, in the order they came.
    QList<QMap<QString, QString>> searches() const { return m_searches; }

    QString introspect(const QString &) const override { return {}; }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &) override
    {
        if (message.member() != QLatin1String("SearchItems") || message.arguments().size() != 1)
            return m_bus.send(message.createErrorReply(QDBusError::UnknownMethod, message.member()));
        QMap<QString, QString> attributes;
        message.arguments().constFirst().value<QDBusArgument>() >> attributes;
        m_searches.append(attributes);
        if (m_held == Held::error)
            return m_bus.send(message.createErrorReply(
                QStringLiteral("org.freedesktop.Secret.Error.IsLocked"), QStringLiteral("refused")));
        const QDBusObjectPath item(QStringLiteral("/org/freedesktop/secrets/collection/login/7"));
        const QList<QDBusObjectPath> none;
        const QList<QDBusObjectPath> one{item};
        QDBusMessage reply = message.createReply();
        reply << QVariant::fromValue(m_held == Held::unlocked || m_held == Held::both ? one : none)
              << QVariant::fromValue(m_held == Held::locked || m_held == Held::both ? one : none);
        return m_bus.send(reply);
    }

private:
    QDBusConnection m_bus;
    Held m_held;
    bool m_owns = false;
    QList<QMap<QString, QString>> m_searches;
};
} // namespace

class TestSecretServiceItems : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QProcess m_bus;
    QString m_address;

    // Asked from another thread, as a blocking call from the thread that serves the fake could
    // never be answered.
    Access ask(const QString &connectionName)
    {
        QFuture<Access> answer = QtConcurrent::run([connectionName] {
            return SecretServiceItems::of(QDBusConnection(connectionName), QStringLiteral("Lumisera"),
                                          QStringLiteral("com_morvenda_dailyVeln"), 2s);
        });
        if (!QTest::qWaitFor([&] { return answer.isFinished(); }, 10000))
            return Access::unknown;
        return answer.result();
    }

private Q_SLOTS:
    void initTestCase()
    {
        qDBusRegisterMetaType<QMap<QString, QString>>();
        qDBusRegisterMetaType<QList<QDBusObjectPath>>();
        QVERIFY(m_dir.isValid());
        m_address = QStringLiteral("unix:path=") + m_dir.filePath(QStringLiteral("bus"));
        m_bus.start(QStringLiteral("dbus-daemon"),
                    {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                     QStringLiteral("--print-address=1"), QStringLiteral("--address=") + m_address});
        QVERIFY2(m_bus.waitForStarted() && m_bus.waitForReadyRead(5000),
                 "dbus-daemon must be on PATH to stand in for the session bus");
    }

    void cleanupTestCase()
    {
        m_bus.terminate();
        m_bus.waitForFinished();
    }

    void accessFollowsTheItemsCollections_data()
    {
        QTest::addColumn<Held>("held");
        QTest::addColumn<Access>("expected");
        QTest::newRow("unlocked collection") << Held::unlocked << Access::withoutPrompt;
        QTest::newRow("locked collection") << Held::locked << Access::needsPrompt;
        QTest::newRow("a copy in each") << Held::both << Access::needsPrompt;
        QTest::newRow("no such item") << Held::none << Access::unknown;
        QTest::newRow("error answer") << Held::error << Access::unknown;
    }

    void accessFollowsTheItemsCollections()
    {
        QFETCH(Held, held);
        QFETCH(Access, expected);
        FakeSecretService service(m_address, held);
        QVERIFY(service.owns());
        const QDBusConnection asking = QDBusConnection::connectToBus(m_address, QStringLiteral("asking"));
        QCOMPARE(ask(asking.name()), expected);
        QDBusConnection::disconnectFromBus(asking.name());
        // QtKeychain's own attributes for the application's item.
        const QMap<QString, QString> attributes{
            {QStringLiteral("server"), QStringLiteral("Lumisera")},
            {QStringLiteral("user"), QStringLiteral("com_morvenda_dailyVeln")}};
        QCOMPARE(service.searches().size(), 1);
        QCOMPARE(service.searches().constFirst(), attributes);
    }

    void unknownWithoutARunningService()
    {
        const QDBusConnection asking = QDBusConnection::connectToBus(m_address, QStringLiteral("asking"));
        QCOMPARE(ask(asking.name()), Access::unknown);
        QDBusConnection::disconnectFromBus(asking.name());
    }

    void unknownWithoutABus()
    {
        const QDBusConnection nowhere = QDBusConnection::connectToBus(
            QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("nowhere"));
        QCOMPARE(ask(nowhere.name()), Access::unknown);
        QDBusConnection::disconnectFromBus(nowhere.name());
    }
};

LUMISERA_TEST_MAIN(TestSecretServiceItems)
#include "TestSecretServiceItems.moc"
