#include "storage/ImageViewModel.h"

#include "core/Logging.h"
#include "storage/DecodedImageCache.h"
#include "storage/StoragePool.h"

#include <QFutureWatcher>
#include <QtConcurrent/qtconcurrenttask.h>

ImageViewModel::ImageViewModel(const QUrl &url, VaultSessionPtr session, bool useThumbnail,
                               bool releaseOnDisappear, QObject *parent)
    : QObject(parent), m_url(url), m_session(std::move(session)), m_useThumbnail(useThumbnail),
      m_releaseOnDisappear(releaseOnDisappear)
{
    const ImageResult cached = ImageFromDecodedData::image(url, *m_session, useThumbnail, true);
    m_image = cached.image;
    m_systemSymbol = cached.systemSymbol;

    if (useThumbnail) {
        // Off the thread that builds the model: a grid makes many at once. Dropped if the model
        // goes before the pool gets to it, or when a full cache would only evict another picture.
        m_warmUpCancelled = std::make_shared<std::atomic_bool>(false);
        QtConcurrent::task([url, session = m_session, cancelled = m_warmUpCancelled] {
            const DecodedImageCache &cache = DecodedImageCache::fullSize();
            if (!cache.isFull() || cache.contains(ImageFromDecodedData::cacheKey(url)))
                ImageFromDecodedData::image(url, *session, false, false, cancelled.get());
        })
            .onThreadPool(*StoragePool::shared())
            .withPriority(StoragePool::background)
            .spawn(QtConcurrent::FutureResult::Ignore);
    }
}

ImageViewModel::~ImageViewModel()
{
    if (m_warmUpCancelled)
        m_warmUpCancelled->store(true);
    if (m_taskCancelled)
        m_taskCancelled->store(true);
}

void ImageViewModel::load()
{
    if (m_task)
        return;
    m_taskCancelled = std::make_shared<std::atomic_bool>(false);
    auto *watcher = new QFutureWatcher<ImageResult>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, &ImageViewModel::fetchFinished);
    watcher->setFuture(QtConcurrent::task([url = m_url, session = m_session, thumbnail = m_useThumbnail,
                                           cancelled = m_taskCancelled] {
                           if (cancelled->load())
                               return ImageResult{{}, {}, ImageError::cancelled()};
                           return ImageFromDecodedData::image(url, *session, thumbnail, false,
                                                              cancelled.get());
                       })
                           .onThreadPool(*StoragePool::shared())
                           .withPriority(StoragePool::userInitiated)
                           .spawn());
    m_task = watcher;
    Q_EMIT taskChanged();
}

void ImageViewModel::release()
{
    if (!m_releaseOnDisappear)
        return;
    if (m_task) {
        m_taskCancelled->store(true);
        dropTask();
    }
    setImage({}, {});
}

void ImageViewModel::fetchFinished()
{
    if (!m_task)
        return;
    const ImageResult result = m_task->result();
    dropTask();
    if (result.error) {
        if (result.error->kind != ImageError::Kind::cancelled)
            errorMsg(QStringLiteral("Caught error ") + result.error->localizedDescription());
        return;
    }
    if (result.image.isNull())
        setImage({}, result.systemSymbol.isEmpty() ? ImageFromDecodedData::decryptFailedSymbol
                                                   : result.systemSymbol);
    else
        setImage(result.image, {});
}

void ImageViewModel::setImage(const QImage &image, const QString &systemSymbol)
{
    const bool changed = hasImage() || !image.isNull() || !systemSymbol.isEmpty();
    m_image = image;
    m_systemSymbol = systemSymbol;
    if (changed)
        Q_EMIT imageChanged();
}

void ImageViewModel::dropTask()
{
    // The worker may still run; its result no longer reaches this model.
    m_task->disconnect(this);
    m_task->deleteLater();
    m_task = nullptr;
    Q_EMIT taskChanged();
}
