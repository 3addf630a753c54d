#include "cli/VaultCommands.h"

#include "cli/PasscodeChangeCommand.h"
#include "cli/PasscodePrompt.h"
#include "cli/ScratchFile.h"
#include "cli/TerminalText.h"
#include "cli/TransferProgress.h"
#include "core/AppPaths.h"
#include "core/UniqueFd.h"
#include "drive/FileSystemError.h"
#include "drive/NativePath.h"
#include "security/FileEncryptor.h"
#include "security/KeyChainHelper.h"
#include "security/PasscodeCheck.h"
#include "security/PasscodeRule.h"
#include "security/PasscodeStore.h"
#include "security/SecretWipe.h"
#include "storage/DriveManager.h"
#include "storage/FileNaming.h"
#include "storage/FolderOperations.h"
#include "storage/ItemCollection.h"
#include "storage/PasscodeChangeJournal.h"
#include "storage/PinEntry.h"
#include "storage/PlainCopy.h"
#include "storage/TreeKeyCheck.h"
#include "storage/VaultCheck.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>

#include <cerrno>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

constexpr int minimumPinLength = 4;

// ": <the system's reason>" for a failed file call; nothing when none failed.
QString reasonFor(std::error_code error)
{
    return error ? QStringLiteral(": ") + QString::fromLocal8Bit(error.message().c_str()) : QString();
}

bool writeAll(int fd, const char *data, qsizetype length)
{
    while (length > 0) {
        const ssize_t done = ::write(fd, data, size_t(length));
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return false;
        data += done;
        length -= done;
    }
    return true;
}

struct Help
{
    const char *command;
    const char *synopsis;
    const char *summary;
    const char *details;
};

const Help helpTexts[] = {
    {"init", "init", QT_TRANSLATE_NOOP("VaultCommands", "set the passcode"),
     QT_TRANSLATE_NOOP(
         "VaultCommands",
         "Asks for a new passcode twice (two lines with --passcode-stdin). It needs at least 8 characters,\n"
         "letters and numbers, ASCII only. Refused when a passcode is already set.\n")},
    {"ls", "ls [FOLDER] [--pin PIN]",
     QT_TRANSLATE_NOOP("VaultCommands", "list the folders, or the files of FOLDER"),
     QT_TRANSLATE_NOOP(
         "VaultCommands",
         "Without FOLDER: the entries of the tree's root, one per line. With FOLDER: its files' names in\n"
         "the order the application shows them. A folder with a PIN needs --pin. A sync client's conflict\n"
         "copy shows as NAME (conflict DATE TIME).EXT, and bytes of a name that are not UTF-8 as U+FFFD.\n"
         "get and rm take names as shown, and refuse one that several files show.\n")},
    {"mkdir", "mkdir NAME [--pin PIN]",
     QT_TRANSLATE_NOOP("VaultCommands", "create a folder, with a PIN when given"),
     QT_TRANSLATE_NOOP(
         "VaultCommands",
         "Prints the name the folder got (\"-\" becomes \"_\"). A PIN has at least 4 characters.\n")},
    {"rmdir", "rmdir FOLDER --yes",
     QT_TRANSLATE_NOOP("VaultCommands", "delete a folder and everything in it"),
     QT_TRANSLATE_NOOP("VaultCommands", "Deletes FOLDER with all its files; --yes confirms.\n")},
    {"add", "add FOLDER FILE... [--pin PIN]",
     QT_TRANSLATE_NOOP("VaultCommands", "encrypt files into a folder"),
     QT_TRANSLATE_NOOP(
         "VaultCommands",
         "Stores each FILE encrypted under its own name, numbered when the name is taken, and prints\n"
         "each stored name on its own line. The FILEs themselves are left alone.\n")},
    {"get", "get FOLDER NAME [-o OUT] [--pin PIN]", QT_TRANSLATE_NOOP("VaultCommands", "decrypt one file"),
     QT_TRANSLATE_NOOP(
         "VaultCommands",
         "Decrypts NAME to OUT (\"-\" for standard output); by default to ./NAME. An existing file is\n"
         "never overwritten.\n")},
    {"rm", "rm FOLDER NAME... [--pin PIN]", QT_TRANSLATE_NOOP("VaultCommands", "delete files"),
     QT_TRANSLATE_NOOP(
         "VaultCommands",
         "Deletes the named files of FOLDER; nothing is deleted when one of them is missing.\n")},
    {"pin", "pin FOLDER set PIN | pin FOLDER remove",
     QT_TRANSLATE_NOOP("VaultCommands", "set or remove a folder's PIN"),
     QT_TRANSLATE_NOOP("VaultCommands",
                       "Needs only the passcode, as in the application. A PIN has at least 4 characters.\n")},
    {"check", "check [--cloud | --local]",
     QT_TRANSLATE_NOOP("VaultCommands", "look for damaged and foreign entries, changing nothing"),
     QT_TRANSLATE_NOOP(
         "VaultCommands",
         "Looks at every entry of both trees (or one: --cloud, --local) and reports files that do not\n"
         "decrypt with the passcode (wrong length or padding: only each file's last 32 bytes are read, so\n"
         "damage inside a file goes unseen), PIN entries that cannot be read, names that are not UTF-8,\n"
         "links, special files, leftovers of interrupted writes, sync-conflict copies, a CloudContainer\n"
         "link that leads nowhere, folders that cannot be read, and a tree written with another passcode.\n"
         "Exit status 0 when nothing is wrong, 1 with findings.\n")},
    {"passcode-store", "passcode-store [keyring | file]",
     QT_TRANSLATE_NOOP("VaultCommands", "show or move where the passcode is kept"),
     QT_TRANSLATE_NOOP(
         "VaultCommands",
         "Without an argument, prints where the passcode is kept: \"keyring\" (the desktop keyring) or\n"
         "\"file\" (a private file). With one, moves it there: asks for the passcode, writes it to the\n"
         "new place, checks that it reads back, and only then removes it from the old one.\n")},
    {"passcode", "passcode change [--resume]",
     QT_TRANSLATE_NOOP("VaultCommands", "change the passcode of every file in both trees"),
     QT_TRANSLATE_NOOP(
         "VaultCommands",
         "Asks for the current passcode, then the new one twice (three lines with --passcode-stdin), and\n"
         "encrypts every file and PIN of both trees again with the new one. Ctrl-C stops at the next file;\n"
         "an interrupted change (Ctrl-C, a crash, a full disk) is finished with --resume, which asks for\n"
         "the current passcode (and the new one when the credential store no longer holds it). Until then\n"
         "every other command refuses to run.\n")},
};

