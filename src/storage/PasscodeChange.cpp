#include "storage/PasscodeChange.h"

#include "core/AppPaths.h"
#include "core/Logging.h"
#include "security/FileEncryptor.h"
#include "security/KeyChainHelper.h"
#include "security/Rekey.h"
#include "security/SecretWipe.h"
#include "storage/FileNaming.h"
#include "storage/TreeKeyCheck.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QStringBuilder>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// New forms are made durable and recorded in groups, so that a folder of photos does not wait for
// one journal flush per photo.
constexpr int BatchFiles = 64;
constexpr qint64 BatchBytes = 64 * 1024 * 1024;

struct DirCloser
{
    void operator()(DIR *dir) const { ::closedir(dir); }
};

UniqueFd openFolderAt(int parent, const QByteArray &name)
{
    return UniqueFd(::openat(parent, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

UniqueFd openTree(const QString &root)
{
    return openFolderAt(AT_FDCWD, QFile::encodeName(root));
}

// A folder below the tree's root, never through a link on the way.
UniqueFd openBelow(int root, const QByteArray &relative)
{
    UniqueFd current(::fcntl(root, F_DUPFD_CLOEXEC, 0));
    for (const QByteArray &part : relative.split('/')) {
        if (!current.isValid())
            break;
        current = openFolderAt(current.get(), part);
    }
    return current;
}

// The names in a folder, read from a descriptor of its own so that the caller's stays usable.
std::optional<QList<QByteArray>> namesIn(int folderFd)
{
    const int copy = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (copy < 0)
        return std::nullopt;
    const std::unique_ptr<DIR, DirCloser> dir(::fdopendir(copy));
    if (!dir) {
        ::close(copy);
        return std::nullopt;
    }
    QList<QByteArray> names;
    errno = 0;
    while (const dirent *entry = ::readdir(dir.get())) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names.append(name);
    }
    if (errno != 0)
        return std::nullopt;
    return names;
}

std::optional<QByteArray> readTail(int fd, qint64 size)
{
    const qint64 length = std::min<qint64>(size, Rekey::tailLength);
    QByteArray tail(length, Qt::Uninitialized);
    qint64 done = 0;
    while (done < length) {
        const ssize_t got =
            ::pread(fd, tail.data() + done, size_t(length - done), off_t(size - length + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return std::nullopt;
        done += got;
    }
    return tail;
}

QByteArray randomName()
{
    return PasscodeChange::siblingPrefix + QByteArray::number(QRandomGenerator::system()->generate64(), 16);
}

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

bool isFull(int code)
{
    return code == ENOSPC || code == EDQUOT;
}

} // namespace

struct PasscodeChange::Candidate
{
    int tree = 0;
    QByteArray folder;
    QByteArray name;
    qint64 size = 0;
};

// A file's new form, complete and flushed, waiting to be recorded and put in place.
struct PasscodeChange::Written
{
    int folderFd = -1; // borrowed from the pass's open folders
    QByteArray name;
    QByteArray file; // the journal's key
    UniqueFd form;
    QByteArray hiddenName; // empty while unnamed
    PasscodeChangeJournal::Fingerprint fingerprint;

    void discard()
    {
        if (!hiddenName.isEmpty())
            ::unlinkat(folderFd, hiddenName.constData(), 0);
        form.close();
    }
};

PasscodeChange::PasscodeChange(PasscodeChangeJournal journal, const QString &oldPasscode,
                               const QString &newPasscode, KeyChainHelper &keys)
    : m_journal(std::move(journal)), m_old(oldPasscode), m_new(newPasscode), m_keys(keys),
      m_keyCheckWriter([](const QString &root, const QString &passcode) {
          const QString failure = TreeKeyCheck::write(root, passcode);
          if (!failure.isEmpty())
              logError(failure, QStringLiteral(__FILE__), QStringLiteral("PasscodeChange::finishUp()"));
          return failure.isEmpty();
      }),
      m_keyCheckReader([](const QString &root, const QString &passcode) {
          return TreeKeyCheck::state(root, passcode) == TreeKeyCheck::State::matches;
      }),
      m_trees(trees())
{}

PasscodeChange::~PasscodeChange()
{
    wipeSecret(m_old);
    wipeSecret(m_new);
}

std::unique_ptr<PasscodeChange> PasscodeChange::start(const QString &oldPasscode, const QString &newPasscode,
                                                      KeyChainHelper &keys, QString &error)
{
    std::optional<PasscodeChangeJournal> journal = PasscodeChangeJournal::begin(newPasscode, error);
    if (!journal)
        return nullptr;
    // Without it a resumed change asks for the new passcode again; the journal can verify it.
    if (!keys.savePending(newPasscode))
        logInfo(QStringLiteral("The new passcode could not be kept for a resumed change"));
    return std::make_unique<PasscodeChange>(std::move(*journal), oldPasscode, newPasscode, keys);
}

QList<PasscodeChange::Tree> PasscodeChange::trees()
{
    QList<Tree> found{{QByteArrayLiteral("local"), TreeKeyCheck::treeRoot(StorageLocation::local)}};
    if (QFileInfo(AppPaths::cloudContainer()).isDir())
        found.append({QByteArrayLiteral("cloud"), TreeKeyCheck::treeRoot(StorageLocation::cloud)});
    return found;
}

bool PasscodeChange::stopRequested() const
{
    return m_cancelled.load() || (m_session && !m_session->isOpen());
}

PasscodeChange::Result PasscodeChange::stopped() const
{
    if (m_session && !m_session->isOpen())
        return {
            Outcome::locked, tr("The vault was locked; the passcode change goes on at the next unlock."), {}};
    return {Outcome::cancelled, tr("The passcode change was stopped; it can be resumed."), {}};
}

void PasscodeChange::report() const
{
    if (m_progress)
        m_progress(m_done);
}

PasscodeChange::Result PasscodeChange::run()
{
    if (m_journal.phase() == PasscodeChangeJournal::Phase::files) {
        if (std::optional<Result> interrupted = changeFiles())
            return *interrupted;
        if (!m_journal.setPhase(PasscodeChangeJournal::Phase::keyCheck))
            return {Outcome::failed,
                    tr("The passcode change cannot be recorded: %1").arg(systemError(errno)),
                    {}};
    }
    return finishUp();
}

PasscodeChange::Result PasscodeChange::finishUp()
{
    if (m_journal.phase() == PasscodeChangeJournal::Phase::keyCheck) {
        for (const Tree &tree : std::as_const(m_trees)) {
            if (m_keyCheckWriter && QFileInfo(tree.root).isDir() && !m_keyCheckWriter(tree.root, m_new))
                return {Outcome::failed, tr("The key check of %1 cannot be written.").arg(tree.root), {}};
        }
        if (!m_journal.setPhase(PasscodeChangeJournal::Phase::store))
            return {Outcome::failed,
                    tr("The passcode change cannot be recorded: %1").arg(systemError(errno)),
                    {}};
    }
    if (!m_keys.saveKey(m_new))
        return {
            Outcome::failed,
            tr("Every file uses the new passcode, but it cannot be stored; resume the change to try again."),
            {}};
    m_keys.removePending();
    if (!m_journal.finish())
        return {Outcome::failed,
                tr("The passcode change record cannot be removed: %1").arg(systemError(errno)),
                {}};
    logInfo(QStringLiteral("The passcode was changed"));
    return {Outcome::finished, {}, m_damaged};
}

std::optional<PasscodeChange::Result> PasscodeChange::changeFiles()
{
    // Files another machine adds meanwhile are in the old form: pass again until one changes nothing.
    for (int pass = 0;; ++pass) {
        QString error;
        const std::optional<QList<Candidate>> candidates = scan(error);
        if (!candidates)
            return Result{Outcome::failed, error, {}};
        if (pass == 0) {
            m_done = {};
            m_done.filesTotal = int(candidates->size());
            for (const Candidate &candidate : *candidates)
                m_done.bytesTotal += candidate.size;
            report();
        }
        m_damaged.clear();
        m_firstPass = pass == 0;
        int changed = 0;
        if (std::optional<Result> interrupted = process(*candidates, changed))
            return interrupted;
        if (changed == 0)
            return std::nullopt;
    }
}

std::optional<QList<PasscodeChange::Candidate>> PasscodeChange::scan(QString &error)
{
    QList<Candidate> candidates;
    for (int index = 0; index < m_trees.size(); ++index) {
        // A file in the new form passes the old passcode's padding check once in 256: a tree
        // another machine changed already must not be changed again.
        if (m_keyCheckReader && m_keyCheckReader(m_trees.at(index).root, m_new))
            continue;
        const UniqueFd root = openTree(m_trees.at(index).root);
        if (!root.isValid() && errno == ENOENT)
            continue;
        if (!root.isValid() || !scanFolder(index, root.get(), QByteArray(), candidates)) {
            error = tr("The folder %1 cannot be read: %2").arg(m_trees.at(index).root, systemError(errno));
            return std::nullopt;
        }
    }
    return candidates;
}

bool PasscodeChange::scanFolder(int tree, int folderFd, const QByteArray &folder,
                                QList<Candidate> &candidates)
{
    const std::optional<QList<QByteArray>> names = namesIn(folderFd);
    if (!names)
        return false;
    for (const QByteArray &name : *names) {
        struct stat status
        {
        };
        if (::fstatat(folderFd, name.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT)
                continue; // gone meanwhile
            return false;
        }
        if (S_ISDIR(status.st_mode) && !name.startsWith('.')) {
            const UniqueFd inner = openFolderAt(folderFd, name);
            if (!inner.isValid() && errno == ENOENT)
                continue;
            const QByteArray path = folder.isEmpty() ? name : folder + '/' + name;
            if (!inner.isValid() || !scanFolder(tree, inner.get(), path, candidates))
                return false;
        } else if (S_ISREG(status.st_mode) && !folder.isEmpty()) {
            if (name.startsWith(siblingPrefix)) // left by an interrupted run
                ::unlinkat(folderFd, name.constData(), 0);
            else if (!name.startsWith('.'))
                candidates.append({tree, folder, name, qint64(status.st_size)});
        }
    }
    return true;
}

std::optional<PasscodeChange::Result> PasscodeChange::process(const QList<Candidate> &candidates,
                                                              int &changed)
{
    std::map<QByteArray, UniqueFd> folders;
    std::vector<Written> batch;
    qint64 batchBytes = 0;
    QString error;
    const auto interrupt = [&](const Result &result) -> std::optional<Result> {
        QString commitError;
        if (!commit(batch, commitError))
            return Result{Outcome::failed, commitError, {}};
        return result;
    };
    const auto flushBatch = [&]() -> bool {
        const int size = int(batch.size());
        if (!commit(batch, error))
            return false;
        changed += size;
        batchBytes = 0;
        return true;
    };

    for (const Candidate &candidate : candidates) {
        if (stopRequested())
            return interrupt(stopped());
        const Tree &tree = m_trees.at(candidate.tree);
        const QString shown = QString::fromLatin1(tree.id) % u'/' % QFile::decodeName(candidate.folder) %
                              u'/' % FileNaming::shownName(QFile::decodeName(candidate.name)).fullName();
        const QByteArray folderKey = tree.id + '/' + candidate.folder;
        auto folder = folders.find(folderKey);
        if (folder == folders.end()) {
            const UniqueFd root = openTree(tree.root);
            folder = folders.emplace(folderKey, openBelow(root.get(), candidate.folder)).first;
        }
        const int folderFd = folder->second.get();
        const UniqueFd input(
            ::openat(folderFd, candidate.name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat status
        {
        };
        if (folderFd < 0 || !input.isValid() || ::fstat(input.get(), &status) != 0 ||
            !S_ISREG(status.st_mode))
            continue; // gone since the scan, or no longer a file: nothing to change
        const qint64 size = status.st_size;
        const std::optional<QByteArray> tail = readTail(input.get(), size);
        const QByteArray file = PasscodeChangeJournal::fileKey(tree.id, candidate.folder, candidate.name);
        // Later passes count only the files they change.
        const auto countDone = [this, size](bool changedNow = false) {
            if (!m_firstPass && !changedNow)
                return;
            ++m_done.filesDone;
            m_done.bytesDone += size;
            m_done.filesTotal = std::max(m_done.filesTotal, m_done.filesDone);
            m_done.bytesTotal = std::max(m_done.bytesTotal, m_done.bytesDone);
            report();
        };
        if (!tail) {
            if (size == 0) {
                m_damaged.append(shown);
                countDone();
                continue;
            }
            return interrupt(
                {Outcome::failed, tr("%1 cannot be read: %2").arg(shown, systemError(errno)), {}});
        }
        const std::optional<PasscodeChangeJournal::Fingerprint> recorded = m_journal.fingerprint(file);
        if (recorded && *recorded == PasscodeChangeJournal::Fingerprint{size, *tail}) {
            countDone();
            continue;
        }
        if (!FileEncryptor::paddingLength(size, *tail, m_old)) {
            // Already damaged under the old passcode, or (without a record, which a change never
            // leaves) in the new form: either way it is left as it is.
            if (!FileEncryptor::paddingLength(size, *tail, m_new))
                m_damaged.append(shown);
            countDone();
            continue;
        }

        Written written;
        written.folderFd = folderFd;
        written.name = candidate.name;
        written.file = file;
        written.form = UniqueFd::unnamedFileIn(folderFd);
        for (int attempt = 0; !written.form.isValid() && attempt < 16; ++attempt) {
            written.hiddenName = randomName();
            written.form = UniqueFd(::openat(folderFd, written.hiddenName.constData(),
                                             O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
            if (!written.form.isValid() && errno != EEXIST)
                break;
        }
        if (!written.form.isValid()) {
            const int code = errno;
            written.hiddenName.clear();
            if (isFull(code))
                return interrupt({Outcome::noSpace,
                                  tr("There is not enough space to change the passcode: %1. Make room, then "
                                     "resume the change.")
                                      .arg(systemError(code)),
                                  {}});
            return interrupt({Outcome::failed,
                              tr("The new form of %1 cannot be written: %2").arg(shown, systemError(code)),
                              {}});
        }

        Rekey::Failure failure;
        QByteArray formTail;
        const qint64 before = m_done.bytesDone;
        const bool streamed = Rekey::reencrypt(input.get(), written.form.get(), m_old, m_new, failure,
                                               formTail, [&](qint64 read) {
                                                   if (m_writeFault) {
                                                       if (const int code = m_writeFault(read)) {
                                                           failure.writeError = code;
                                                           return false;
                                                       }
                                                   }
                                                   m_done.bytesDone = before + read;
                                                   report();
                                                   m_done.bytesDone = before;
                                                   return !stopRequested();
                                               });
        bool durable = streamed;
        struct stat formStatus
        {
        };
        if (durable && ::fsync(written.form.get()) != 0) {
            failure.writeError = errno;
            durable = false;
        }
        if (durable && ::fstat(written.form.get(), &formStatus) != 0) {
            failure.readError = errno;
            durable = false;
        }
        if (!durable) {
            written.discard();
            if (isFull(failure.writeError))
                return interrupt({Outcome::noSpace,
                                  tr("There is not enough space to change the passcode: %1. Make room, then "
                                     "resume the change.")
                                      .arg(systemError(failure.writeError)),
                                  {}});
            if (failure.writeError != 0)
                return interrupt({Outcome::failed,
                                  tr("The new form of %1 cannot be written: %2")
                                      .arg(shown, systemError(failure.writeError)),
                                  {}});
            if (failure.stopped)
                return interrupt(stopped());
            if (failure.undecryptable) {
                m_damaged.append(shown);
                countDone();
                continue;
            }
            return interrupt({Outcome::failed,
                              tr("%1 cannot be read: %2")
                                  .arg(shown, systemError(failure.readError ? failure.readError : EIO)),
                              {}});
        }
        written.fingerprint = {qint64(formStatus.st_size), formTail};
        batch.push_back(std::move(written));
        batchBytes += size;
        countDone(true);
        if ((int(batch.size()) >= BatchFiles || batchBytes >= BatchBytes) && !flushBatch())
            return Result{Outcome::failed, error, {}};
    }
    if (!flushBatch())
        return Result{Outcome::failed, error, {}};
    return std::nullopt;
}

bool PasscodeChange::commit(std::vector<Written> &written, QString &error)
{
    const auto discardAll = qScopeGuard([&written] {
        for (Written &form : written)
            form.discard();
        written.clear();
    });
    if (written.empty())
        return true;
    QList<PasscodeChangeJournal::Entry> entries;
    for (const Written &form : std::as_const(written))
        entries.append({form.file, form.fingerprint});
    // Recorded before any rename: a file that matches its record is known to be in the new form.
    if (!m_journal.record(entries)) {
        error = tr("The passcode change cannot be recorded: %1").arg(systemError(errno));
        return false;
    }
    std::set<int> touched;
    for (Written &form : written) {
        for (int attempt = 0; form.hiddenName.isEmpty() && attempt < 16; ++attempt) {
            const QByteArray name = randomName();
            if (form.form.linkAt(form.folderFd, name))
                form.hiddenName = name;
            else if (errno != EEXIST)
                break;
        }
        if (form.hiddenName.isEmpty() || ::renameat(form.folderFd, form.hiddenName.constData(), form.folderFd,
                                                    form.name.constData()) != 0) {
            error = tr("The new form of a file cannot be put in place: %1").arg(systemError(errno));
            return false;
        }
        form.hiddenName.clear();
        form.form.close();
        touched.insert(form.folderFd);
    }
    for (const int folder : touched) {
        if (::fsync(folder) != 0) {
            error = tr("The passcode change cannot be made durable: %1").arg(systemError(errno));
            return false;
        }
    }
    return true;
}
