#pragma once

#include "core/UserDefaults.h"

#include <QDateTime>
#include <QObject>
#include <QString>

// The observable application state, one per process. Touch it on the main thread.
class SharedData : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString documentFolder READ documentFolder CONSTANT)
    Q_PROPERTY(
        QDateTime lastUpdatedDate READ lastUpdatedDate WRITE setLastUpdatedDate NOTIFY lastUpdatedDateChanged)
    Q_PROPERTY(UserDefaults::Mode colorScheme READ colorScheme WRITE setColorScheme NOTIFY colorSchemeChanged)
public:
    static SharedData &shared();

    // The on-device vault folder; empty when there is none.
    QString documentFolder() const { return m_documentFolder; }

    QDateTime lastUpdatedDate() const { return m_lastUpdatedDate; }
    void setLastUpdatedDate(const QDateTime &date);

    UserDefaults::Mode colorScheme() const { return m_colorScheme; }
    void setColorScheme(UserDefaults::Mode mode);

Q_SIGNALS:
    void lastUpdatedDateChanged();
    void colorSchemeChanged();

private:
    SharedData();

    QString m_documentFolder;
    QDateTime m_lastUpdatedDate;
    UserDefaults::Mode m_colorScheme;
};
