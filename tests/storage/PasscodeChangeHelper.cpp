// Changes the passcode of the vault under the inherited home from the first argument to the
// second, or resumes the change a killed run left, so that a test can kill it at any moment.
// Exit 0 when the change finished, 1 otherwise.
#include "security/InMemoryCredentialBackend.h"
#include "security/KeyChainHelper.h"
#include "storage/PasscodeChange.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 3)
        return 2;
    const QString from = QString::fromLocal8Bit(argv[1]);
    const QString to = QString::fromLocal8Bit(argv[2]);
    KeyChainHelper &keys = KeyChainHelper::shared();
    keys.setBackend(std::make_unique<InMemoryCredentialBackend>());
    keys.saveKey(from);
    QString error;
    std::unique_ptr<PasscodeChange> change;
    if (PasscodeChangeJournal::exists()) {
        std::optional<PasscodeChangeJournal> journal = PasscodeChangeJournal::open(error);
        if (!journal || !journal->verifies(to))
            return 2;
        change = std::make_unique<PasscodeChange>(std::move(*journal), from, to, keys);
    } else {
        change = PasscodeChange::start(from, to, keys, error);
    }
    if (!change)
        return 1;
    return change->run().outcome == PasscodeChange::Outcome::finished ? 0 : 1;
}
