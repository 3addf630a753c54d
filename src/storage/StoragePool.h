#pragma once

#include "security/VaultSession.h"

#include <QCoreApplication>
#include <QFuture>
#include <QPointer>
#include <QThreadPool>
#include <QtConcurrent/qtconcurrenttask.h>

#include <exception>
#include <optional>
#include <type_traits>

// The one thread pool of the storage, crypto and image work. Core functions stay synchronous;
// callers run them here with QtConcurrent and bring results back to the main thread.
class StoragePool
{
public:
    StoragePool() = delete;

    // Task priorities on the pool (higher runs first among queued tasks). A task started while a
    // thread is idle is queued at 0 whatever its priority (Qt 6.4), so what a screen waits for is
    // 0: were it higher, the tasks after it would overtake the first one.
    static constexpr int glance = 1;        // a moment's work a screen shows at once (a preview)
    static constexpr int userInitiated = 0; // what a visible screen waits for
    static constexpr int utility = -1;      // prefetching
    static constexpr int background = -2;   // warming caches for later

    // Made on first use; waits for its tasks when the application object goes away, so no
    // task outlives the Qt machinery it relies on.
    static QThreadPool *shared();

    // Runs function here at the given priority; the caller takes the result back to its thread
    // with QFuture::then(context, ...).
    template <typename Function> static auto run(Function function, int priority = userInitiated)
    {
        return QtConcurrent::task(std::move(function)).onThreadPool(*shared()).withPriority(priority).spawn();
    }

    static void nothing() {}

    // Runs work here, then done(result) on the main thread while context lives; failed() instead
    // when work threw. Nothing runs once context is gone, so done may use it freely. Whoever keeps
    // a busy flag clears it in both.
    template <typename Object, typename Work, typename Done, typename Failed = void (*)()>
    static void runThen(QPointer<Object> context, Work work, Done done, Failed failed = &nothing,
                        int priority = userInitiated)
    {
        continueWith(std::move(context), run(std::move(work), priority), std::move(done), std::move(failed),
                     [] { return true; });
    }
    template <typename Object, typename Work, typename Done, typename Failed = void (*)()>
    static void runThen(Object *context, Work work, Done done, Failed failed = &nothing,
                        int priority = userInitiated)
    {
        runThen(QPointer<Object>(context), std::move(work), std::move(done), std::move(failed), priority);
    }

    // The same for work under a vault session: an answer that comes after the session ended is
    // dropped, and failed() runs in its place.
    template <typename Object, typename Work, typename Done, typename Failed = void (*)()>
    static void runInSession(VaultSessionPtr session, QPointer<Object> context, Work work, Done done,
                             Failed failed = &nothing, int priority = userInitiated)
    {
        continueWith(std::move(context), run(std::move(work), priority), std::move(done), std::move(failed),
                     [session = std::move(session)] { return session && session->isOpen(); });
    }
    template <typename Object, typename Work, typename Done, typename Failed = void (*)()>
    static void runInSession(VaultSessionPtr session, Object *context, Work work, Done done,
                             Failed failed = &nothing, int priority = userInitiated)
    {
        runInSession(std::move(session), QPointer<Object>(context), std::move(work), std::move(done),
                     std::move(failed), priority);
    }

private:
    // Continues in the application object's context and checks the guard: with the receiver itself
    // as the context, Qt aborts debug builds when it is gone by then.
    template <typename Object, typename T, typename Done, typename Failed, typename Wanted>
    static void continueWith(QPointer<Object> context, QFuture<T> future, Done done, Failed failed,
                             Wanted wanted)
    {
        future.then(QCoreApplication::instance(),
                    [context = std::move(context), done = std::move(done), failed = std::move(failed),
                     wanted = std::move(wanted)](QFuture<T> finished) mutable {
                        if (!context)
                            return;
                        if (!wanted()) {
                            failed();
                            return;
                        }
                        if constexpr (std::is_void_v<T>) {
                            try {
                                finished.waitForFinished();
                            } catch (...) {
                                failed();
                                return;
                            }
                            done();
                        } else {
                            std::optional<T> result;
                            try {
                                result.emplace(finished.takeResult());
                            } catch (...) {
                                failed();
                                return;
                            }
                            done(std::move(*result));
                        }
                    });
    }
};