const Help *helpFor(const QString &command)
{
    for (const Help &help : helpTexts) {
        if (command == QLatin1String(help.command))
            return &help;
    }
    return nullptr;
}

} // namespace

QList<CommandLine::Command> VaultCommands::commands()
{
    QList<CommandLine::Command> list;
    for (const Help &help : helpTexts) {
        const QString name = QString::fromLatin1(help.command);
        list.append(
            {name, tr(help.summary),
             [name](const CommandLine::GlobalOptions &options, const QStringList &arguments, QTextStream &out,
                    QTextStream &err) { return VaultCommands(options, out, err).run(name, arguments); }});
    }
    return list;
}

QString VaultCommands::usage(const QString &command)
{
    const Help *help = helpFor(command);
    if (!help)
        return QString();
    return tr("Usage: lumisera-vault [--cloud] [--passcode-stdin] ") + QString::fromLatin1(help->synopsis) +
           QStringLiteral("\n\n") + tr(help->details) +
           tr("\nEvery command asks for the passcode (--passcode-stdin: the first line of standard "
              "input).\nExit status: 0 done, 1 failed, 2 usage error.\n");
}

VaultCommands::VaultCommands(const CommandLine::GlobalOptions &options, QTextStream &out, QTextStream &err)
    : m_options(options), m_location(options.cloud ? StorageLocation::cloud : StorageLocation::local),
      m_out(out), m_err(err), m_prompt(std::make_unique<PasscodePrompt>(options.passcodeStdin))
{}

VaultCommands::~VaultCommands() = default;

