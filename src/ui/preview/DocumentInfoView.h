#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
struct PreviewContent;

// A file Lumisera cannot show itself: its name, size and type, and a button that hands it to
// the application the desktop opens such files with.
class DocumentInfoView : public QWidget
{
    Q_OBJECT
public:
    DocumentInfoView(const QString &name, const PreviewContent &content, QWidget *parent = nullptr);

    // Said under the button: why the file did not open, say.
    void setStatus(const QString &text);
    void setBusy(bool busy);

Q_SIGNALS:
    void openRequested();

private:
    QLabel *m_status;
    QPushButton *m_open;
};
