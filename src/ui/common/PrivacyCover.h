#pragma once

#include <QStackedWidget>

class QLabel;
class ScreenPrivacyMonitor;

// Shows its content, or the "sorryClosed" picture instead while the screen is captured and the
// person has turned on "Protect Screen Contents".
class PrivacyCover : public QStackedWidget
{
    Q_OBJECT
public:
    PrivacyCover(QWidget *content, const ScreenPrivacyMonitor *monitor, QWidget *parent = nullptr);

    bool isCovering() const;

private:
    void update();

    QWidget *m_content;
    QLabel *m_cover;
    const ScreenPrivacyMonitor *m_monitor;
};
