#include "ui/about/AboutView.h"

#include "ui/about/AboutBrowser.h"
#include "ui/common/Symbols.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QToolButton>
#include <QVBoxLayout>

AboutView::AboutView(QWidget *parent) : Screen(parent), m_browser(new AboutBrowser(this))
{
    setObjectName(QStringLiteral("aboutView"));
    setTitle(tr("About"));
    setDismissesOnBackground(true);

    auto *close = new QToolButton(this);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setText(tr("Close"));
    close->setAccessibleName(tr("Close"));
    close->setIcon(Symbols::icon(QStringLiteral("xmark.circle.fill")));
    close->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    close->setShortcut(QKeySequence::Cancel);
    connect(close, &QToolButton::clicked, this, &Screen::dismissRequested);
    // Shown, the page gives the keyboard to a control a screen reader can name.
    setFocusProxy(close);

    auto *toolbar = new QHBoxLayout;
    toolbar->addStretch();
    toolbar->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(toolbar);
    layout->addWidget(m_browser, 1);
}
