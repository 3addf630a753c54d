#pragma once

#include <QAbstractButton>

class QLabel;

// One row of the Storage screen: a label and its caption, opened by a click, Enter or Space.
class StorageLocationRow : public QAbstractButton
{
    Q_OBJECT
public:
    StorageLocationRow(const QString &label, const QString &caption, QWidget *parent = nullptr);

    void setLabel(const QString &label);
    QString caption() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QLabel *m_label;
    QLabel *m_caption;
};
