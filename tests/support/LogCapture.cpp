#include "LogCapture.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
LogCapture *current = nullptr;
}

LogCapture::LogCapture() : m_previous(qInstallMessageHandler(&LogCapture::handle))
{
    current = this;
}

LogCapture::~LogCapture()
{
    current = nullptr;
    qInstallMessageHandler(m_previous);
}

void LogCapture::handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!current)
        return;
    if (!context.category || std::strcmp(context.category, "com.morvenda.Journey") != 0) {
        if (current->m_previous)
            current->m_previous(type, context, message);
        else
            std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
        return;
    }
    QMutexLocker lock(&current->m_mutex);
    if (type == QtCriticalMsg)
        current->m_errors.append(message);
    else if (type == QtInfoMsg)
        current->m_infos.append(message);
}

QStringList LogCapture::lines() const
{
    QMutexLocker lock(&m_mutex);
    return m_errors + m_infos;
}

QStringList LogCapture::errors() const
{
    QMutexLocker lock(&m_mutex);
    return m_errors;
}

QStringList LogCapture::infos() const
{
    QMutexLocker lock(&m_mutex);
    return m_infos;
}

bool LogCapture::contains(const QString &fragment) const
{
    const QStringList all = lines();
    return std::any_of(all.begin(), all.end(), [&](const QString &line) { return line.contains(fragment); });
}

void LogCapture::clear()
{
    QMutexLocker lock(&m_mutex);
    m_errors.clear();
    m_infos.clear();
}
