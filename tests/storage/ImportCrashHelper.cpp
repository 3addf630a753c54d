// Imports a file (the second argument) into the on-device folder "Trips" under the name given as
// first argument, so that a test can kill it in the middle of the import.
#include "security/VaultSession.h"
#include "storage/DriveManager.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 3)
        return 2;
    const VaultSessionPtr session = VaultSession::open(QStringLiteral("passcode"));
    DriveManager manager(StorageLocation::local, QStringLiteral("Trips"));
    manager.connect();
    return manager.importFile(*session, QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[1])) ? 0
                                                                                                          : 1;
}
