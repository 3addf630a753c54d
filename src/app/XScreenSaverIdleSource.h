#pragma once

#include "app/IdleSource.h"

#include <memory>

struct _XDisplay;

// The X screen-saver extension's idle time, over a display connection of its own.
class XScreenSaverIdleSource : public IdleSource
{
public:
    // Nothing without an X server that has the extension.
    static std::unique_ptr<XScreenSaverIdleSource> open();
    ~XScreenSaverIdleSource() override;
    XScreenSaverIdleSource(const XScreenSaverIdleSource &) = delete;
    XScreenSaverIdleSource &operator=(const XScreenSaverIdleSource &) = delete;

    QString name() const override;
    void ask(QObject *context, Answer answer) override;

private:
    explicit XScreenSaverIdleSource(_XDisplay *display) : m_display(display) {}

    _XDisplay *m_display;
};
