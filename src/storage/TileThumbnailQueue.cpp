#include "storage/TileThumbnailQueue.h"

#include "storage/ImageFromDecodedData.h"
#include "storage/StoragePool.h"

#include <QFutureWatcher>

TileThumbnailQueue::TileThumbnailQueue(int tileEdge, int maxRunning, QObject *parent)
    : QObject(parent), m_pixelEdge(2 * tileEdge),
      m_maxRunning(maxRunning > 0 ? maxRunning : qMax(1, StoragePool::shared()->maxThreadCount()))
{}

TileThumbnailQueue::~TileThumbnailQueue()
{
    for (const Running &running : std::as_const(m_running))
        running.cancelled->store(true);
}

void TileThumbnailQueue::setSession(VaultSessionPtr session)
{
    if (session == m_session)
        return;
    cancelAll();
    m_session = std::move(session);
}

void TileThumbnailQueue::request(const QUrl &url, quint64 generation)
{
    if (!m_session || !m_session->isOpen())
        return;
    if (const auto wanted = m_wanted.find(url); wanted != m_wanted.end()) {
        *wanted = generation;
        return;
    }
    if (const auto waiting = m_waiting.find(url); waiting != m_waiting.end()) {
        *waiting = generation;
        return;
    }
    const ImageResult cached = ImageFromDecodedData::tile(url, *m_session, m_pixelEdge, true);
    if (!cached.image.isNull()) {
        Q_EMIT tileReady(url, cached.image, generation);
        return;
    }
    m_order.append(url);
    m_waiting.insert(url, generation);
    startWaiting();
}

void TileThumbnailQueue::cancel(const QUrl &url)
{
    if (m_waiting.remove(url))
        m_order.removeOne(url);
    if (!m_wanted.remove(url))
        return;
    for (const Running &running : std::as_const(m_running))
        if (running.url == url)
            running.cancelled->store(true);
}

void TileThumbnailQueue::retainOnly(const QSet<QUrl> &urls)
{
    m_order.removeIf([&](const QUrl &url) {
        const bool drop = !urls.contains(url);
        if (drop)
            m_waiting.remove(url);
        return drop;
    });
    for (const Running &running : std::as_const(m_running))
        if (!urls.contains(running.url)) {
            running.cancelled->store(true);
            m_wanted.remove(running.url);
        }
}

void TileThumbnailQueue::cancelAll()
{
    retainOnly({});
}

void TileThumbnailQueue::startWaiting()
{
    while (m_running.size() < m_maxRunning && !m_order.isEmpty()) {
        const QUrl url = m_order.takeFirst();
        m_wanted.insert(url, m_waiting.take(url));
        auto cancelled = std::make_shared<std::atomic_bool>(false);
        auto *watcher = new QFutureWatcher<ImageResult>(this);
        connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] { finished(watcher); });
        m_running.insert(watcher, Running{url, cancelled});
        watcher->setFuture(StoragePool::run([url, session = m_session, edge = m_pixelEdge, cancelled] {
            if (cancelled->load())
                return ImageResult{{}, {}, ImageError::cancelled()};
            return ImageFromDecodedData::tile(url, *session, edge, false, cancelled.get());
        }));
    }
}

void TileThumbnailQueue::finished(QFutureWatcher<ImageResult> *watcher)
{
    const Running running = m_running.take(watcher);
    watcher->deleteLater();
    if (running.cancelled->load()) {
        startWaiting();
        return;
    }
    const quint64 generation = m_wanted.take(running.url);
    const ImageResult result = watcher->future().resultCount() > 0
                                   ? watcher->result()
                                   : ImageResult{{}, {}, ImageError::uiImageFailed()};
    // The slot is free before the signal, whose receiver may ask for more.
    startWaiting();
    // A decode the lock stopped says nothing: the tile is neither a picture nor broken.
    if (result.error && result.error->kind == ImageError::Kind::cancelled)
        return;
    if (result.image.isNull())
        Q_EMIT tileFailed(running.url, generation);
    else
        Q_EMIT tileReady(running.url, result.image, generation);
}
