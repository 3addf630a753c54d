#include "ui/common/Presenter.h"

#include "ui/common/NavigationStack.h"
#include "ui/common/Screen.h"
#include "ui/common/StandardShortcut.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QShortcut>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

// Escape and the close button both end in reject(); the screen decides whether they may.
class SheetDialog : public QDialog
{
public:
    SheetDialog(Screen *screen, Presenter *presenter, QWidget *parent) : QDialog(parent), m_screen(screen)
    {
        // A sheet is a window of its own: the main window's keys do not reach into it.
        QShortcut *close =
            StandardShortcut::make(QKeySequence::Close, QKeySequence(Qt::CTRL | Qt::Key_W), this);
        connect(close, &QShortcut::activated, this, &SheetDialog::reject);
        QShortcut *quit =
            StandardShortcut::make(QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q), this);
        connect(quit, &QShortcut::activated, presenter, &Presenter::quitRequested);
    }
    void reject() override
    {
        if (!m_screen || m_screen->dismissesInteractively())
            QDialog::reject();
    }

private:
    QPointer<Screen> m_screen;
};

} // namespace

Presenter::Presenter(QStackedWidget *layers, NavigationStack *navigation, QWidget *window)
    : QObject(window), m_layers(layers), m_navigation(navigation), m_window(window)
{}

void Presenter::presenting(Screen *screen)
{
    m_order.removeIf([](const QPointer<Screen> &shown) { return shown.isNull(); });
    m_order.append(screen);
}

QList<Screen *> Presenter::inOrder() const
{
    const QList<Screen *> shown = presented();
    QList<Screen *> ordered;
    for (const QPointer<Screen> &screen : m_order) {
        if (screen && shown.contains(screen.data()))
            ordered.append(screen.data());
    }
    return ordered;
}

void Presenter::push(Screen *screen)
{
    presenting(screen);
    m_navigation->push(screen);
    connect(screen, &QObject::destroyed, this, [this, screen] { Q_EMIT dismissed(screen); });
}

void Presenter::cover(Screen *screen)
{
    screen->setAutoFillBackground(true); // a cover hides what is under it
    presenting(screen);
    m_covers.append(screen);
    m_layers->addWidget(screen);
    m_layers->setCurrentWidget(screen);
    connect(screen, &Screen::dismissRequested, this, [this, screen] { dismiss(screen); });
    screen->setFocus();
}

void Presenter::sheet(Screen *screen)
{
    presenting(screen);
    auto *dialog = new SheetDialog(screen, this, m_window);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setObjectName(screen->objectName() + QStringLiteral("Sheet"));
    // Named and described before it shows: a screen reader announces both as the sheet opens.
    const auto describe = [dialog, screen] {
        dialog->setWindowTitle(screen->title());
        dialog->setAccessibleName(screen->title());
        dialog->setAccessibleDescription(screen->summary());
    };
    describe();
    connect(screen, &Screen::titleChanged, dialog, describe);
    connect(screen, &Screen::summaryChanged, dialog, describe);
    auto *layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(screen);
    m_sheets.append(dialog);
    connect(screen, &Screen::dismissRequested, this, [this, screen] { dismiss(screen); });
    connect(dialog, &QDialog::rejected, this, [this, screen] { dismiss(screen); });
    dialog->open();
}

void Presenter::dismiss(Screen *screen)
{
    closeOwnedWindows(screen);
    if (m_covers.removeOne(screen)) {
        m_layers->removeWidget(screen);
        m_layers->setCurrentIndex(m_layers->count() - 1);
        forget(screen);
        return;
    }
    for (QDialog *dialog : std::as_const(m_sheets)) {
        if (screen->parent() == dialog) {
            m_sheets.removeOne(dialog);
            dialog->hide();
            dialog->deleteLater();
            Q_EMIT dismissed(screen);
            return;
        }
    }
    m_navigation->dismiss(screen);
}

void Presenter::forget(Screen *screen)
{
    screen->hide();
    screen->deleteLater();
    Q_EMIT dismissed(screen);
}

QList<Screen *> Presenter::presented() const
{
    QList<Screen *> screens = m_navigation->screens().mid(1);
    screens += m_covers;
    for (QDialog *dialog : m_sheets)
        screens += dialog->findChildren<Screen *>(QString(), Qt::FindDirectChildrenOnly);
    return screens;
}

Screen *Presenter::front() const
{
    if (!m_sheets.isEmpty()) {
        const auto screens =
            m_sheets.constLast()->findChildren<Screen *>(QString(), Qt::FindDirectChildrenOnly);
        if (!screens.isEmpty())
            return screens.constFirst();
    }
    if (!m_covers.isEmpty())
        return m_covers.constLast();
    const QList<Screen *> pushed = m_navigation->screens();
    return pushed.size() > 1 ? pushed.constLast() : nullptr;
}

bool Presenter::closeFront()
{
    Screen *shown = front();
    if (!shown || !shown->dismissesInteractively())
        return false;
    dismiss(shown);
    return true;
}

void Presenter::applicationWentToBackground()
{
    dismissWhere([](Screen *screen) { return screen->dismissesOnBackground(); });
}

void Presenter::vaultLocked()
{
    // A menu would act on the vault once chosen, and its nested loop would outlive its screen.
    for (int open = 0; open < 16 && QApplication::activePopupWidget(); ++open)
        QApplication::activePopupWidget()->close();
    const QList<Screen *> ordered = inOrder();
    const auto first = std::find_if(ordered.cbegin(), ordered.cend(),
                                    [](const Screen *screen) { return screen->dismissesOnLock(); });
    const QList<Screen *> afterFirst =
        first == ordered.cend() ? QList<Screen *>() : QList<Screen *>(first, ordered.cend());
    dismissWhere(
        [&afterFirst](Screen *screen) { return screen->dismissesOnLock() || afterFirst.contains(screen); });
}

void Presenter::closeOwnedWindows(Screen *screen)
{
    for (QWidget *child : screen->findChildren<QWidget *>()) {
        if (child->isWindow() && child->isVisible())
            child->hide();
    }
}

void Presenter::dismissWhere(const std::function<bool(Screen *)> &condition)
{
    // From the top down, so that a pushed screen takes the ones above it along once.
    const QList<Screen *> screens = presented();
    for (auto it = screens.crbegin(); it != screens.crend(); ++it) {
        if (condition(*it) && presented().contains(*it))
            dismiss(*it);
    }
}
