#include "ui/common/NavigationStack.h"

#include "ui/common/Screen.h"
#include "ui/common/Symbols.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QShortcut>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

NavigationStack::NavigationStack(QWidget *parent)
    : QWidget(parent), m_header(new QWidget(this)), m_back(new QToolButton(m_header)),
      m_title(new QLabel(m_header)), m_pages(new QStackedWidget(this))
{
    m_back->setObjectName(QStringLiteral("navigationBack"));
    m_back->setText(tr("Back"));
    m_back->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_back->setAutoRaise(true);
    m_back->setAccessibleName(tr("Back"));
    m_title->setObjectName(QStringLiteral("navigationTitle"));
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.15);
    m_title->setFont(titleFont);
    m_title->setAlignment(Qt::AlignCenter);

    auto *header = new QHBoxLayout(m_header);
    header->setContentsMargins(8, 6, 8, 6);
    header->addWidget(m_back, 0);
    header->addWidget(m_title, 1);
    header->addSpacing(m_back->sizeHint().width());

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_header);
    layout->addWidget(m_pages, 1);

    connect(m_back, &QToolButton::clicked, this, [this] { dismiss(top()); });
    auto *backKey = new QShortcut(QKeySequence::Back, this);
    connect(backKey, &QShortcut::activated, this, [this] { dismiss(top()); });
    m_header->hide();
}

void NavigationStack::setRoot(Screen *root)
{
    Q_ASSERT(m_screens.isEmpty());
    m_screens.append(root);
    m_pages->addWidget(root);
    showTop();
}

void NavigationStack::push(Screen *screen)
{
    m_screens.append(screen);
    m_pages->addWidget(screen);
    connect(screen, &Screen::dismissRequested, this, [this, screen] { dismiss(screen); });
    connect(screen, &Screen::titleChanged, this, [this] { showTop(); });
    showTop();
}

void NavigationStack::dismiss(Screen *screen)
{
    const qsizetype index = m_screens.indexOf(screen);
    if (index <= 0)
        return;
    while (m_screens.size() > index) {
        Screen *gone = m_screens.takeLast();
        m_pages->removeWidget(gone);
        gone->deleteLater();
    }
    showTop();
}

Screen *NavigationStack::top() const
{
    return m_screens.isEmpty() ? nullptr : m_screens.last();
}

QList<Screen *> NavigationStack::screens() const
{
    return m_screens;
}

void NavigationStack::showTop()
{
    Screen *current = top();
    if (!current)
        return;
    m_pages->setCurrentWidget(current);
    // Looked up in the icon theme only when first needed: the look-up reads the theme's index,
    // which the main screen's first frame must not wait for.
    if (m_screens.size() > 1 && m_back->icon().isNull())
        m_back->setIcon(Symbols::icon(QStringLiteral("arrowtriangle.left.fill")));
    m_header->setVisible(m_screens.size() > 1);
    m_title->setText(current->title());
    Q_EMIT topChanged(current);
}
