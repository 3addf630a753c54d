#include "PresenterWindow.h"

#include "ui/common/NavigationStack.h"
#include "ui/common/Presenter.h"

#include <QStackedWidget>
#include <QVBoxLayout>

PresenterWindow::PresenterWindow(QSize size) : m_navigation(new NavigationStack)
{
    auto *layers = new QStackedWidget;
    layers->addWidget(m_navigation);
    m_presenter = new Presenter(layers, m_navigation, this);
    (new QVBoxLayout(this))->addWidget(layers);
    resize(size);
    show();
}
