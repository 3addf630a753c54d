#pragma once

#include "storage/PictureHeader.h"

#include <QMutex>
#include <QSize>
#include <QWaitCondition>

#include <optional>

// The memory picture decoding may take. A file of a few hundred bytes can declare a picture of
// 20000 × 20000 pixels whose decoder allocates gigabytes (libjpeg's coefficients of a progressive
// JPEG are not counted by Qt's allocation limit, which only counts the result), and several tiles
// decode at once. So each decode is priced from the picture's declared size before it starts:
// one over the pixel or byte limit is refused (it shows like an undecodable one), and the others
// wait until their bytes fit beside the decodes under way (tiles, pager, previews alike).
class DecodeBudget
{
public:
    // About 268 megapixels: far beyond any camera's photo, short of the decompression bombs.
    static constexpr qint64 maxPixels = qint64(1) << 28;
    // What one decode may hold (a 48-megapixel HEIC photo fits), and all of them at once.
    static constexpr qint64 maxPictureBytes = qint64(512) * 1024 * 1024;
    static constexpr qint64 capacity = maxPictureBytes;

    // The bytes decoding the picture, then scaling it to target (invalid: kept at its own size),
    // holds at most, its fileBytes included; nothing when it is refused (no declared size, too
    // many pixels or too many bytes).
    static std::optional<qint64> cost(const PictureHeader &header, QSize target, qint64 fileBytes);

    // Held while a decode runs; gives its bytes back when it goes.
    class Reservation
    {
    public:
        Reservation(Reservation &&other) noexcept;
        ~Reservation();
        Reservation(const Reservation &) = delete;
        Reservation &operator=(const Reservation &) = delete;
        Reservation &operator=(Reservation &&) = delete;

    private:
        friend class DecodeBudget;
        Reservation(DecodeBudget *budget, qint64 bytes) : m_budget(budget), m_bytes(bytes) {}
        DecodeBudget *m_budget;
        qint64 m_bytes;
    };

    static DecodeBudget &shared();
    explicit DecodeBudget(qint64 bytes = DecodeBudget::capacity) : m_capacity(bytes) {}

    // Waits until bytes (at most the capacity) fit beside the reservations held.
    Reservation reserve(qint64 bytes);
    qint64 inUse() const;
    // The most held at once since the last resetPeak().
    qint64 peak() const;
    void resetPeak();

private:
    void release(qint64 bytes);

    const qint64 m_capacity;
    mutable QMutex m_mutex;
    QWaitCondition m_released;
    qint64 m_inUse = 0;
    qint64 m_peak = 0;
};
