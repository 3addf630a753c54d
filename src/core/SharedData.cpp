#include "core/SharedData.h"

#include "core/AppPaths.h"

#include <QCoreApplication>

SharedData::SharedData()
    : m_documentFolder(AppPaths::documentsDirectory()), m_lastUpdatedDate(UserDefaults::distantPast()),
      m_colorScheme(UserDefaults::mode())
{}

SharedData &SharedData::shared()
{
    static SharedData *const instance = [] {
        auto *data = new SharedData; // lives as long as the process
        // Its observers and queued updates run on the main thread, whoever asks first.
        if (const QCoreApplication *application = QCoreApplication::instance())
            data->moveToThread(application->thread());
        return data;
    }();
    return *instance;
}

void SharedData::setLastUpdatedDate(const QDateTime &date)
{
    if (m_lastUpdatedDate == date)
        return;
    m_lastUpdatedDate = date;
    Q_EMIT lastUpdatedDateChanged();
}

void SharedData::setColorScheme(UserDefaults::Mode mode)
{
    if (m_colorScheme == mode)
        return;
    m_colorScheme = mode;
    Q_EMIT colorSchemeChanged();
}
