#include "ui/common/ScreenPrivacyMonitor.h"

ScreenPrivacyMonitor::ScreenPrivacyMonitor(QObject *parent) : QObject(parent) {}

void ScreenPrivacyMonitor::setScreenBeingCaptured(bool captured)
{
    if (m_captured == captured)
        return;
    m_captured = captured;
    Q_EMIT isScreenBeingCapturedChanged(captured);
}
