#pragma once

#include <QFrame>

// The card shown while items are decrypted for a share: a spinning indicator and "Preparing item...".
class PreparingFileProgress : public QFrame
{
    Q_OBJECT
public:
    explicit PreparingFileProgress(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
