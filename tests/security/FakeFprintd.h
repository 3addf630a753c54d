#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QHash>
#include <QStringList>
#include <utility>

// fprintd as far as Lumisera uses it, on a connection of its own to the system bus the
// environment names: it owns "net.reactivated.Fprint", answers the manager and one reader,
// records every call and sends VerifyStatus when told.
class FakeFprintd : public QDBusVirtualObject
{
    Q_OBJECT
public:
    FakeFprintd();
    ~FakeFprintd() override;

    bool ownsService() const { return m_ownsService; }
    void setFingers(const QStringList &fingers) { m_fingers = fingers; }
    // From now on that method answers fprintd's error of that name, with that message.
    void setFailing(const QString &method, const QString &error, const QString &message)
    {
        m_failures.insert(method, {error, message});
    }
    // Claims wait for answerHeldClaim(), as a slow reader makes them.
    void setHoldingClaims(bool holding) { m_holdingClaims = holding; }
    void answerHeldClaim() { m_bus.send(m_heldClaim.createReply()); }

    // "Method(argument)" for every call, oldest first.
    QStringList calls() const { return m_calls; }
    void clearCalls() { m_calls.clear(); }
    // The reader's signal, as fprintd sends it or as anyone else on the bus could.
    static QDBusMessage verifyStatus(const QString &result, bool done);
    // A call outside fprintd's interfaces, answered but not recorded: answered in turn, so its
    // answer comes after those to every call sent before it on the same connection.
    static QDBusMessage roundTrip();
    void emitVerifyStatus(const QString &result, bool done) { m_bus.send(verifyStatus(result, done)); }

    QString introspect(const QString &) const override { return {}; } // never asked for here
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override;

private:
    QDBusConnection m_bus;
    bool m_ownsService = false;
    QStringList m_fingers{QStringLiteral("right-index-finger")};
    QHash<QString, std::pair<QString, QString>> m_failures; // method: error name, message
    bool m_holdingClaims = false;
    QDBusMessage m_heldClaim;
    QStringList m_calls;
};
