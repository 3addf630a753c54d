#include "PrivateBus.h"

#include <QFile>

#include <csignal>
#include <sys/prctl.h>

namespace {
const char BusConfig[] = R"(<busconfig><type>session</type><listen>%1</listen><auth>EXTERNAL</auth>
    <policy context="default"><allow send_destination="*"/><allow receive_sender="*"/><allow own="*"/>
    </policy></busconfig>)";
} // namespace

PrivateBus::PrivateBus() : m_address(QStringLiteral("unix:path=") + m_folder.filePath(QStringLiteral("bus")))
{}

PrivateBus::~PrivateBus()
{
    m_daemon.terminate();
    m_daemon.waitForFinished();
}

bool PrivateBus::start()
{
    QFile config(m_folder.filePath(QStringLiteral("bus.conf")));
    if (!config.open(QIODevice::WriteOnly))
        return false;
    config.write(QString::fromLatin1(BusConfig).arg(m_address).toUtf8());
    config.close();
    // A test that crashes must not leave its daemon behind.
    m_daemon.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--config-file=") + config.fileName(), QStringLiteral("--nofork"),
                    QStringLiteral("--print-address")});
    // The address is printed once the daemon listens.
    return m_daemon.waitForStarted() && m_daemon.waitForReadyRead(10000);
}
