#pragma once

#include "security/VaultSession.h"
#include "storage/StoredItem.h"
#include "ui/common/Screen.h"

#include <QList>

class LocalPhotoView;
class PanZoom;
class PhotoPageLoader;
class PhotoPager;
class QLabel;
class QPushButton;
class QStackedWidget;
class QToolButton;
class ScreenPrivacyMonitor;

// The photo viewer over the pictures of a folder ("Gallery"): a pager of the pictures, starting at
// the one opened, and a double click into the zoomed picture and back. Its bar closes it and
// shares the picture in view. Covered while the screen is captured; goes when the application goes
// to the background or the vault locks.
class ScrollingPhotoView : public Screen
{
    Q_OBJECT
    Q_PROPERTY(QString scrolledToID READ scrolledToID NOTIFY scrolledToIDChanged)
    Q_PROPERTY(bool zoomable READ isZoomable NOTIFY zoomableChanged)
public:
    // items: the folder's items, of which only the pictures are shown; selectedItemId: the id of
    // the picture to show first. privacy: nothing means never covered.
    ScrollingPhotoView(const QList<StoredItemPtr> &items, const QString &selectedItemId,
                       VaultSessionPtr session, const ScreenPrivacyMonitor *privacy = nullptr,
                       QWidget *parent = nullptr);

    const QList<StoredItemPtr> &storedItems() const { return m_storedItems; }
    QString selectedItemId() const { return m_selectedItemId; }
    // The id of the picture in view; empty when there is none.
    QString scrolledToID() const { return m_scrolledToID; }
    // The picture in view.
    StoredItemPtr itemInView() const;
    StoredItemPtr zoomedItem() const { return m_zoomedItem; }
    bool isZoomable() const { return m_zoomable; }
    QString hint() const;

    PhotoPager *pager() const { return m_pager; }
    PhotoPageLoader *loader() const { return m_loader; }
    PanZoom *panZoom() const { return m_panZoom; }
    LocalPhotoView *zoomedPhoto() const { return m_photo; }

Q_SIGNALS:
    void shareRequested(const QList<StoredItemPtr> &items);
    void scrolledToIDChanged();
    void zoomableChanged();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QWidget *makeBar();
    QWidget *makeContent();
    void styleHint();
    void tryLaunchPreview();
    void scrolledTo(int index);
    void zoom(int index);
    void showZoomedPage();
    void setZoomable(bool zoomable);
    void share();

    const QList<StoredItemPtr> m_storedItems;
    const QString m_selectedItemId;
    const ScreenPrivacyMonitor *m_privacy;
    PhotoPageLoader *m_loader;
    PhotoPager *m_pager;
    LocalPhotoView *m_photo;
    PanZoom *m_panZoom;
    QStackedWidget *m_pages = nullptr;
    QLabel *m_hint = nullptr;
    QToolButton *m_share = nullptr;
    QString m_scrolledToID;
    StoredItemPtr m_zoomedItem;
    int m_zoomedIndex = -1;
    bool m_zoomable = false;
    bool m_launched = false;
};
