#pragma once

class QThreadPool;

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
};
