#pragma once

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QList>
#include <QStringList>
#include <QVariantMap>

// The desktop portal's file chooser, on a connection of its own to the session bus the
// environment names: it owns "org.freedesktop.portal.Desktop", records every OpenFile and every
// Request.Close, and answers a request only when told.
class FakePortal : public QDBusVirtualObject
{
    Q_OBJECT
public:
    struct Call
    {
        QString parentWindow;
        QString title;
        QVariantMap options;
        QString request; // the request's object path
    };

    FakePortal();
    ~FakePortal() override;

    bool ownsService() const { return m_ownsService; }
    QList<Call> calls() const { return m_calls; }
    QStringList closedRequests() const { return m_closed; }
    // The Response signal: 0 chosen, 1 cancelled.
    void respond(const QString &request, uint response, const QStringList &uris);

    QString introspect(const QString &path) const override;
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override;

private:
    QDBusConnection m_bus;
    bool m_ownsService = false;
    QList<Call> m_calls;
    QStringList m_closed;
};
