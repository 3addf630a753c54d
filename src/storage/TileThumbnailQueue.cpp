#include "storage/TileThumbnailQueue.h"

#include "storage/FileNaming.h"
#include "storage/ImageFromDecodedData.h"
#include "storage/StoragePool.h"

#include <QFutureWatcher>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {
// Cameras write JPEG and HEIC; a PNG or a screenshot has no preview worth the read. A photo stored
// under another extension only goes without its preview.
bool mayHavePreview(const QUrl &url)
{
    static const QStringList cameraExtensions = {u"jpg"_s,  u"jpeg"_s, u"jpe"_s, u"jfif"_s,
                                                 u"heic"_s, u"heif"_s, u"hif"_s};
    return cameraExtensions.contains(FileNaming::shownName(url.fileName()).ext, Qt::CaseInsensitive);
}
} // namespace

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
    if (mayHavePreview(url))
        m_previewOrder.append(url);
    m_waiting.insert(url, generation);
    startWaiting();
}

void TileThumbnailQueue::cancel(const QUrl &url)
{
    if (m_waiting.remove(url)) {
        m_order.removeOne(url);
        m_previewOrder.removeOne(url);
    }
    m_wanted.remove(url);
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
    m_previewOrder.removeIf([&](const QUrl &url) { return !urls.contains(url); });
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

void TileThumbnailQueue::reorder(const QList<QUrl> &urls)
{
    const auto inOrder = [&urls](QList<QUrl> &queue) {
        const QSet<QUrl> queued(queue.cbegin(), queue.cend());
        QList<QUrl> first;
        for (const QUrl &url : urls)
            if (queued.contains(url))
                first.append(url);
        const QSet<QUrl> moved(first.cbegin(), first.cend());
        for (const QUrl &url : std::as_const(queue))
            if (!moved.contains(url))
                first.append(url);
        queue = std::move(first);
    };
    inOrder(m_order);
    inOrder(m_previewOrder);
}

void TileThumbnailQueue::startWaiting()
{
    // A preview costs a 64 KiB read and a thumbnail's decode: they all go to the pool at once,
    // ahead of the decodes, rather than each waiting for the main thread to hand out a slot.
    while (!m_previewOrder.isEmpty())
        startPreview(m_previewOrder.takeFirst());
    // A tile whose preview is being read waits for it: the preview may be all it needs. One decode
    // more than run at once waits on the pool, so that a thread that finishes goes straight on
    // instead of idling until the main thread hands out the next.
    while (m_decodes < m_maxRunning + 1) {
        const auto next = std::find_if(m_order.begin(), m_order.end(),
                                       [this](const QUrl &url) { return !m_previewRunning.contains(url); });
        if (next == m_order.end())
            break;
        const QUrl url = *next;
        m_order.erase(next);
        m_previewOrder.removeOne(url);
        m_wanted.insert(url, m_waiting.take(url));
        auto cancelled = std::make_shared<std::atomic_bool>(false);
        auto *watcher = new QFutureWatcher<ImageResult>(this);
        connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] { finished(watcher); });
        m_running.insert(watcher, Running{url, cancelled});
        ++m_decodes;
        watcher->setFuture(StoragePool::run([url, session = m_session, edge = m_pixelEdge, cancelled] {
            if (cancelled->load())
                return ImageResult{{}, {}, ImageError::cancelled()};
            return ImageFromDecodedData::tile(url, *session, edge, false, cancelled.get());
        }));
    }
}

void TileThumbnailQueue::startPreview(const QUrl &url)
{
    auto cancelled = std::make_shared<std::atomic_bool>(false);
    auto *watcher = new QFutureWatcher<ImageResult>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] { finished(watcher); });
    m_running.insert(watcher, Running{url, cancelled, true});
    m_previewRunning.insert(url);
    watcher->setFuture(StoragePool::run([url, session = m_session, edge = m_pixelEdge, cancelled] {
        if (cancelled->load())
            return ImageResult{{}, {}, ImageError::cancelled()};
        return ImageFromDecodedData::tilePreview(url, *session, edge, cancelled.get());
    }));
}

void TileThumbnailQueue::previewFinished(const QUrl &url, const ImageResult &result)
{
    const auto waiting = m_waiting.constFind(url);
    const auto wanted = m_wanted.constFind(url);
    // The tile itself came first, or nobody wants it any more.
    if (result.image.isNull() || (waiting == m_waiting.cend() && wanted == m_wanted.cend()))
        return;
    const quint64 generation = waiting != m_waiting.cend() ? *waiting : *wanted;
    // Sharp enough already (a large preview, or a tile edge as small): the decode is not needed.
    if (waiting != m_waiting.cend() && qMax(result.image.width(), result.image.height()) >= m_pixelEdge) {
        m_waiting.remove(url);
        m_order.removeOne(url);
        Q_EMIT tileReady(url, result.image, generation);
        return;
    }
    Q_EMIT tilePreviewReady(url, result.image, generation);
}

void TileThumbnailQueue::finished(QFutureWatcher<ImageResult> *watcher)
{
    const Running running = m_running.take(watcher);
    watcher->deleteLater();
    if (running.preview)
        m_previewRunning.remove(running.url);
    else
        --m_decodes;
    if (running.cancelled->load()) {
        startWaiting();
        return;
    }
    if (running.preview) {
        const ImageResult preview = watcher->future().resultCount() > 0 ? watcher->result() : ImageResult{};
        startWaiting();
        previewFinished(running.url, preview);
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
