#pragma once

#include <QString>

#include <chrono>
#include <functional>
#include <optional>

class QObject;

// Something that tells how long the desktop session has had no input.
class IdleSource
{
public:
    // Nothing when the source cannot tell.
    using Answer = std::function<void(std::optional<std::chrono::milliseconds>)>;

    virtual ~IdleSource() = default;
    virtual QString name() const = 0;
    // answer runs once, now or later, unless context has gone by then.
    virtual void ask(QObject *context, Answer answer) = 0;
};
