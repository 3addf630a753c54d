#pragma once

#include <QFrame>

// The help tip of the Storage screen: what each tree is for.
class StorageTip : public QFrame
{
    Q_OBJECT
public:
    explicit StorageTip(QWidget *parent = nullptr);

    static QString title();
    static QString message();
};
