#pragma once

#include "cli/CommandLine.h"
#include "cli/VaultArguments.h"
#include "security/VaultSession.h"
#include "storage/ItemCollection.h"
#include "storage/StorageLocation.h"
#include "storage/StoredItem.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QTextStream>
#include <functional>
#include <memory>
#include <optional>

class DriveManager;
class PasscodePrompt;

// The vault subcommands of lumisera-vault, on the application's own core and disk layout.
class VaultCommands
{
    Q_DECLARE_TR_FUNCTIONS(VaultCommands)

public:
    // The entries for the dispatcher of CommandLine.
    static QList<CommandLine::Command> commands();
    static QString usage(const QString &command);

    VaultCommands(const CommandLine::GlobalOptions &options, QTextStream &out, QTextStream &err);
    ~VaultCommands();
    int run(const QString &command, const QStringList &arguments);

private:
    int init();
    int list();
    int makeFolder();
    int removeFolder();
    int add();
    int get();
    int remove();
    int pin();
    int check();
    int showPasscodeStore();
    int movePasscodeStore();

    // Prints "lumisera-vault: <line>" on standard error and answers Failure.
    int fail(const QString &line);
    QString treeName() const;
    // Asks for the passcode and checks it as the unlock screen does; opens the session on success.
    std::optional<int> unlock();
    // Checks that the tree can be used and that `folder` is one of its folders.
    std::optional<int> checkTree();
    std::optional<int> checkFolder(const QString &folder);
    // A connected drive manager for the folder, with its PIN checked against --pin when asked;
    // fills `listing` with the folder's listing when given.
    std::shared_ptr<DriveManager> openFolder(const QString &folder, bool needsPin, int &status,
                                             ItemCollection::Listing *listing = nullptr);
    // The folder's stored files (PIN file excluded) by clear name; none when one is missing.
    std::optional<QList<StoredItemPtr>> findFiles(const std::shared_ptr<DriveManager> &manager,
                                                  const QString &folder, const QStringList &names,
                                                  int &status);
    int decryptTo(const StoredItemPtr &item, const QString &target);
    // decrypt writes into the descriptor it is given.
    bool decryptToStandardOutput(const std::function<bool(int)> &decrypt);

    CommandLine::GlobalOptions m_options;
    StorageLocation m_location;
    VaultArguments m_arguments;
    QTextStream &m_out;
    QTextStream &m_err;
    std::unique_ptr<PasscodePrompt> m_prompt;
    VaultSessionPtr m_session;
};
