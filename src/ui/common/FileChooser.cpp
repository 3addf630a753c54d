#include "ui/common/FileChooser.h"

#include "core/Logging.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QUrl>
#include <QWidget>

#include <utility>
#include <vector>

namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString ChooserInterface = QStringLiteral("org.freedesktop.portal.FileChooser");
const QString RequestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString Response = QStringLiteral("Response");
// A portal that is installed but cannot start (no backend) must not leave the person waiting.
constexpr int PortalCallTimeoutMs = 5000;

enum PortalResponse : uint { success = 0 };

// The portal's filters, a(sa(us)): a name and its patterns, 0 marking a glob.
struct PortalPattern
{
    uint kind = 0;
    QString pattern;
};
struct PortalFilter
{
    QString name;
    QList<PortalPattern> patterns;
};

QDBusArgument &operator<<(QDBusArgument &argument, const PortalPattern &pattern)
{
    argument.beginStructure();
    argument << pattern.kind << pattern.pattern;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, PortalPattern &pattern)
{
    argument.beginStructure();
    argument >> pattern.kind >> pattern.pattern;
    argument.endStructure();
    return argument;
}

QDBusArgument &operator<<(QDBusArgument &argument, const PortalFilter &filter)
{
    argument.beginStructure();
    argument << filter.name << filter.patterns;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, PortalFilter &filter)
{
    argument.beginStructure();
    argument >> filter.name >> filter.patterns;
    argument.endStructure();
    return argument;
}

} // namespace

Q_DECLARE_METATYPE(PortalPattern)
Q_DECLARE_METATYPE(PortalFilter)

namespace {

// "Pictures (*.png *.jpg)" as the portal takes it.
PortalFilter portalFilter(const QString &nameFilter)
{
    PortalFilter filter;
    const qsizetype open = nameFilter.lastIndexOf(u'(');
    filter.name = nameFilter.left(open).trimmed();
    const QString globs = nameFilter.mid(open + 1).chopped(nameFilter.endsWith(u')') ? 1 : 0);
    for (const QString &glob : globs.split(u' ', Qt::SkipEmptyParts))
        filter.patterns.append({0, glob});
    return filter;
}

void registerPortalTypes()
{
    static const bool registered = [] {
        qDBusRegisterMetaType<PortalPattern>();
        qDBusRegisterMetaType<QList<PortalPattern>>();
        qDBusRegisterMetaType<PortalFilter>();
        qDBusRegisterMetaType<QList<PortalFilter>>();
        return true;
    }();
    Q_UNUSED(registered);
}

QList<FileChooser *> &openChoosers()
{
    static QList<FileChooser *> choosers;
    return choosers;
}

std::vector<std::pair<QPointer<QObject>, std::function<void()>>> &allClosedWaiters()
{
    static std::vector<std::pair<QPointer<QObject>, std::function<void()>>> waiters;
    return waiters;
}

void runAllClosedWaiters()
{
    const auto waiters = std::exchange(allClosedWaiters(), {});
    for (const auto &[context, then] : waiters)
        if (context)
            then();
}

// The path the portal gives the request, known before the call so that no answer is missed.
QString expectedRequestPath(const QDBusConnection &bus, const QString &token)
{
    QString sender = bus.baseService().mid(1);
    sender.replace(u'.', u'_');
    return PortalPath + QStringLiteral("/request/") + sender + u'/' + token;
}

QStringList localPaths(const QStringList &uris)
{
    QStringList paths;
    for (const QString &uri : uris) {
        const QUrl url(uri);
        if (url.isLocalFile())
            paths << url.toLocalFile();
        else
            logInfo(QStringLiteral("the file chooser answered with a location that is not a local file"));
    }
    return paths;
}

} // namespace

FileChooser::FileChooser(QWidget *parent) : QObject(parent), m_parent(parent) {}

FileChooser::~FileChooser()
{
    close();
}

bool FileChooser::anyOpen()
{
    return !openChoosers().isEmpty();
}

void FileChooser::closeAll()
{
    const QList<FileChooser *> choosers = openChoosers();
    for (FileChooser *chooser : choosers)
        chooser->close();
}

void FileChooser::whenAllClosed(QObject *context, std::function<void()> then)
{
    if (!anyOpen()) {
        then();
        return;
    }
    allClosedWaiters().emplace_back(context, std::move(then));
}

void FileChooser::open(const Options &options)
{
    close();
    m_options = options;
    setOpen(true);
    openPortal();
}

void FileChooser::close()
{
    if (!m_open)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!m_requestPath.isEmpty()) {
        bus.disconnect(PortalService, m_requestPath, RequestInterface, Response, this,
                       SLOT(portalResponded(uint, QVariantMap)));
        bus.send(QDBusMessage::createMethodCall(PortalService, m_requestPath, RequestInterface,
                                                QStringLiteral("Close")));
        m_requestPath.clear();
    }
    if (m_dialog) {
        m_dialog->disconnect(this);
        m_dialog->close();
    }
    setOpen(false);
}

