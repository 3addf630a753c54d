#include "TestFiles.h"
#include "TestHome.h"
#include "core/AppPaths.h"
#include "security/FileEncryptor.h"
#include "storage/FileNaming.h"
#include "storage/TreeKeyCheck.h"
#include "storage/VaultCheck.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using Kind = VaultCheck::Kind;

namespace {
const QString passcode = u"Passcode1"_s;
const QString otherPasscode = u"Otherpass2"_s;

QByteArray encrypted(const QByteArray &plain, const QString &key = passcode)
{
    return FileEncryptor::encrypt(plain, key).value_or(QByteArray());
}

QStringList described(const VaultCheck::Report &report)
{
    QStringList lines;
    for (const VaultCheck::Finding &finding : report.findings)
        lines.append(QString::number(int(finding.kind)) + u' ' + finding.name);
    return lines;
}

QString line(Kind kind, const QString &name)
{
    return QString::number(int(kind)) + u' ' + name;
}
} // namespace

class TestVaultCheck : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_root;

    QString folder() const { return m_root + u"/Trips"_s; }
    QString stored(const QString &clearName) const
    {
        return folder() + u'/' + FileNaming::storedFileName(clearName);
    }

    // A tree with nothing wrong: files of one and of several blocks, a PIN entry, a hidden file
    // of a sync client, and a key-check entry of its own passcode.
    bool buildCleanTree()
    {
        QDir(m_root).removeRecursively();
        return QDir().mkpath(folder()) &&
               writeBytes(stored(u"notes.txt"_s), encrypted(QByteArray(1000, 'a'))) &&
               writeBytes(stored(u"tiny.txt"_s), encrypted("tiny")) &&
               writeBytes(stored(u"full.bin"_s), encrypted(QByteArray(32, 'b'))) &&
               writeBytes(folder() + u'/' + FileNaming::scrambledName(FileNaming::pinFileName()),
                          encrypted("1234")) &&
               writeBytes(folder() + u"/.stignore"_s, "not the vault's") &&
               QDir().mkpath(m_root + u"/Empty"_s) && QDir().mkpath(m_root + u"/.stversions/x"_s) &&
               TreeKeyCheck::write(m_root, passcode).isEmpty();
    }

    bool damage(const QString &how)
    {
        const QString notes = stored(u"notes.txt"_s);
        QByteArray bytes = fileContents(notes);
        if (how == "none")
            return true;
        if (how == "cut")
            return writeBytes(notes, bytes.chopped(5));
        if (how == "cut a block")
            return writeBytes(notes, bytes.chopped(16));
        if (how == "flip padding") {
            bytes[bytes.size() - 17] = char(bytes.at(bytes.size() - 17) ^ 0x80);
            return writeBytes(notes, bytes);
        }
        if (how == "empty")
            return writeBytes(notes, QByteArray());
        if (how == "other passcode") {
            const QByteArray other = encrypted(QByteArray(1000, 'a'), otherPasscode);
            // This text fails the padding under the wrong key; most do (255 in 256).
            return !FileEncryptor::decrypt(other, passcode) && writeBytes(notes, other);
        }
        if (how == "pin") {
            const QString pin = folder() + u'/' + FileNaming::scrambledName(FileNaming::pinFileName());
            return writeBytes(pin, fileContents(pin).left(10));
        }
        if (how == "undecodable name") {
            // By its bytes: a QString would put U+FFFD, which is UTF-8, in their place.
            const QByteArray content = encrypted("x");
            const QByteArray path = QFile::encodeName(folder()) + "/\xff\xfe.tOS";
            const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
            const bool written =
                fd >= 0 && ::write(fd, content.constData(), size_t(content.size())) == content.size();
            return ::close(fd) == 0 && written;
        }
        if (how == "link")
            return QFile::link(u"/etc/hostname"_s, stored(u"linked.txt"_s));
        if (how == "fifo")
            return ::mkfifo(QFile::encodeName(stored(u"pipe.txt"_s)).constData(), 0600) == 0;
        if (how == "partial")
            return writeBytes(folder() + u"/.lumisera-partial-0123456789abcdef"_s, "half");
        if (how == "conflict")
            return writeBytes(folder() + u"/YXSh (conflicted copy 2026-12-06 155501).tOS"_s,
                              encrypted("copy"));
        if (how == "key check of another passcode")
            return TreeKeyCheck::write(m_root, otherPasscode).isEmpty();
        if (how == "damaged key check")
            return QFile::remove(m_root + u'/' + TreeKeyCheck::entryName) &&
                   QDir().mkdir(m_root + u'/' + TreeKeyCheck::entryName);
        if (how == "unreadable folder")
            return ::chmod(QFile::encodeName(folder()).constData(), 0) == 0;
        if (how == "no key check")
            return QFile::remove(m_root + u'/' + TreeKeyCheck::entryName);
        return false;
    }