int VaultCommands::run(const QString &command, const QStringList &arguments)
{
    m_arguments = VaultArguments::parse(command, arguments);
    if (m_arguments.help) {
        m_out << usage(command);
        m_out.flush();
        return CommandLine::Success;
    }
    if (!m_arguments.error.isEmpty()) {
        m_err << "lumisera-vault: " << m_arguments.error << "\n" << usage(command);
        m_err.flush();
        return CommandLine::Usage;
    }
    // Plaintext an earlier command could not take along (it was killed) goes first.
    ScratchFile::removeLeftovers();
    if (command == QLatin1String("passcode"))
        return PasscodeChangeCommand(*m_prompt, m_out, m_err).run(m_arguments.resume);
    // Files are in two passcodes until the change ends: nothing else may read or write them.
    if (PasscodeChangeJournal::exists())
        return fail(PasscodeChangeCommand::unfinishedText());
    if (command == QLatin1String("init"))
        return init();
    if (command == QLatin1String("passcode-store") && m_arguments.operands.isEmpty())
        return showPasscodeStore();
    if (const std::optional<int> status = unlock())
        return *status;
    if (command == QLatin1String("passcode-store"))
        return movePasscodeStore();
    // Looks at the trees as they are: neither creates one nor needs one.
    if (command == QLatin1String("check"))
        return check();
    if (const std::optional<int> status = checkTree())
        return *status;
    if (command == QLatin1String("mkdir") || command == QLatin1String("add") ||
        command == QLatin1String("pin")) {
        // Before anything is looked up: a tree another passcode wrote gets nothing from here.
        const QString refusal = TreeKeyCheck::beforeWrite(m_location, *m_session);
        if (!refusal.isEmpty())
            return fail(refusal);
    }
    if (command == QLatin1String("ls"))
        return list();
    if (command == QLatin1String("mkdir"))
        return makeFolder();
    if (command == QLatin1String("rmdir"))
        return removeFolder();
    if (command == QLatin1String("add"))
        return add();
    if (command == QLatin1String("get"))
        return get();
    if (command == QLatin1String("rm"))
        return remove();
    return pin();
}

int VaultCommands::fail(const QString &line)
{
    m_err << "lumisera-vault: " << line << "\n";
    m_err.flush();
    return CommandLine::Failure;
}

QString VaultCommands::treeName() const
{
    return m_location == StorageLocation::cloud ? tr("cloud tree") : tr("local tree");
}

int VaultCommands::init()
{
    KeyChainHelper &keyChain = KeyChainHelper::shared();
    const KeyChainHelper::Lookup existing = keyChain.passcodeState();
    if (existing.state == KeyChainHelper::PasscodeState::unavailable)
        return fail(QStringLiteral("init: ") + existing.problem +
                    tr("; a passcode may already be set there"));
    if (existing.state == KeyChainHelper::PasscodeState::set)
        return fail(tr("init: a passcode is already set"));
    const std::optional<QString> first = m_prompt->ask(tr("New passcode: "));
    const std::optional<QString> second = first ? m_prompt->ask(tr("Repeat passcode: ")) : std::nullopt;
    if (!first || !second)
        return fail(tr("init: no passcode given"));
    const QString refusal = PasscodeRule::refusal(*first, *second);
    if (!refusal.isEmpty())
        return fail(tr("init: passcode refused: ") + refusal);
    // Stored as typed; trimming only served the checks.
    if (!keyChain.saveKey(*first))
        return fail(tr("init: unable to save the passcode to the credential store"));
    return CommandLine::Success;
}

std::optional<int> VaultCommands::unlock()
{
    KeyChainHelper &keyChain = KeyChainHelper::shared();
    const KeyChainHelper::Lookup stored = keyChain.passcodeState();
    if (stored.state == KeyChainHelper::PasscodeState::unavailable)
        return fail(stored.problem);
    if (stored.state == KeyChainHelper::PasscodeState::notSet)
        return fail(tr("no passcode is set; set one with lumisera-vault init"));
    std::optional<QString> typed = m_prompt->ask(tr("Passcode: "));
    if (!typed)
        return fail(m_options.passcodeStdin
                        ? tr("no passcode given")
                        : tr("no passcode given (without a terminal, use --passcode-stdin)"));
    const PasscodeCheck check = PasscodeCheck::againstLookup(*typed, stored);
    if (check.isUnavailable())
        return fail(check.problem);
    if (!check.matches()) {
        wipeSecret(*typed);
        return fail(tr("wrong passcode"));
    }
    m_session = keyChain.unlock(*typed, keyChain.lockGeneration());
    wipeSecret(*typed);
    return std::nullopt;
}

