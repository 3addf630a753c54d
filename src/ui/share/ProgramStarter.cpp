#include "ui/share/ProgramStarter.h"

#include <QProcess>

namespace {

ProgramStarter::Starter &replacement()
{
    static ProgramStarter::Starter starter;
    return starter;
}

} // namespace

bool ProgramStarter::startDetached(const QString &program, const QStringList &arguments)
{
    if (const Starter &starter = replacement())
        return starter(program, arguments);
    return QProcess::startDetached(program, arguments);
}

void ProgramStarter::setStarter(Starter starter)
{
    replacement() = std::move(starter);
}
