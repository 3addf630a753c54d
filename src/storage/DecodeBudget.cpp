#include "storage/DecodeBudget.h"

#include <QMutexLocker>

#include <utility>

#include <algorithm>

namespace {
using Format = PictureHeader::Format;

qint64 area(QSize size)
{
    return size.isValid() ? qint64(size.width()) * size.height() : 0;
}

// What Qt's JPEG reader asks libjpeg for when told a smaller size: a reduction of 1/2, 1/4 or
// 1/8 while decoding, the rest by scaling the result.
int jpegReduction(QSize size, QSize target)
{
    if (!target.isValid() || target.width() >= size.width())
        return 1;
    const int ratio =
        std::min(size.width() / std::max(1, target.width()), size.height() / std::max(1, target.height()));
    return ratio < 2 ? 1 : ratio < 4 ? 2 : ratio < 8 ? 4 : 8;
}
} // namespace

std::optional<qint64> DecodeBudget::cost(const PictureHeader &header, QSize target, qint64 fileBytes)
{
    const QSize size = header.size;
    if (!size.isValid() || area(size) > maxPixels)
        return std::nullopt;
    qint64 bytes = fileBytes + (target.isValid() ? area(target) * 4 : 0);
    switch (header.format) {
    case Format::jpeg: {
        // Decoded reduced, turned upright (a copy), then scaled; coefficients as the file needs;
        // a few rows of every component.
        const int reduction = jpegReduction(size, target);
        const qint64 reduced = qint64((size.width() + reduction - 1) / reduction) *
                               ((size.height() + reduction - 1) / reduction) * 4;
        bytes += 2 * reduced + header.wholePictureBytes + qint64(size.width()) * 64;
        break;
    }
    case Format::heif:
        // libheif's planes, its interleaved copy, and the copy in a format that paints fast.
        bytes += area(size) * 9;
        break;
    default:
        // Decoded whole at its own size, then turned upright or scaled (a copy); the decoder's
        // own buffers (a TIFF strip, a WebP canvas) stay within the same again.
        bytes += 2 * area(size) * header.bytesPerPixel;
        break;
    }
    if (bytes > maxPictureBytes)
        return std::nullopt;
    return bytes;
}

DecodeBudget::Reservation::Reservation(Reservation &&other) noexcept
    : m_budget(std::exchange(other.m_budget, nullptr)), m_bytes(other.m_bytes)
{}

DecodeBudget::Reservation::~Reservation()
{
    if (m_budget)
        m_budget->release(m_bytes);
}

DecodeBudget &DecodeBudget::shared()
{
    static DecodeBudget budget;
    return budget;
}

DecodeBudget::Reservation DecodeBudget::reserve(qint64 bytes)
{
    const qint64 wanted = std::clamp<qint64>(bytes, 0, m_capacity);
    QMutexLocker lock(&m_mutex);
    while (m_inUse + wanted > m_capacity)
        m_released.wait(&m_mutex);
    m_inUse += wanted;
    m_peak = std::max(m_peak, m_inUse);
    return Reservation(this, wanted);
}

void DecodeBudget::release(qint64 bytes)
{
    QMutexLocker lock(&m_mutex);
    m_inUse -= bytes;
    m_released.wakeAll();
}

qint64 DecodeBudget::inUse() const
{
    QMutexLocker lock(&m_mutex);
    return m_inUse;
}

qint64 DecodeBudget::peak() const
{
    QMutexLocker lock(&m_mutex);
    return m_peak;
}

void DecodeBudget::resetPeak()
{
    QMutexLocker lock(&m_mutex);
    m_peak = m_inUse;
}
