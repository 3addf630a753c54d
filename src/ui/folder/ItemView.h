#pragma once

#include <QStyledItemDelegate>

class FolderGrid;
class SelectedItemManager;

// A folder tile: the folder picture, the decoded picture (a neutral square until it arrives,
// "x.circle" when it cannot be decrypted) or the document picture, the name under it, and the
// selection badge in selection mode.
class ItemView : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit ItemView(const FolderGrid *grid, QObject *parent = nullptr);

    void setSelection(const SelectedItemManager *selection) { m_selection = selection; }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    void paintPicture(QPainter *painter, const QRect &area, const QModelIndex &index,
                      const QStyleOptionViewItem &option) const;

    const FolderGrid *m_grid;
    const SelectedItemManager *m_selection = nullptr;
};
