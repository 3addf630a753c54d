#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QToolButton;

// The bar of the document viewers: "Close" leading, the title with the item's name under it in the
// middle, and the share button trailing.
class PreviewBar : public QWidget
{
    Q_OBJECT
public:
    PreviewBar(const QString &title, const QString &itemName, QWidget *parent = nullptr);

    QPushButton *closeButton() const { return m_close; }

Q_SIGNALS:
    void closeClicked();
    void shareClicked();

private:
    QWidget *makeTitle(const QString &title, const QString &itemName);

    QPushButton *m_close;
    QToolButton *m_share;
};