std::optional<int> VaultCommands::checkTree()
{
    if (m_location == StorageLocation::cloud && !QFileInfo(AppPaths::cloudContainer()).isDir())
        return fail(tr("the cloud container is absent (%1)").arg(AppPaths::cloudContainer()));
    if (!DriveManager::getCloudDrive(m_location, QString(), true))
        return fail(tr("cannot open the %1").arg(treeName()));
    return std::nullopt;
}

std::optional<int> VaultCommands::checkFolder(const QString &folder)
{
    const std::shared_ptr<DriveManager> root = FolderOperations::makeDriveManager(m_location, QString());
    root->connect();
    if (!FileNaming::isAcceptableFolderName(folder) || !root->directoryExists(folder))
        return fail(tr("no folder \"%1\" in the %2").arg(folder, treeName()));
    return std::nullopt;
}

std::shared_ptr<DriveManager> VaultCommands::openFolder(const QString &folder, bool needsPin, int &status,
                                                        ItemCollection::Listing *listing)
{
    if (const std::optional<int> missing = checkFolder(folder)) {
        status = *missing;
        return nullptr;
    }
    const std::shared_ptr<DriveManager> manager = FolderOperations::makeDriveManager(m_location, folder);
    manager->connect();
    if (!manager->drive()) {
        status = fail(tr("cannot open folder \"%1\"").arg(folder));
        return nullptr;
    }
    if (!needsPin && !listing)
        return manager;
    const ItemCollection::Listing found =
        ItemCollection::listFolder(manager, m_location, FileItemType::file, *m_session);
    if (needsPin && found.pinUnreadable) {
        status = fail(tr("%1 (folder \"%2\"); set a new one or remove it with lumisera-vault pin")
                          .arg(PinEntry::unreadableText(), folder));
        return nullptr;
    }
    if (needsPin && found.pin && !m_arguments.pin) {
        status = fail(tr("folder \"%1\" is protected by a PIN; give it with --pin").arg(folder));
        return nullptr;
    }
    if (needsPin && found.pin && *found.pin != m_arguments.pin->trimmed()) {
        status = fail(tr("wrong PIN for folder \"%1\"").arg(folder));
        return nullptr;
    }
    if (listing)
        *listing = found;
    return manager;
}

std::optional<QList<StoredItemPtr>> VaultCommands::findFiles(const std::shared_ptr<DriveManager> &manager,
                                                             const QString &folder, const QStringList &names,
                                                             int &status)
{
    // Named as `ls` shows them, conflict copies told apart included.
    QMultiHash<QString, StoredItemPtr> byName;
    for (const StoredItemPtr &item : ItemCollection::listItems(manager, m_location, FileItemType::file)) {
        if (item->fullName().toLower() != FileNaming::pinFileName())
            byName.insert(item->fullName(), item);
    }
    QList<StoredItemPtr> found;
    for (const QString &name : names) {
        // The typed name is the shown one: U+FFFD matches whatever bytes it shows, and the item
        // keeps the real ones. Files that show alike are never guessed between.
        const QList<StoredItemPtr> matching = byName.values(name);
        if (matching.isEmpty()) {
            status = fail(tr("no file \"%1\" in folder \"%2\"").arg(name, folder));
            return std::nullopt;
        }
        if (matching.size() > 1) {
            status = fail(
                tr("%n files in folder \"%1\" show as \"%2\"; none was chosen", nullptr, int(matching.size()))
                    .arg(folder, name));
            return std::nullopt;
        }
        found.append(matching.first());
    }
    return found;
}

int VaultCommands::list()
{
    ItemCollection::Listing listing;
    if (m_arguments.operands.isEmpty()) {
        const std::shared_ptr<DriveManager> root = FolderOperations::makeDriveManager(m_location, QString());
        root->connect();
        listing = ItemCollection::listFolder(root, m_location, FileItemType::all, *m_session);
    } else {
        int status = CommandLine::Success;
        if (!openFolder(m_arguments.operands.first(), true, status, &listing))
            return status;
    }
    const bool terminal = TerminalText::isTerminal(STDOUT_FILENO);
    for (const StoredItemPtr &item : listing.items)
        m_out << (terminal ? TerminalText::escaped(item->fullName()) : item->fullName()) << "\n";
    m_out.flush();
    return CommandLine::Success;
}

