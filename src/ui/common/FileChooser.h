#pragma once

#include <QDBusObjectPath>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariantMap>

#include <functional>

class QDBusPendingCallWatcher;
class QFileDialog;
class QWidget;

// The desktop's own file chooser, always asynchronous: the XDG desktop portal's where one answers
// on the session bus, Qt's platform dialog otherwise. The portal's chooser is another program's
// window, so while any chooser is open (anyOpen()) focus leaving Lumisera is expected; closeAll()
// shuts them when the vault locks, and an answer that comes later is dropped.
class FileChooser : public QObject
{
    Q_OBJECT
public:
    enum class Kind { files, folder };
    struct Options
    {
        Kind kind = Kind::files;
        QString title;
        QString folder;          // where the chooser starts
        QStringList nameFilters; // Qt's form: "Images (*.png *.jpg)"; the last one is selected
        QString acceptLabel;
        QString dialogName; // the Qt dialog's object name, by which tests find it
    };

    // The chooser belongs to parent's window and goes with it.
    explicit FileChooser(QWidget *parent);
    ~FileChooser() override;
    FileChooser(const FileChooser &) = delete;
    FileChooser &operator=(const FileChooser &) = delete;

    void open(const Options &options);
    // Shuts the chooser without an answer.
    void close();
    bool isOpen() const { return m_open; }

    static bool anyOpen();
    static void closeAll();
    // then runs once, when no chooser is open any more (at once if none is), unless context has gone.
    static void whenAllClosed(QObject *context, std::function<void()> then);

Q_SIGNALS:
    // Local paths; empty when the person cancelled. Never after close().
    void finished(const QStringList &paths);

private Q_SLOTS:
    void portalResponded(uint response, const QVariantMap &results);

private:
    void openPortal();
    void portalCalled(QDBusPendingCallWatcher *call);
    void followRequest(const QString &path);
    void openDialog();
    void finish(const QStringList &paths);
    void setOpen(bool open);
    QString parentWindow() const;
    QVariantMap portalOptions(const QString &token) const;

    QWidget *m_parent;
    Options m_options;
    bool m_open = false;
    QString m_requestPath;
    QPointer<QFileDialog> m_dialog;
};
