#include "core/ProcessHardening.h"

#include <sys/prctl.h>
#include <sys/resource.h>

bool ProcessHardening::apply()
{
    const rlimit noCore{0, 0};
    const bool noCoreFile = ::setrlimit(RLIMIT_CORE, &noCore) == 0;
    // Also keeps a crash handler (systemd-coredump, apport) from collecting the process's memory.
    const bool notDumpable = ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0) == 0;
    return noCoreFile && notDumpable;
}
