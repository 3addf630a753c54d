#include "ui/viewer/ScrollingPhotoView.h"

#include "core/Logging.h"
#include "ui/common/PrivacyCover.h"
#include "ui/common/Symbols.h"
#include "ui/viewer/LocalPhotoView.h"
#include "ui/viewer/PanZoom.h"
#include "ui/viewer/PhotoPageLoader.h"
#include "ui/viewer/PhotoPager.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int hintMargin = 14;
constexpr int shareIconEdge = 22;

QList<StoredItemPtr> picturesOf(const QList<StoredItemPtr> &items)
{
    QList<StoredItemPtr> pictures;
    for (const StoredItemPtr &item : items)
        if (item && item->itemType() == StoredItem::StoredItemType::file &&
            item->fileType() == StoredItem::StoredFileType::image)
            pictures.append(item);
    return pictures;
}

QList<QUrl> urlsOf(const QList<StoredItemPtr> &items)
{
    QList<QUrl> urls;
    for (const StoredItemPtr &item : items)
        urls.append(item->url());
    return urls;
}

} // namespace

ScrollingPhotoView::ScrollingPhotoView(const QList<StoredItemPtr> &items, const QString &selectedItemId,
                                       VaultSessionPtr session, const ScreenPrivacyMonitor *privacy,
                                       QWidget *parent)
    : Screen(parent), m_storedItems(picturesOf(items)), m_selectedItemId(selectedItemId), m_privacy(privacy),
      m_loader(new PhotoPageLoader(urlsOf(m_storedItems), std::move(session), this)),
      m_pager(new PhotoPager(m_loader)), m_photo(new LocalPhotoView), m_panZoom(new PanZoom(m_photo))
{
    setObjectName(QStringLiteral("scrollingPhotoView"));
    setTitle(tr("Gallery"));
    setDismissesOnBackground(true);
    setDismissesOnLock(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeBar());
    QWidget *content = makeContent();
    layout->addWidget(m_privacy ? new PrivacyCover(content, m_privacy) : content, 1);

    connect(m_pager, &PhotoPager::currentIndexChanged, this, &ScrollingPhotoView::scrolledTo);
    connect(m_pager, &PhotoPager::zoomRequested, this, &ScrollingPhotoView::zoom);
    connect(m_panZoom, &PanZoom::changed, this,
            [this] { m_photo->setZoom(m_panZoom->transform(), m_panZoom->opacity()); });
    connect(m_panZoom, &PanZoom::zoomEnded, this, [this] { setZoomable(false); });
    connect(m_loader, &PhotoPageLoader::pageChanged, this, [this](int index) {
        if (m_zoomable && index == m_zoomedIndex)
            showZoomedPage();
    });
    setZoomable(false);
}

QWidget *ScrollingPhotoView::makeBar()
{
    auto *bar = new QWidget;
    bar->setObjectName(QStringLiteral("photoBar"));
    auto *close = new QPushButton(tr("Close"));
    close->setObjectName(QStringLiteral("closeButton"));
    connect(close, &QPushButton::clicked, this, &Screen::dismissRequested);
    auto *heading = new QLabel(title());
    heading->setObjectName(QStringLiteral("photoTitle"));
    QFont titleFont = heading->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.15);
    heading->setFont(titleFont);
    heading->setAlignment(Qt::AlignCenter);
    m_share = new QToolButton;
    m_share->setObjectName(QStringLiteral("shareButton"));
    m_share->setIcon(Symbols::icon(QStringLiteral("square.and.arrow.up")));
    m_share->setIconSize(QSize(shareIconEdge, shareIconEdge));
    m_share->setAutoRaise(true);
    m_share->setToolTip(tr("Share"));
    m_share->setAccessibleName(tr("Share"));
    m_share->setEnabled(!m_storedItems.isEmpty());
    connect(m_share, &QToolButton::clicked, this, &ScrollingPhotoView::share);

    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(8, 6, 8, 6);
    row->addWidget(close);
    row->addWidget(heading, 1);
    // The title stays centred between buttons of different widths.
    row->addSpacing(qMax(0, close->sizeHint().width() - m_share->sizeHint().width()));
    row->addWidget(m_share);
    return bar;
}

