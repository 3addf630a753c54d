#pragma once

#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QSet>
#include <QUrl>
#include <atomic>
#include <memory>

#include "security/VaultSession.h"

template <typename T> class QFutureWatcher;
struct ImageResult;

// The tiles of a folder grid: decodes the pictures the grid asks for on the storage pool, a few at
// a time in the order asked, through DecodedImageCache::tiles(), under the session the grid hands
// over. The embedded preview of a file named as a JPEG, read from the first KiB of the file, comes
// first (tilePreviewReady) for every waiting tile: previews go to the pool ahead of the decodes. Tiles
// scrolled away are dropped before they take a thread. Dropped too, without a signal, when the session
// changes or ends: nothing is decoded without an open one. Lives on, and is only touched from, the main
// thread; its signals come there too.
class TileThumbnailQueue : public QObject
{
    Q_OBJECT

public:
    static constexpr int defaultTileEdge = 140;

    // Tiles are decoded at twice tileEdge for HiDPI screens. At most maxRunning decodes run at
    // once, and one more waits on the pool; 0 means the storage pool's thread count.
    explicit TileThumbnailQueue(int tileEdge = defaultTileEdge, int maxRunning = 0,
                                QObject *parent = nullptr);
    ~TileThumbnailQueue() override;

    // Drops every request made under the previous session.
    void setSession(VaultSessionPtr session);

    int pixelEdge() const { return m_pixelEdge; }
    int maxRunning() const { return m_maxRunning; }

    // Asks for url's tile; generation comes back with the answer, so that a reused row can tell
    // whose tile it is. A cached tile is answered (tileReady) before this returns. Asking again
    // while the tile is wanted only updates generation.
    void request(const QUrl &url, quint64 generation = 0);
    // Drops the request for url: no signal comes for it, even from a decode already running.
    void cancel(const QUrl &url);
    // Drops every request whose URL is not in urls (the tiles scrolled out of view).
    void retainOnly(const QSet<QUrl> &urls);
    void cancelAll();
    // Puts the waiting requests in the order of urls (the tiles in view first, say); the others keep
    // theirs after them.
    void reorder(const QList<QUrl> &urls);

    // Requests still waiting or decoding.
    int pendingCount() const { return int(m_waiting.size() + m_wanted.size()); }
    // Decodes on the pool, running or next in line, including cancelled ones not yet finished:
    // they hold their slot. The previews being read are not counted: they take no slot.
    int runningCount() const { return m_decodes; }

Q_SIGNALS:
    void tileReady(const QUrl &url, const QImage &image, quint64 generation);
    // A stand-in for the tile until tileReady comes: the camera's small preview, upright.
    void tilePreviewReady(const QUrl &url, const QImage &image, quint64 generation);
    // The file cannot be read, decrypted or decoded (the grid shows "x.circle").
    void tileFailed(const QUrl &url, quint64 generation);

private:
    struct Running
    {
        QUrl url;
        std::shared_ptr<std::atomic_bool> cancelled;
        bool preview = false;
    };

    void startWaiting();
    void startPreview(const QUrl &url);
    void previewFinished(const QUrl &url, const ImageResult &result);
    void finished(QFutureWatcher<ImageResult> *watcher);

    const int m_pixelEdge;
    const int m_maxRunning;
    QList<QUrl> m_order;            // waiting requests, oldest first
    QList<QUrl> m_previewOrder;     // waiting requests whose preview was not looked for yet
    QSet<QUrl> m_previewRunning;    // previews being read, also cancelled ones
    QHash<QUrl, quint64> m_waiting; // waiting request → generation
    QHash<QUrl, quint64> m_wanted;  // running decode still wanted → generation
    QHash<QFutureWatcher<ImageResult> *, Running> m_running; // decodes and previews
    int m_decodes = 0;
    VaultSessionPtr m_session;
};