int VaultCommands::makeFolder()
{
    const QString name = m_arguments.operands.first().trimmed();
    const QString pin = m_arguments.pin.value_or(QString()).trimmed();
    if (!FileNaming::isAcceptableFolderName(name))
        return fail(tr("mkdir: refused folder name \"%1\"").arg(m_arguments.operands.first()));
    if (!pin.isEmpty() && pin.size() < minimumPinLength)
        return fail(tr("mkdir: a PIN needs at least %1 characters").arg(minimumPinLength));
    const QString adjusted = FileNaming::adjustedFolderName(name);
    const std::shared_ptr<DriveManager> root = FolderOperations::makeDriveManager(m_location, QString());
    root->connect();
    if (root->directoryExists(adjusted))
        return fail(tr("mkdir: folder \"%1\" already exists").arg(adjusted));
    const std::optional<QString> givenPin = pin.isEmpty() ? std::nullopt : std::optional<QString>(pin);
    if (!FolderOperations(root, m_location, m_session).createFolder(name, givenPin))
        return fail(tr("mkdir: could not create folder \"%1\"").arg(adjusted));
    m_out << adjusted << "\n";
    m_out.flush();
    return CommandLine::Success;
}

int VaultCommands::removeFolder()
{
    const QString folder = m_arguments.operands.first();
    int status = CommandLine::Success;
    const std::shared_ptr<DriveManager> manager = openFolder(folder, false, status);
    if (!manager)
        return status;
    if (!FolderOperations(manager, m_location, m_session).deleteFolder())
        return fail(tr("rmdir: could not delete folder \"%1\"").arg(folder));
    return CommandLine::Success;
}

int VaultCommands::add()
{
    const QString folder = m_arguments.operands.first();
    const QStringList files = m_arguments.operands.mid(1);
    for (const QString &file : files) {
        const QFileInfo info(file);
        if (!info.isFile() || !info.isReadable())
            return fail(tr("add: cannot read \"%1\"").arg(file));
        if (info.fileName().startsWith(QLatin1Char('.')))
            return fail(tr("add: \"%1\" has a hidden name; rename it first").arg(file));
        if (FileNaming::isHiddenFromListing(info.fileName()))
            return fail(tr("add: \"%1\" has the name of a folder's PIN file; rename it first").arg(file));
        if (!FileNaming::isStorableFileName(info.fileName()))
            return fail(tr("add: \"%1\" would be listed under another name (as with white space at "
                           "either end); rename it first")
                            .arg(file));
    }
    int status = CommandLine::Success;
    const std::shared_ptr<DriveManager> manager = openFolder(folder, true, status);
    if (!manager)
        return status;
    for (const QString &file : files) {
        FolderOperations operations(manager, m_location, m_session);
        const bool stored = TransferProgress::run(QFileInfo(file).fileName(), QFileInfo(file).size(), [&] {
            return operations.addToCollectionAndDelete(file, false, false);
        });
        if (!stored)
            return fail(tr("add: could not store \"%1\" in folder \"%2\"").arg(file, folder) +
                        reasonFor(operations.lastFailure()));
        m_out << operations.lastStoredName() << "\n";
        m_out.flush();
    }
    return CommandLine::Success;
}

int VaultCommands::get()
{
    const QString folder = m_arguments.operands.at(0);
    const QString name = m_arguments.operands.at(1);
    int status = CommandLine::Success;
    const std::shared_ptr<DriveManager> manager = openFolder(folder, true, status);
    if (!manager)
        return status;
    const std::optional<QList<StoredItemPtr>> items = findFiles(manager, folder, {name}, status);
    if (!items)
        return status;
    QString target = m_arguments.output.value_or(QDir::current().filePath(name));
    if (target != QLatin1String("-") && QFileInfo(target).isDir())
        target = QDir(target).filePath(name);
    return decryptTo(items->first(), target);
}

