// Imports a file (the second argument) into the on-device folder "Trips" under the name given as
// first argument, so that a test can kill it in the middle of the import.
#include "DriveManager.h"
#include "InMemoryCredentialBackend.h"
#include "KeyChainHelper.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 3)
        return 2;
    KeyChainHelper::shared().setBackend(std::make_unique<InMemoryCredentialBackend>());
    KeyChainHelper::shared().saveKey(QStringLiteral("passcode"));
    DriveManager manager(StorageLocation::local, QStringLiteral("Trips"));
    manager.connect();
    return manager.importFile(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
