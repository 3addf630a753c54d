#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QHash>
#include <QStringList>
#include <utility>

// fprintd as far as Lumisera uses it, on a connection of its own to the system bus the
// environment names: it owns "net.reactivated.Fprint", answers the manager and one reader,
// keeps fprintd's rules for claiming, records every call and sends VerifyStatus when told.
class FakeFprintd : public QDBusVirtualObject
{
    Q_OBJECT
public:
    static const QString service;
    static const QString devicePath;
    static const QString deviceInterface;

    FakeFprintd();
    ~FakeFprintd() override;
    FakeFprintd(const FakeFprintd &) = delete;
    FakeFprintd &operator=(const FakeFprintd &) = delete;

    bool ownsService() const { return m_ownsService; }
    QDBusConnection connection() const { return m_bus; }

    void setHasDevice(bool hasDevice) { m_hasDevice = hasDevice; }
    // No finger answers NoEnrolledPrints, as fprintd does, unless an empty list is asked for.
    void setFingers(const QStringList &fingers, bool emptyListAnswered = false);
    // That method answers this error from now on.
    void setFailing(const QString &method, const QString &errorName, const QString &errorMessage);
    // Claims wait for answerHeldClaim(), as a slow reader makes them.
    void setHoldingClaims(bool holding) { m_holdingClaims = holding; }
    void answerHeldClaim();

    // "Method(argument)" for every call, oldest first.
    QStringList calls() const { return m_calls; }
    void clearCalls() { m_calls.clear(); }
    bool isClaimed() const { return m_claimed; }
    void emitVerifyStatus(const QString &result, bool done);

    QString introspect(const QString &path) const override;
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override;

private:
    QDBusMessage answer(const QDBusMessage &message);
    QDBusMessage answerDevice(const QDBusMessage &message);
    QDBusMessage claim(const QDBusMessage &message);
    QDBusMessage verifyStart(const QDBusMessage &message);
    QDBusMessage verifyStop(const QDBusMessage &message);
    QDBusMessage release(const QDBusMessage &message);
    QDBusMessage listFingers(const QDBusMessage &message);

    QDBusConnection m_bus;
    bool m_ownsService = false;
    bool m_hasDevice = true;
    QStringList m_fingers{QStringLiteral("right-index-finger")};
    bool m_emptyListAnswered = false;
    QHash<QString, std::pair<QString, QString>> m_failures; // method: error name, message
    bool m_holdingClaims = false;
    QDBusMessage m_heldClaim;
    bool m_claimed = false;
    bool m_verifying = false;
    QStringList m_calls;
};
