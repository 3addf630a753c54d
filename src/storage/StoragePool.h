#pragma once

#include <QThreadPool>
#include <QtConcurrent/qtconcurrenttask.h>

// The one thread pool of the storage, crypto and image work. Core functions stay synchronous;
// callers run them here with QtConcurrent and bring results back to the main thread.
class StoragePool
{
public:
    StoragePool() = delete;

    // Task priorities on the pool (higher runs first among queued tasks).
    static constexpr int userInitiated = 1; // what a visible screen waits for
    static constexpr int utility = 0;       // prefetching
    static constexpr int background = -1;   // warming caches for later

    // Made on first use; waits for its tasks when the application object goes away, so no
    // task outlives the Qt machinery it relies on.
    static QThreadPool *shared();

    // Runs function here at the given priority; the caller takes the result back to its thread
    // with QFuture::then(context, ...).
    template <typename Function> static auto run(Function function, int priority = userInitiated)
    {
        return QtConcurrent::task(std::move(function)).onThreadPool(*shared()).withPriority(priority).spawn();
    }
};
