#include "ui/preview/CentredPage.h"

#include <QVBoxLayout>

CentredPage::CentredPage(QWidget *content, Width width, QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 32, 32, 32);
    layout->addStretch();
    layout->addWidget(content, 0, width == Width::natural ? Qt::AlignHCenter : Qt::Alignment());
    layout->addStretch();
}
