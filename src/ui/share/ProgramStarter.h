#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Starts outside programs (the e-mail program, say) detached from Lumisera. Tests put a recorder
// in its place, so that no test ever starts a real one. Used from the main thread only.
class ProgramStarter
{
public:
    using Starter = std::function<bool(const QString &program, const QStringList &arguments)>;

    ProgramStarter() = delete;

    // True when the program started.
    static bool startDetached(const QString &program, const QStringList &arguments);
    // An empty starter puts the real one back.
    static void setStarter(Starter starter);
};