QWidget *ScrollingPhotoView::makeContent()
{
    auto *content = new QWidget;
    m_pages = new QStackedWidget;
    m_pages->addWidget(m_pager);
    m_pages->addWidget(m_panZoom);
    m_hint = new QLabel;
    m_hint->setObjectName(QStringLiteral("photoHint"));
    m_hint->setAlignment(Qt::AlignCenter);
    m_hint->setAttribute(Qt::WA_TransparentForMouseEvents);
    styleHint();
    // The hint floats over the bottom of the picture.
    auto *hintColumn = new QVBoxLayout;
    hintColumn->setContentsMargins(0, 0, 0, hintMargin);
    hintColumn->addStretch();
    hintColumn->addWidget(m_hint, 0, Qt::AlignHCenter);
    auto *layout = new QGridLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pages, 0, 0);
    layout->addLayout(hintColumn, 0, 0);
    m_hint->raise();
    return content;
}

void ScrollingPhotoView::styleHint()
{
    // Over the picture, on the window's colour at 0.7.
    const QColor window = palette().color(QPalette::Window);
    m_hint->setStyleSheet(QStringLiteral("QLabel { background-color: rgba(%1, %2, %3, %4); "
                                         "border-radius: 12px; padding: 6px 14px; }")
                              .arg(window.red())
                              .arg(window.green())
                              .arg(window.blue())
                              .arg(qRound(0.7 * 255)));
}

StoredItemPtr ScrollingPhotoView::itemInView() const
{
    return m_storedItems.value(m_pager->currentIndex());
}

QString ScrollingPhotoView::hint() const
{
    return m_hint->text();
}

void ScrollingPhotoView::showEvent(QShowEvent *event)
{
    Screen::showEvent(event);
    if (m_launched)
        return;
    m_launched = true;
    tryLaunchPreview();
}

void ScrollingPhotoView::tryLaunchPreview()
{
    qsizetype index = -1;
    for (qsizetype i = 0; i < m_storedItems.size() && index < 0; ++i)
        if (m_storedItems.at(i)->id() == m_selectedItemId)
            index = i;
    if (index < 0) {
        logError(QStringLiteral("Can't find item to preview"), QStringLiteral(__FILE__),
                 QStringLiteral("tryLaunchPreview()"));
        index = 0;
    }
    m_pager->showPage(int(index));
    scrolledTo(m_pager->currentIndex());
}

void ScrollingPhotoView::scrolledTo(int index)
{
    const StoredItemPtr item = m_storedItems.value(index);
    const QString id = item ? item->id() : QString();
    if (id == m_scrolledToID)
        return;
    m_scrolledToID = id;
    Q_EMIT scrolledToIDChanged();
}

void ScrollingPhotoView::zoom(int index)
{
    m_zoomedItem = m_storedItems.value(index);
    if (!m_zoomedItem)
        return;
    m_zoomedIndex = index;
    showZoomedPage();
    m_panZoom->start(LocalPhotoView::zoomedScale);
    setZoomable(true);
}

void ScrollingPhotoView::showZoomedPage()
{
    // The picture as decoded: more pixels than the page's copy for the enlarged view.
    const QImage source = m_loader->source(m_zoomedIndex);
    m_photo->setPage({source.isNull() ? m_loader->picture(m_zoomedIndex) : source,
                      m_loader->placeholder(m_zoomedIndex), m_loader->isFailed(m_zoomedIndex)});
}

void ScrollingPhotoView::setZoomable(bool zoomable)
{
    const bool changed = zoomable != m_zoomable;
    m_zoomable = zoomable;
    if (!zoomable) {
        m_zoomedItem.reset();
        m_zoomedIndex = -1;
        m_photo->setPage({});
    }
    QWidget *page = zoomable ? static_cast<QWidget *>(m_panZoom) : m_pager;
    const bool hadFocus = m_pages->currentWidget() && m_pages->currentWidget()->hasFocus();
    m_pages->setCurrentWidget(page);
    setFocusProxy(page);
    if (hadFocus)
        page->setFocus();
    m_hint->setText(zoomable ? tr("Pan and zoom, double tap to reset") : tr("Double tap to zoom"));
    if (changed)
        Q_EMIT zoomableChanged();
}

void ScrollingPhotoView::share()
{
    const StoredItemPtr item = m_zoomable ? m_zoomedItem : itemInView();
    if (item)
        Q_EMIT shareRequested({item});
}

void ScrollingPhotoView::changeEvent(QEvent *event)
{
    Screen::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && m_hint)
        styleHint();
}

void ScrollingPhotoView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Escape)
        return Screen::keyPressEvent(event);
    if (m_zoomable)
        setZoomable(false);
    else
        Q_EMIT dismissRequested();
}
