#pragma once

#include <QString>
#include <QWidget>

// One screen of the window. Its host shows it pushed on the navigation stack, over the whole
// window, or in a sheet; the screen only asks to go (dismissRequested) and says when it must
// go by itself: when the application goes to the background, and when the vault locks.
class Screen : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString title READ title WRITE setTitle NOTIFY titleChanged)
    Q_PROPERTY(QString summary READ summary WRITE setSummary NOTIFY summaryChanged)
public:
    explicit Screen(QWidget *parent = nullptr);

    QString title() const { return m_title; }
    void setTitle(const QString &title);
    // What the screen is for, in a sentence or two of its own text: a sheet showing the screen
    // is announced to screen readers by its title and this.
    QString summary() const { return m_summary; }
    void setSummary(const QString &summary);

    // The automatic dismissal: the screen closes when the application goes to the background.
    bool dismissesOnBackground() const { return m_dismissesOnBackground; }
    void setDismissesOnBackground(bool dismisses) { m_dismissesOnBackground = dismisses; }
    // The screen shows vault content: it closes when the vault locks.
    bool dismissesOnLock() const { return m_dismissesOnLock; }
    void setDismissesOnLock(bool dismisses) { m_dismissesOnLock = dismisses; }
    // Whether the user may close the screen's sheet by Escape or the window's close button; a
    // screen that must be answered, or is busy, turns it off.
    bool dismissesInteractively() const { return m_dismissesInteractively; }
    void setDismissesInteractively(bool dismisses) { m_dismissesInteractively = dismisses; }

Q_SIGNALS:
    void titleChanged();
    void summaryChanged();
    void dismissRequested();

private:
    QString m_title;
    QString m_summary;
    bool m_dismissesOnBackground = false;
    bool m_dismissesOnLock = false;
    bool m_dismissesInteractively = true;
};