void FileChooser::openPortal()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        openDialog();
        return;
    }
    const QString token = QStringLiteral("lumisera%1").arg(QRandomGenerator::global()->generate());
    followRequest(expectedRequestPath(bus, token));
    QDBusMessage call = QDBusMessage::createMethodCall(PortalService, PortalPath, ChooserInterface,
                                                       QStringLiteral("OpenFile"));
    call << parentWindow() << m_options.title << portalOptions(token);
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, PortalCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &FileChooser::portalCalled);
}

void FileChooser::portalCalled(QDBusPendingCallWatcher *call)
{
    call->deleteLater();
    const QDBusPendingReply<QDBusObjectPath> reply = *call;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (reply.isError()) {
        if (!m_open)
            return;
        bus.disconnect(PortalService, m_requestPath, RequestInterface, Response, this,
                       SLOT(portalResponded(uint, QVariantMap)));
        // A portal that answered too late may still show its chooser: it goes, Qt's dialog stays.
        if (reply.error().type() == QDBusError::NoReply || reply.error().type() == QDBusError::Timeout)
            bus.send(QDBusMessage::createMethodCall(PortalService, m_requestPath, RequestInterface,
                                                    QStringLiteral("Close")));
        m_requestPath.clear();
        logInfo(QStringLiteral("no desktop portal chooser, Qt's dialog instead: ") + reply.error().message());
        openDialog();
        return;
    }
    const QString path = reply.value().path();
    // Closed while the call was on its way: the chooser the portal has just opened goes too.
    if (!m_open) {
        bus.send(
            QDBusMessage::createMethodCall(PortalService, path, RequestInterface, QStringLiteral("Close")));
        return;
    }
    if (path != m_requestPath) {
        bus.disconnect(PortalService, m_requestPath, RequestInterface, Response, this,
                       SLOT(portalResponded(uint, QVariantMap)));
        followRequest(path);
    }
}

void FileChooser::followRequest(const QString &path)
{
    m_requestPath = path;
    QDBusConnection::sessionBus().connect(PortalService, path, RequestInterface, Response, this,
                                          SLOT(portalResponded(uint, QVariantMap)));
}

void FileChooser::portalResponded(uint response, const QVariantMap &results)
{
    if (!m_open || m_requestPath.isEmpty())
        return;
    QDBusConnection::sessionBus().disconnect(PortalService, m_requestPath, RequestInterface, Response, this,
                                             SLOT(portalResponded(uint, QVariantMap)));
    m_requestPath.clear();
    finish(response == PortalResponse::success
               ? localPaths(results.value(QStringLiteral("uris")).toStringList())
               : QStringList());
}

void FileChooser::openDialog()
{
    auto *dialog = new QFileDialog(m_parent, m_options.title, m_options.folder);
    dialog->setObjectName(m_options.dialogName);
    if (m_options.kind == Kind::folder) {
        dialog->setFileMode(QFileDialog::Directory);
        dialog->setOption(QFileDialog::ShowDirsOnly);
    } else {
        dialog->setFileMode(QFileDialog::ExistingFiles);
    }
    if (!m_options.nameFilters.isEmpty()) {
        dialog->setNameFilters(m_options.nameFilters);
        dialog->selectNameFilter(m_options.nameFilters.constLast());
    }
    if (!m_options.acceptLabel.isEmpty())
        dialog->setLabelText(QFileDialog::Accept, m_options.acceptLabel);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::finished, this, [this, dialog](int result) {
        finish(result == QDialog::Accepted ? dialog->selectedFiles() : QStringList());
    });
    m_dialog = dialog;
    dialog->open();
}

void FileChooser::finish(const QStringList &paths)
{
    if (!m_open)
        return;
    m_dialog = nullptr;
    setOpen(false);
    Q_EMIT finished(paths);
}

void FileChooser::setOpen(bool open)
{
    m_open = open;
    if (open) {
        openChoosers().append(this);
        return;
    }
    openChoosers().removeAll(this);
    if (openChoosers().isEmpty())
        runAllClosedWaiters();
}

// The portal puts its chooser over Lumisera's window; on X11 the window's id names it.
QString FileChooser::parentWindow() const
{
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !m_parent)
        return {};
    return QStringLiteral("x11:%1").arg(m_parent->window()->winId(), 0, 16);
}

QVariantMap FileChooser::portalOptions(const QString &token) const
{
    QVariantMap options{{QStringLiteral("handle_token"), token}, {QStringLiteral("modal"), true}};
    if (m_options.kind == Kind::folder)
        options.insert(QStringLiteral("directory"), true);
    else
        options.insert(QStringLiteral("multiple"), true);
    if (!m_options.acceptLabel.isEmpty())
        options.insert(QStringLiteral("accept_label"), m_options.acceptLabel);
    if (!m_options.folder.isEmpty()) {
        QByteArray folder = QFile::encodeName(m_options.folder);
        folder.append('\0'); // the portal takes a C string
        options.insert(QStringLiteral("current_folder"), folder);
    }
    if (!m_options.nameFilters.isEmpty()) {
        registerPortalTypes();
        QList<PortalFilter> filters;
        for (const QString &nameFilter : m_options.nameFilters)
            filters.append(portalFilter(nameFilter));
        options.insert(QStringLiteral("current_filter"), QVariant::fromValue(filters.constLast()));
        options.insert(QStringLiteral("filters"), QVariant::fromValue(filters));
    }
    return options;
}
