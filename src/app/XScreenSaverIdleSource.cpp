#include "app/XScreenSaverIdleSource.h"

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

std::unique_ptr<XScreenSaverIdleSource> XScreenSaverIdleSource::open()
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return nullptr;
    int eventBase = 0;
    int errorBase = 0;
    if (!XScreenSaverQueryExtension(display, &eventBase, &errorBase)) {
        XCloseDisplay(display);
        return nullptr;
    }
    return std::unique_ptr<XScreenSaverIdleSource>(new XScreenSaverIdleSource(display));
}

XScreenSaverIdleSource::~XScreenSaverIdleSource()
{
    XCloseDisplay(m_display);
}

QString XScreenSaverIdleSource::name() const
{
    return QStringLiteral("MIT-SCREEN-SAVER");
}

void XScreenSaverIdleSource::ask(QObject *, Answer answer)
{
    XScreenSaverInfo *info = XScreenSaverAllocInfo();
    if (!info) {
        answer(std::nullopt);
        return;
    }
    const bool known = XScreenSaverQueryInfo(m_display, DefaultRootWindow(m_display), info) != 0;
    const unsigned long idle = info->idle;
    XFree(info);
    if (known)
        answer(std::chrono::milliseconds(idle));
    else
        answer(std::nullopt);
}
