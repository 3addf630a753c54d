#include "ui/common/PrivacyCover.h"

#include "core/UserDefaults.h"
#include "ui/common/ScreenPrivacyMonitor.h"
#include "ui/common/Symbols.h"

#include <QLabel>
#include <QPixmap>

PrivacyCover::PrivacyCover(QWidget *content, const ScreenPrivacyMonitor *monitor, QWidget *parent)
    : QStackedWidget(parent), m_content(content), m_cover(new QLabel(this)), m_monitor(monitor)
{
    m_cover->setObjectName(QStringLiteral("sorryClosed"));
    m_cover->setPixmap(Symbols::bundledPicture(QStringLiteral(":/pictures/sorryClosed.png")));
    m_cover->setScaledContents(true);
    m_cover->setAccessibleName(tr("Content hidden while the screen is shared"));
    addWidget(m_content);
    addWidget(m_cover);
    connect(monitor, &ScreenPrivacyMonitor::isScreenBeingCapturedChanged, this, &PrivacyCover::update);
    connect(&UserDefaults::shared(), &UserDefaults::objectWillChange, this, &PrivacyCover::update);
    update();
}

bool PrivacyCover::isCovering() const
{
    return currentWidget() == m_cover;
}

void PrivacyCover::update()
{
    const bool cover =
        m_monitor->isScreenBeingCaptured() && UserDefaults::boolean(UserDefaults::Key::privacyMonitor);
    setCurrentWidget(cover ? static_cast<QWidget *>(m_cover) : m_content);
}
