#include "ui/viewer/PhotoPageLoader.h"

#include "core/Logging.h"
#include "security/KeyChainHelper.h"
#include "storage/ImageFromDecodedData.h"
#include "storage/StoragePool.h"
#include "storage/TileThumbnailQueue.h"

#include <QCoreApplication>
#include <QPointer>

namespace {

// The tile edge of the folder grid, whose tiles stand in until the picture is ready.
constexpr int gridTilePixels = 2 * TileThumbnailQueue::defaultTileEdge;

// Never enlarged: a small picture is drawn scaled up instead.
QSize shrunkSize(const QSize &size, const QSize &box)
{
    const QSize scaled = size.scaled(box, Qt::KeepAspectRatio);
    return scaled.isEmpty() || scaled.width() >= size.width() ? size : scaled;
}

QImage shrunk(const QImage &image, const QSize &box)
{
    const QSize size = shrunkSize(image.size(), box);
    return size == image.size() ? image : image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

PhotoPageLoader::Decoded PhotoPageLoader::decode(const QUrl &url, const VaultSession &session,
                                                 const QSize &box, const std::atomic_bool *cancelled)
{
    if (cancelled->load())
        return {{}, {}, false, true};
    const ImageResult result = ImageFromDecodedData::image(url, session, true, false, cancelled);
    if (result.error && result.error->kind == ImageError::Kind::cancelled)
        return {{}, {}, false, true};
    if (result.error)
        errorMsg(QStringLiteral("Caught error ") + result.error->localizedDescription());
    if (result.image.isNull())
        return {{}, {}, true, false};
    if (cancelled->load())
        return {{}, {}, false, true};
    return {result.image, shrunk(result.image, box), false, false};
}

PhotoPageLoader::PhotoPageLoader(const QList<QUrl> &urls, VaultSessionPtr session, QObject *parent)
    : QObject(parent), m_urls(urls), m_session(std::move(session))
{
    connect(&KeyChainHelper::shared(), &KeyChainHelper::loadedKeyChanged, this,
            &PhotoPageLoader::vaultLockChanged);
}

PhotoPageLoader::~PhotoPageLoader()
{
    for (const Page &page : std::as_const(m_pages))
        if (page.cancelled)
            page.cancelled->store(true);
}

void PhotoPageLoader::setPageSize(const QSize &pixels)
{
    if (pixels == m_pageSize || pixels.isEmpty())
        return;
    m_pageSize = pixels;
    // Held pictures stay on screen until their new size arrives, mostly from the pipeline's cache.
    for (auto it = m_pages.begin(); it != m_pages.end(); ++it)
        it->generation = 0;
    startWanted();
}

void PhotoPageLoader::setCenter(int index)
{
    if (index < 0 || index >= count() || index == m_center)
        return;
    m_center = index;
    for (const int held : m_pages.keys())
        if (!isNear(held))
            drop(held);
    startWanted();
}

bool PhotoPageLoader::isNear(int index) const
{
    return m_center >= 0 && qAbs(index - m_center) <= reach;
}

QImage PhotoPageLoader::picture(int index) const
{
    return m_pages.value(index).picture;
}

QImage PhotoPageLoader::source(int index) const
{
    return m_pages.value(index).source;
}

QImage PhotoPageLoader::placeholder(int index) const
{
    return m_pages.value(index).placeholder;
}

bool PhotoPageLoader::isFailed(int index) const
{
    return m_pages.value(index).failed;
}

void PhotoPageLoader::startWanted()
{
    if (m_center < 0 || m_pageSize.isEmpty() || !m_session || !m_session->isOpen())
        return;
    // The page in view first; its neighbours only ahead of prefetching elsewhere.
    start(m_center, StoragePool::userInitiated);
    for (int distance = 1; distance <= reach; ++distance) {
        start(m_center + distance, StoragePool::utility);
        start(m_center - distance, StoragePool::utility);
    }
}

void PhotoPageLoader::start(int index, int priority)
{
    if (index < 0 || index >= count())
        return;
    const bool held = m_pages.contains(index);
    Page &page = m_pages[index];
    if (!held)
        page.placeholder =
            ImageFromDecodedData::tile(m_urls.at(index), *m_session, gridTilePixels, true).image;
    const bool current =
        !page.picture.isNull() && page.picture.size() == shrunkSize(page.source.size(), m_pageSize);
    if (page.generation != 0 || page.failed || current)
        return;
    if (page.cancelled)
        page.cancelled->store(true);
    page.cancelled = std::make_shared<std::atomic_bool>(false);
    page.generation = ++m_lastGeneration;
    const auto work = [url = m_urls.at(index), session = m_session, box = m_pageSize,
                       cancelled = page.cancelled] { return decode(url, *session, box, cancelled.get()); };
    StoragePool::runInSession(
        m_session, this, work,
        [this, index, generation = page.generation](const Decoded &decoded) {
            finished(index, generation, decoded);
        },
        &StoragePool::nothing, priority);
}

void PhotoPageLoader::finished(int index, quint64 generation, const Decoded &decoded)
{
    const auto page = m_pages.find(index);
    if (page == m_pages.end() || page->generation != generation || decoded.cancelled)
        return;
    page->generation = 0;
    page->cancelled.reset();
    page->failed = decoded.failed;
    page->source = decoded.source;
    page->picture = decoded.picture;
    Q_EMIT pageChanged(index);
}

void PhotoPageLoader::drop(int index)
{
    const Page page = m_pages.take(index);
    if (page.cancelled)
        page.cancelled->store(true);
    Q_EMIT pageChanged(index);
}

void PhotoPageLoader::dropAll()
{
    for (const int index : m_pages.keys())
        drop(index);
}

void PhotoPageLoader::vaultLockChanged()
{
    // A locked vault shows no picture.
    if (!m_session->isOpen())
        dropAll();
}
