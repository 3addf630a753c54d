#pragma once

#include <QObject>

// Whether the screen is being recorded, mirrored or shared. Linux gives an application no
// signal for that, so the window's monitor always answers "not captured"; tests and any future
// source of the truth set it through setScreenBeingCaptured().
class ScreenPrivacyMonitor : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool isScreenBeingCaptured READ isScreenBeingCaptured NOTIFY isScreenBeingCapturedChanged)
public:
    explicit ScreenPrivacyMonitor(QObject *parent = nullptr);

    bool isScreenBeingCaptured() const { return m_captured; }
    void setScreenBeingCaptured(bool captured);

Q_SIGNALS:
    void isScreenBeingCapturedChanged(bool captured);

private:
    bool m_captured = false;
};
