#include "cli/FolderCompletion.h"

#include "cli/CommandLine.h"
#include "core/AppPaths.h"
#include "security/KeyChainHelper.h"
#include "security/PasscodeStore.h"
#include "security/SecretServiceItems.h"
#include "security/SecretWipe.h"
#include "storage/DriveManager.h"
#include "storage/FolderOperations.h"
#include "storage/ItemCollection.h"
#include "storage/StoredItem.h"

#include <QDBusConnection>
#include <QFileInfo>

using namespace std::chrono_literals;

namespace {

bool fitsOneLine(const QString &name)
{
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

} // namespace

FolderCompletion::FolderCompletion(StorageLocation location, PromptFree keyringPromptFree)
    : m_location(location), m_keyringPromptFree(std::move(keyringPromptFree))
{}

FolderCompletion FolderCompletion::onSessionBus(StorageLocation location)
{
    // A keyring that takes longer than a key press is not waited for.
    KeyChainHelper::shared().setBackend(KeyChainHelper::makeSystemBackend(2s));
    return FolderCompletion(location, [] {
        return SecretServiceItems::of(QDBusConnection::sessionBus(), KeyChainHelper::service,
                                      KeyChainHelper::account,
                                      500ms) == SecretServiceItems::Access::withoutPrompt;
    });
}

int FolderCompletion::run(QTextStream &out)
{
    // Names are shown only where the vault would open without a question to anyone: a keyring the
    // person at the desktop has unlocked. The private file serves places without a desktop.
    if (PasscodeStore::recorded() != PasscodeStore::Location::keyring || !m_keyringPromptFree())
        return CommandLine::Failure;
    if (m_location == StorageLocation::cloud && !QFileInfo(AppPaths::cloudContainer()).isDir())
        return CommandLine::Failure;
    KeyChainHelper &keyChain = KeyChainHelper::shared();
    KeyChainHelper::Lookup stored = keyChain.lookUp();
    if (stored.state != KeyChainHelper::PasscodeState::set || !stored.passcode)
        return CommandLine::Failure;
    const VaultSessionPtr session = keyChain.unlock(*stored.passcode, keyChain.lockGeneration());
    wipeSecret(*stored.passcode);
    if (!session)
        return CommandLine::Failure;
    const std::shared_ptr<DriveManager> root = FolderOperations::makeDriveManager(m_location, QString());
    root->connect();
    const ItemCollection::Listing listing =
        ItemCollection::listFolder(root, m_location, FileItemType::directory, *session);
    keyChain.lock();
    for (const StoredItemPtr &item : listing.items) {
        if (fitsOneLine(item->fullName()))
            out << item->fullName() << '\n';
    }
    out.flush();
    return CommandLine::Success;
}
