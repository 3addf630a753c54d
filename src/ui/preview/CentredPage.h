#pragma once

#include <QWidget>

// A page with one widget in its middle: the progress card, or a message. A wrapped text takes the
// whole width, so that its lines are as long as the page allows.
class CentredPage : public QWidget
{
    Q_OBJECT
public:
    enum class Width { natural, whole };

    explicit CentredPage(QWidget *content, Width width = Width::natural, QWidget *parent = nullptr);
};
