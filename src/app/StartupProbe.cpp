#include "app/StartupProbe.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>

namespace {

class FirstPaint : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Any widget's paint will do: the window itself may be covered by its children.
        if (event->type() == QEvent::Paint && !m_seen && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->window() == parent()) {
            m_seen = true;
            // Once this paint has been handled and flushed to the screen.
            QTimer::singleShot(0, this, [] {
                timespec now{};
                clock_gettime(CLOCK_REALTIME, &now);
                std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

} // namespace

void StartupProbe::watch(QWidget *window, const QStringList &arguments)
{
    if (!window || !arguments.contains(QStringLiteral("--quit-after-first-frame")))
        return;
    qApp->installEventFilter(new FirstPaint(window));
}
