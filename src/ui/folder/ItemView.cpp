#include "ui/folder/ItemView.h"

#include "storage/ItemListModel.h"
#include "storage/SelectedItemManager.h"
#include "storage/StoredItem.h"
#include "ui/common/Symbols.h"
#include "ui/folder/FolderGrid.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int nameGap = 2;
constexpr int badgeEdge = 22;

QFont captionFont(const QFont &base)
{
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() * 0.85);
    return font;
}

// The pictures are the same for every tile; read once.
const QPixmap &bundled(const QString &path)
{
    static QHash<QString, QPixmap> pictures;
    auto found = pictures.find(path);
    if (found == pictures.end())
        found = pictures.insert(path, Symbols::bundledPicture(path));
    return *found;
}

void drawFitted(QPainter *painter, const QRect &area, const QPixmap &pixmap)
{
    if (pixmap.isNull())
        return;
    const QSize size = pixmap.size().scaled(area.size(), Qt::KeepAspectRatio);
    QRect target(QPoint(), size);
    target.moveCenter(area.center());
    painter->drawPixmap(target, pixmap);
}

} // namespace

ItemView::ItemView(const FolderGrid *grid, QObject *parent) : QStyledItemDelegate(parent), m_grid(grid) {}

QSize ItemView::sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const
{
    return {FolderGrid::tileEdge, FolderGrid::tileEdge};
}

void ItemView::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect tile = option.rect;
    const QFont font = captionFont(option.font);
    const int nameHeight = QFontMetrics(font).height();
    const QRect picture = tile.adjusted(4, 4, -4, -(nameHeight + nameGap + 2));
    const QRect nameArea(tile.left() + 2, picture.bottom() + nameGap, tile.width() - 4, nameHeight);

    if (option.state & QStyle::State_HasFocus) {
        QColor focus = option.palette.color(QPalette::Highlight);
        focus.setAlpha(70);
        painter->setPen(Qt::NoPen);
        painter->setBrush(focus);
        painter->drawRoundedRect(tile.adjusted(1, 1, -1, -1), 8, 8);
    }
    paintPicture(painter, picture, index, option);

    painter->setFont(font);
    painter->setPen(option.palette.color(QPalette::Text));
    const QString name = index.data(ItemListModel::FullNameRole).toString();
    painter->drawText(nameArea, Qt::AlignHCenter | Qt::AlignTop,
                      QFontMetrics(font).elidedText(name, Qt::ElideMiddle, nameArea.width()));

    if (m_selection && m_selection->isEnabled() &&
        m_selection->selectedItemIDs().contains(index.data(ItemListModel::IdRole).toString())) {
        const QRect badge(picture.right() - badgeEdge, picture.top() + 2, badgeEdge, badgeEdge);
        painter->setPen(Qt::NoPen);
        painter->setBrush(QColor(255, 255, 255));
        painter->drawEllipse(badge.adjusted(2, 2, -2, -2));
        painter->setBrush(QColor(0, 122, 255));
        painter->drawEllipse(badge.adjusted(1, 1, -1, -1));
        QPen check(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter->setPen(check);
        painter->setBrush(Qt::NoBrush);
        const QPointF c = badge.center();
        painter->drawPolyline(QList<QPointF>{c + QPointF(-5, 0), c + QPointF(-1.5, 4), c + QPointF(5.5, -4)});
    }
    painter->restore();
}

void ItemView::paintPicture(QPainter *painter, const QRect &area, const QModelIndex &index,
                            const QStyleOptionViewItem &option) const
{
    if (index.data(ItemListModel::IsFolderRole).toBool()) {
        drawFitted(painter, area, bundled(QStringLiteral(":/pictures/folder.png")));
        return;
    }
    if (index.data(ItemListModel::FileTypeRole).toString() != rawValue(StoredItem::StoredFileType::image)) {
        drawFitted(painter, area.adjusted(12, 8, -12, -8),
                   bundled(QStringLiteral(":/pictures/contentIcon.png")));
        return;
    }
    const QUrl url = index.data(ItemListModel::UrlRole).toUrl();
    const QImage image = m_grid ? m_grid->tile(url) : QImage();
    if (!image.isNull()) {
        // Cropped to a square, as a photo grid shows them.
        const QSize scaled = image.size().scaled(area.size(), Qt::KeepAspectRatioByExpanding);
        QRectF source(QPointF(), QSizeF(image.size()));
        const qreal factor = qreal(image.width()) / scaled.width();
        source.setSize(QSizeF(area.width() * factor, area.height() * factor));
        source.moveCenter(QRectF(QPointF(), QSizeF(image.size())).center());
        QPainterPath clip;
        clip.addRoundedRect(area, 6, 6);
        painter->setClipPath(clip);
        painter->drawImage(QRectF(area), image, source);
        painter->setClipping(false);
        return;
    }
    QColor neutral = option.palette.color(QPalette::Mid);
    neutral.setAlpha(90);
    painter->setPen(Qt::NoPen);
    painter->setBrush(neutral);
    painter->drawRoundedRect(area, 6, 6);
    if (m_grid && m_grid->tileFailed(url)) {
        const int edge = 40;
        QRect symbol(0, 0, edge, edge);
        symbol.moveCenter(area.center());
        Symbols::icon(QStringLiteral("x.circle")).paint(painter, symbol);
    }
}
