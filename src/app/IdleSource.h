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
    // For a source that is told when the session has been idle for a given time rather than asked
    // how long: the limit to be told about (zero: none), and what to run when that news comes, so
    // that the limit is found without waiting for the next question.
    virtual void watch(std::chrono::milliseconds limit, std::function<void()> changed)
    {
        (void)limit;
        (void)changed;
    }
};