private Q_SLOTS:
    void init()
    {
        // A fresh tree each time: QDir cannot remove a name that is not UTF-8.
        static int count = 0;
        m_root = m_dir.filePath(u"tree%1"_s.arg(++count));
        QVERIFY(buildCleanTree());
    }

    void cleanup()
    {
        const QByteArray undecodable = QFile::encodeName(folder()) + "/\xff\xfe.tOS";
        ::unlink(undecodable.constData());
        ::chmod(QFile::encodeName(folder()).constData(), 0700);
    }

    void findings_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QStringList>("expected");
        const QString notes = u"Trips/notes.txt"_s;
        QTest::newRow("clean") << "none" << QStringList();
        QTest::newRow("no key-check entry") << "no key check" << QStringList();
        QTest::newRow("cut short") << "cut" << QStringList{line(Kind::undecryptable, notes)};
        QTest::newRow("cut by a block") << "cut a block" << QStringList{line(Kind::undecryptable, notes)};
        QTest::newRow("flipped padding") << "flip padding" << QStringList{line(Kind::undecryptable, notes)};
        QTest::newRow("empty") << "empty" << QStringList{line(Kind::undecryptable, notes)};
        QTest::newRow("another passcode's file")
            << "other passcode" << QStringList{line(Kind::undecryptable, notes)};
        QTest::newRow("damaged PIN entry")
            << "pin" << QStringList{line(Kind::unreadablePin, u"Trips/"_s + FileNaming::pinFileName())};
        QTest::newRow("undecodable name")
            << "undecodable name" << QStringList{line(Kind::undecodableName, u"Trips/\\xff\\xfe.tOS"_s)};
        QTest::newRow("link") << "link" << QStringList{line(Kind::link, u"Trips/linked.txt"_s)};
        QTest::newRow("fifo") << "fifo" << QStringList{line(Kind::specialFile, u"Trips/pipe.txt"_s)};
        QTest::newRow("partial") << "partial"
                                 << QStringList{line(Kind::partialFile,
                                                     u"Trips/.lumisera-partial-0123456789abcdef"_s)};
        QTest::newRow("conflict copy")
            << "conflict"
            << QStringList{line(
                   Kind::conflictCopy,
                   u"Trips/"_s +
                       FileNaming::shownName(u"YXSh (conflicted copy 2026-12-06 155501).tOS"_s).fullName())};
        QTest::newRow("unreadable folder")
            << "unreadable folder" << QStringList{line(Kind::unreadableFolder, u"Trips"_s)};
        QTest::newRow("key check of another passcode")
            << "key check of another passcode"
            << QStringList{line(Kind::otherPasscode, TreeKeyCheck::entryName)};
        QTest::newRow("damaged key check")
            << "damaged key check" << QStringList{line(Kind::damagedKeyCheck, TreeKeyCheck::entryName)};
    }

    void findings()
    {
        QFETCH(QString, damage);
        QFETCH(QStringList, expected);
        if (damage == "unreadable folder" && ::geteuid() == 0)
            QSKIP("permissions do not hold back root");
        QVERIFY(this->damage(damage));
        const QStringList before = filesUnder(m_root);
        const qsizetype files = namesIn(folder()).size();
        VaultCheck::Report report;
        VaultCheck::checkTree(m_root, StorageLocation::local, passcode, report);
        QCOMPARE(described(report), expected);
        QCOMPARE(report.isClean(), expected.isEmpty());
        for (const Kind kind : VaultCheck::kinds())
            QCOMPARE(report.count(kind),
                     int(expected.filter(QRegularExpression(u"^%1 "_s.arg(int(kind)))).size()));
        // Looked at, changed nothing.
        QCOMPARE(filesUnder(m_root), before);
        QCOMPARE(namesIn(folder()).size(), files);
        QVERIFY(report.files >= 3 || damage == "unreadable folder");
    }

    // Only the file's last two blocks decide; a change inside goes unseen, as the format has no
    // integrity check.
    void paddingAlone_data()
    {
        QTest::addColumn<int>("plainSize");
        QTest::addColumn<int>("flippedFromEnd"); // 0: nothing flipped
        QTest::addColumn<bool>("valid");
        QTest::newRow("one block") << 5 << 0 << true;
        QTest::newRow("two blocks") << 20 << 0 << true;
        QTest::newRow("a whole block of padding") << 32 << 0 << true;
        QTest::newRow("one block, padding flipped") << 5 << 1 << false;
        QTest::newRow("block before the last flipped") << 100 << 17 << false;
        QTest::newRow("first block of many flipped") << 100 << 112 << true;
    }
    void paddingAlone()
    {
        QFETCH(int, plainSize);
        QFETCH(int, flippedFromEnd);
        QFETCH(bool, valid);
        QByteArray bytes = encrypted(QByteArray(plainSize, 'a'));
        if (flippedFromEnd)
            bytes[bytes.size() - flippedFromEnd] = char(bytes.at(bytes.size() - flippedFromEnd) ^ 0x80);
        QCOMPARE(
            FileEncryptor::paddingLength(bytes.size(), bytes.right(bytes.size() >= 32 ? 32 : 16), passcode)
                .has_value(),
            valid);
        QVERIFY(!FileEncryptor::paddingLength(bytes.size(), bytes.right(32), otherPasscode) || !valid ||
                FileEncryptor::decrypt(bytes, otherPasscode));
    }

    void partialOfALiveWriterIsNotReported()
    {
        const QString partial = folder() + u"/.lumisera-partial-00000000000000aa"_s;
        QVERIFY(writeBytes(partial, "being written"));
        const int fd = ::open(QFile::encodeName(partial).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0);
        VaultCheck::Report report;
        VaultCheck::checkTree(m_root, StorageLocation::local, passcode, report);
        ::close(fd);
        QCOMPARE(described(report), QStringList());
    }

    void cancelStops()
    {
        for (int index = 0; index < 200; ++index)
            QVERIFY(writeBytes(stored(u"f%1.txt"_s.arg(index)), encrypted("x")));
        std::atomic_bool cancel{false};
        qint64 reported = 0;
        VaultCheck::Report report;
        VaultCheck::checkTree(m_root, StorageLocation::local, passcode, report, &cancel,
                              [&](qint64 files, qint64) {
                                  reported = files;
                                  cancel.store(true);
                              });
        QVERIFY(report.cancelled);
        QVERIFY(!report.isClean());
        QVERIFY(reported > 0 && report.files < 203);
    }

    void danglingContainer()
    {
        const QString container = AppPaths::cloudContainer();
        QVERIFY(QDir().mkpath(QFileInfo(container).path()));
        QFile::remove(container);
        // No cloud tree set up: nothing to report.
        QCOMPARE(described(VaultCheck::run({StorageLocation::cloud}, passcode)), QStringList());
        QVERIFY(QFile::link(m_dir.filePath(u"gone"_s), container));
        const VaultCheck::Report report = VaultCheck::run({StorageLocation::cloud}, passcode);
        QCOMPARE(described(report), QStringList{line(Kind::danglingContainer, container)});
        QVERIFY(QFile::remove(container));
        QVERIFY(QFile::link(m_root, container));
        QVERIFY(QDir().mkpath(m_root + u"/Documents/Trips"_s));
        QVERIFY(
            writeBytes(m_root + u"/Documents/Trips/"_s + FileNaming::storedFileName(u"a.txt"_s), "broken"));
        QCOMPARE(described(VaultCheck::run({StorageLocation::cloud}, passcode)),
                 QStringList{line(Kind::undecryptable, u"Trips/a.txt"_s)});
        QVERIFY(QFile::remove(container));
    }
};

LUMISERA_TEST_MAIN(TestVaultCheck)

#include "TestVaultCheck.moc"
