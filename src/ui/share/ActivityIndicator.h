#pragma once

#include <QWidget>

class QTimer;

// A spinning wheel of spokes for work of unknown length; it turns only while shown. Screen readers
// know it as a busy progress bar, named by whoever shows it.
class ActivityIndicator : public QWidget
{
    Q_OBJECT
public:
    explicit ActivityIndicator(QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QTimer *m_timer;
    int m_step = 0;
};
