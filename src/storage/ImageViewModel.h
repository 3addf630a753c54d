#pragma once

#include "storage/ImageFromDecodedData.h"

#include <QFutureWatcher>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QUrl>
#include <atomic>
#include <memory>

template <typename T> class QFutureWatcher;

// What one picture view shows: the decrypted picture of url, loaded on the storage pool when the
// view is shown and dropped when it is hidden. Lives on, and is only touched from, the main thread.
// `image` is present when it holds a picture or a system symbol ("x.circle" after a failed
// decryption); the view shows its placeholder otherwise.
class ImageViewModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QImage image READ image NOTIFY imageChanged)
    Q_PROPERTY(QString systemSymbol READ systemSymbol NOTIFY imageChanged)
    Q_PROPERTY(bool loading READ isLoading NOTIFY taskChanged)

public:
    // Shows a picture the cache already holds at once. A thumbnail model also warms the
    // full-size cache for the photo viewer, in the background at low priority, unless that cache
    // is full (DecodedImageCache::isFull()).
    ImageViewModel(const QUrl &url, VaultSessionPtr session, bool useThumbnail, bool releaseOnDisappear,
                   QObject *parent = nullptr);
    ~ImageViewModel() override;

    QImage image() const { return m_image; }
    QString systemSymbol() const { return m_systemSymbol; }
    bool hasImage() const { return !m_image.isNull() || !m_systemSymbol.isEmpty(); }
    QUrl url() const { return m_url; }
    bool useThumbnail() const { return m_useThumbnail; }
    bool releaseOnDisappear() const { return m_releaseOnDisappear; }
    // A load is in progress (the task is present).
    bool isLoading() const { return m_task != nullptr; }

    // When shown: starts the load unless one runs. Errors other than cancellation are logged as
    // "Caught error …" and keep the current image.
    void load();
    // When hidden, for a model made with releaseOnDisappear: cancels the load and drops the
    // image. The caches keep their entries.
    void release();

Q_SIGNALS:
    void imageChanged();
    void taskChanged();

private:
    void fetchFinished();
    void setImage(const QImage &image, const QString &systemSymbol);
    void dropTask();

    const QUrl m_url;
    const VaultSessionPtr m_session;
    const bool m_useThumbnail;
    const bool m_releaseOnDisappear;
    QImage m_image;
    QString m_systemSymbol;
    QPointer<QFutureWatcher<ImageResult>> m_task;
    std::shared_ptr<std::atomic_bool> m_taskCancelled;
    std::shared_ptr<std::atomic_bool> m_warmUpCancelled;
};