bool VaultCommands::decryptToStandardOutput(const std::function<bool(int)> &decrypt)
{
    struct stat status
    {
    };
    if (::fstat(STDOUT_FILENO, &status) != 0)
        return false;
    // A pipe or terminal takes the bytes as they come. A file gets them only once the whole file
    // decrypted, so that a damaged one leaves no part of it there; until then they wait in a file
    // without a name, which nothing can leave behind.
    if (!S_ISREG(status.st_mode))
        return decrypt(STDOUT_FILENO);
    const UniqueFd plain = ScratchFile::create();
    if (!plain.isValid() || !decrypt(plain.get()) || ::lseek(plain.get(), 0, SEEK_SET) != 0)
        return false;
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const ssize_t count = ::read(plain.get(), buffer.data(), size_t(buffer.size()));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return false;
        if (count == 0)
            return true;
        if (!writeAll(STDOUT_FILENO, buffer.constData(), count))
            return false;
    }
}

int VaultCommands::decryptTo(const StoredItemPtr &item, const QString &target)
{
    const QString key = m_session->key().value_or(QString());
    // The listed file itself: not a link or special file a sync client put in its place.
    UniqueFd source;
    try {
        source = NativePath::openListed(NativePath::fromUrl(item->url()));
    } catch (const FileSystemError &error) {
        return fail(tr("get: could not decrypt \"%1\"").arg(item->fullName()) + reasonFor(error.code()));
    }
    struct stat sourceStatus
    {
    };
    const qint64 size = ::fstat(source.get(), &sourceStatus) == 0 ? qint64(sourceStatus.st_size) : 0;
    if (target == QLatin1String("-")) {
        m_out.flush();
        const auto decrypt = [&](int output) {
            return TransferProgress::run(item->fullName(), size, [&] {
                return FileEncryptor::processFile(source.get(), output, key, CryptOperation::decrypt);
            });
        };
        if (!decryptToStandardOutput(decrypt))
            return fail(tr("get: could not decrypt \"%1\"").arg(item->fullName()));
        return CommandLine::Success;
    }
    if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
        return fail(tr("get: \"%1\" already exists").arg(target));
    // A complete file under the target's name or none, never one over a file that appeared
    // meanwhile, and no plaintext left by an interruption.
    std::optional<PlainCopy> output;
    try {
        output.emplace(QFileInfo(target).absolutePath());
    } catch (const FileSystemError &error) {
        return fail(tr("get: cannot write in \"%1\"").arg(QFileInfo(target).absolutePath()) +
                    reasonFor(error.code()));
    }
    FileEncryptor::IoFailure io;
    const bool decrypted = TransferProgress::run(item->fullName(), size, [&] {
        return FileEncryptor::processFile(source.get(), output->fd(), key, CryptOperation::decrypt, &io);
    });
    const auto cannotWrite = [&](std::error_code error) {
        return fail(tr("get: cannot write \"%1\"").arg(target) + reasonFor(error));
    };
    if (io.writeError)
        return cannotWrite(std::error_code(io.writeError, std::generic_category()));
    if (!decrypted)
        return fail(tr("get: could not decrypt \"%1\"").arg(item->fullName()) +
                    reasonFor(std::error_code(io.readError, std::generic_category())));
    try {
        if (!output->placeExactly(QFileInfo(target).fileName()))
            return fail(tr("get: \"%1\" already exists").arg(target));
    } catch (const FileSystemError &error) {
        return cannotWrite(error.code());
    }
    return CommandLine::Success;
}

int VaultCommands::remove()
{
    const QString folder = m_arguments.operands.first();
    int status = CommandLine::Success;
    const std::shared_ptr<DriveManager> manager = openFolder(folder, true, status);
    if (!manager)
        return status;
    // A name given twice is one file: deleting it once must not fail the rest half-way.
    QStringList names = m_arguments.operands.mid(1);
    names.removeDuplicates();
    const std::optional<QList<StoredItemPtr>> items = findFiles(manager, folder, names, status);
    if (!items)
        return status;
    if (!FolderOperations(manager, m_location, m_session).deleteFiles(*items))
        return fail(tr("rm: could not delete every file in folder \"%1\"").arg(folder));
    return CommandLine::Success;
}

