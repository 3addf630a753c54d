#pragma once

#include <QFrame>

class QLabel;
class QProgressBar;
class QPushButton;

// The card of the delete dialogs: "Warning", what will be lost, and Cancel beside the red
// confirming button; while the deletion runs, a red progress line in place of the buttons.
class WarningCard : public QFrame
{
    Q_OBJECT
public:
    WarningCard(const QString &text, const QString &confirmText, bool boldButtons, QWidget *parent = nullptr);

    QPushButton *cancelButton() const { return m_cancel; }
    QPushButton *confirmButton() const { return m_confirm; }
    // What will be lost, as the card says it.
    QString text() const { return m_text; }
    // The progress line, named by its label for screen readers.
    void showProgress(const QString &label);

Q_SIGNALS:
    void cancelled();
    void confirmed();

protected:
    void changeEvent(QEvent *event) override;

private:
    void paintRed();

    QPushButton *m_cancel;
    QPushButton *m_confirm;
    QWidget *m_buttons;
    QWidget *m_progress;
    QLabel *m_progressLabel;
    QProgressBar *m_bar;
    const QString m_text;
};
