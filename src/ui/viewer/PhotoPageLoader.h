#pragma once

#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QSize>
#include <QUrl>
#include <atomic>
#include <memory>

#include "security/VaultSession.h"

// The pictures of the photo pager, held only for the page in view and its two neighbours, so that
// memory stays the same however many pages go by. Each is decoded on the storage pool through the
// image pipeline's thumbnail size class (a 2800-pixel long edge, read scaled by the image reader
// and kept in the pipeline's bounded cache), then shrunk there to the page's pixel size, so that a
// page paints without scaling. Pages that move out of reach are dropped, their decodes cancelled.
// Everything goes when the vault locks: nothing is decoded without the session it was made under.
// Lives on, and is only touched from, the main thread.
class PhotoPageLoader : public QObject
{
    Q_OBJECT
public:
    // Pages held on either side of the centre.
    static constexpr int reach = 1;

    PhotoPageLoader(const QList<QUrl> &urls, VaultSessionPtr session, QObject *parent = nullptr);
    ~PhotoPageLoader() override;

    int count() const { return int(m_urls.size()); }
    // The pixels a page's picture fits into; nothing is decoded before it is known.
    void setPageSize(const QSize &pixels);
    QSize pageSize() const { return m_pageSize; }
    // Holds index and its neighbours, decoding index first; drops every other page.
    void setCenter(int index);
    int center() const { return m_center; }

    // The picture at the page's size; null until decoded.
    QImage picture(int index) const;
    // The picture as decoded, larger than picture() on small screens: what a zoom shows.
    QImage source(int index) const;
    // The folder grid's tile of the picture, when the tile cache still had it.
    QImage placeholder(int index) const;
    // The picture cannot be read, decrypted or decoded.
    bool isFailed(int index) const;
    // Showing its final state: the picture, or the failure.
    bool isSharp(int index) const { return !picture(index).isNull() || isFailed(index); }
    // Pages holding anything or being decoded, in no order.
    QList<int> heldPages() const { return m_pages.keys(); }

Q_SIGNALS:
    // Something to paint changed on the page.
    void pageChanged(int index);

private:
    struct Page
    {
        QImage picture;
        QImage source;
        QImage placeholder;
        bool failed = false;
        quint64 generation = 0; // of the decode whose answer is awaited; 0 when none runs
        std::shared_ptr<std::atomic_bool> cancelled;
    };
    struct Decoded
    {
        QImage source;
        QImage picture;
        bool failed = false;
        bool cancelled = false;
    };

    // On the pool.
    static Decoded decode(const QUrl &url, const VaultSession &session, const QSize &box,
                          const std::atomic_bool *cancelled);

    bool isNear(int index) const;
    void startWanted();
    void start(int index, int priority);
    void finished(int index, quint64 generation, const Decoded &decoded);
    void drop(int index);
    void dropAll();
    void vaultLockChanged();

    const QList<QUrl> m_urls;
    const VaultSessionPtr m_session;
    QHash<int, Page> m_pages;
    QSize m_pageSize;
    int m_center = -1;
    quint64 m_lastGeneration = 0;
};
