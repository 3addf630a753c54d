#pragma once

#include "Screen.h"

// Stands in for the viewers of an opened file until they exist: its name and "Close".
class ItemPlaceholderView : public Screen
{
    Q_OBJECT
public:
    explicit ItemPlaceholderView(const QString &name, QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