int VaultCommands::check()
{
    QList<StorageLocation> trees{StorageLocation::local, StorageLocation::cloud};
    if (m_arguments.localOnly)
        trees = {StorageLocation::local};
    else if (m_arguments.cloudOnly || m_options.cloud)
        trees = {StorageLocation::cloud};
    struct stat container
    {
    };
    if (trees == QList<StorageLocation>{StorageLocation::cloud} &&
        ::lstat(QFile::encodeName(AppPaths::cloudContainer()).constData(), &container) != 0)
        return fail(tr("the cloud container is absent (%1)").arg(AppPaths::cloudContainer()));

    const bool terminal = TerminalText::isTerminal(STDERR_FILENO);
    QElapsedTimer sinceShown;
    sinceShown.start();
    const auto progress = [&](qint64 files, qint64 bytes) {
        if (!terminal || sinceShown.elapsed() < 100)
            return;
        sinceShown.restart();
        m_err << "\r" << tr("Files checked: %1 (%2)").arg(files).arg(QLocale().formattedDataSize(bytes))
              << "\033[K";
        m_err.flush();
    };
    const VaultCheck::Report report =
        VaultCheck::run(trees, m_session->key().value_or(QString()), nullptr, progress);
    if (terminal) {
        m_err << "\r\033[K";
        m_err.flush();
    }

    QStringList treeNames;
    for (const StorageLocation tree : report.trees)
        treeNames.append(tree == StorageLocation::cloud ? tr("cloud tree") : tr("local tree"));
    m_out << tr("Checked: %1; files: %2 (%3)")
                 .arg(treeNames.isEmpty() ? tr("no tree (none is set up)")
                                          : treeNames.join(QStringLiteral(", ")))
                 .arg(report.files)
                 .arg(QLocale().formattedDataSize(report.bytes))
          << "\n";
    for (const VaultCheck::Kind kind : VaultCheck::kinds()) {
        const int count = report.count(kind);
        if (count == 0)
            continue;
        m_out << VaultCheck::kindText(kind) << ": " << count << "\n";
        for (const VaultCheck::Finding &finding : report.findings) {
            if (finding.kind != kind)
                continue;
            const QString where = finding.tree == StorageLocation::cloud ? tr("cloud") : tr("local");
            m_out << "  " << where << ": "
                  << (TerminalText::isTerminal(STDOUT_FILENO) ? TerminalText::escaped(finding.name)
                                                              : finding.name)
                  << "\n";
        }
    }
    if (report.isClean())
        m_out << tr("Nothing is wrong.") << "\n";
    m_out.flush();
    if (report.isClean())
        return CommandLine::Success;
    return fail(tr("check: problems found: %1").arg(report.findings.size()));
}

int VaultCommands::showPasscodeStore()
{
    const PasscodeStore::Location location = PasscodeStore::recorded();
    m_out << (location == PasscodeStore::Location::none ? QStringLiteral("not recorded")
                                                        : PasscodeStore::name(location))
          << "\n";
    m_out.flush();
    return CommandLine::Success;
}

int VaultCommands::movePasscodeStore()
{
    const QString target = m_arguments.operands.first();
    const CredentialResult moved = KeyChainHelper::makeSystemBackend()->relocate(
        KeyChainHelper::account, PasscodeStore::fromName(target).value_or(PasscodeStore::Location::keyring));
    if (!moved.succeeded())
        return fail(QStringLiteral("passcode-store: ") +
                    (moved.message.isEmpty() ? tr("no passcode is set") : moved.message));
    if (!moved.message.isEmpty())
        m_err << "lumisera-vault: passcode-store: " << tr("note: ") << moved.message << "\n";
    m_out << target << "\n";
    m_out.flush();
    return CommandLine::Success;
}

int VaultCommands::pin()
{
    const QString folder = m_arguments.operands.at(0);
    int status = CommandLine::Success;
    ItemCollection::Listing listing;
    const std::shared_ptr<DriveManager> manager = openFolder(folder, false, status, &listing);
    if (!manager)
        return status;
    FolderOperations operations(manager, m_location, m_session);
    if (m_arguments.operands.at(1) == QLatin1String("remove")) {
        if (!listing.pin && !listing.pinUnreadable)
            return fail(tr("pin: folder \"%1\" has no PIN").arg(folder));
        if (!operations.removePin())
            return fail(tr("pin: could not remove the PIN of folder \"%1\"").arg(folder));
        return CommandLine::Success;
    }
    const QString newPin = m_arguments.operands.at(2).trimmed();
    if (newPin.size() < minimumPinLength)
        return fail(tr("pin: a PIN needs at least %1 characters").arg(minimumPinLength));
    if (!operations.createPin(newPin, folder))
        return fail(tr("pin: could not set the PIN of folder \"%1\"").arg(folder));
    return CommandLine::Success;
}
