#include "TestFiles.h"
#include "TestHome.h"
#include "TestSession.h"
#include "core/AppPaths.h"
#include "security/FileEncryptor.h"
#include "storage/PreviewCopyRegistry.h"
#include "storage/TemporaryCopies.h"

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestTemporaryCopies : public QObject
{
    Q_OBJECT
    QTemporaryDir m_vault;
    const QString m_encrypted = m_vault.filePath("encrypted");
    const QString m_temporary = AppPaths::temporaryDirectory() + "/";
    const QByteArray m_plain = QByteArray(3 * 1024 * 1024, 'd'); // a wrong key gets past the first blocks

    static QStringList temporaryEntries() { return namesIn(AppPaths::temporaryDirectory()); }

private Q_SLOTS:
    void init()
    {
        openTestSession("passcode");
        QVERIFY(writeBytes(m_encrypted, FileEncryptor::encrypt(m_plain, "passcode").value_or("")));
        AppPaths::clearTemporaryDirectory();
    }

    void decryptedCopyReplacesWithoutFollowingLinks()
    {
        const QString outside = m_vault.filePath("outside"), copy = m_temporary + "report.pdf";
        QVERIFY(writeBytes(outside, "untouched") && QFile::link(outside, copy));
        QCOMPARE(TemporaryCopies::createDecryptedTempFile(*testSession(), m_encrypted, "report.pdf"), copy);
        QCOMPARE(fileContents(copy), m_plain);
        QVERIFY(!QFileInfo(copy).isSymLink() && !(QFile(copy).permissions() & 0x0077));
        QCOMPARE(fileContents(outside), QByteArray("untouched"));
        QCOMPARE(temporaryEntries(), QStringList{"report.pdf"});
    }

    void refusalsLeaveNothing()
    {
        for (const QString passcode : {"not the passcode", ""}) {
            openTestSession(passcode);
            if (passcode.isEmpty())
                testSession()->end(); // locked
            QVERIFY(!TemporaryCopies::createDecryptedTempFile(*testSession(), m_encrypted, "report.pdf"));
        }
        openTestSession("passcode");
        for (const char *name : {"..", "../escaped.pdf", "/tmp/escaped.pdf", ""}) {
            QVERIFY2(!TemporaryCopies::createDecryptedTempFile(*testSession(), m_encrypted, name), name);
            QVERIFY2(!TemporaryCopies::copyToTemporaryDirectory(m_encrypted, QString(name)), name);
        }
        QVERIFY(temporaryEntries().isEmpty());
        QVERIFY(!QFileInfo::exists(QFileInfo(AppPaths::temporaryDirectory()).path() + "/escaped.pdf"));
    }

    void copyReusesAnExistingFile()
    {
        const QString source = m_vault.filePath("picked.heic"), copy = m_temporary + "picked.heic";
        QVERIFY(writeBytes(source, "first"));
        QCOMPARE(TemporaryCopies::copyToTemporaryDirectory(source), copy);
        QVERIFY(writeBytes(source, "second"));
        QCOMPARE(TemporaryCopies::copyToTemporaryDirectory(source), copy);
        QCOMPARE(fileContents(copy), QByteArray("first"));
        QCOMPARE(TemporaryCopies::copyToTemporaryDirectory(source, QString("renamed")),
                 m_temporary + "renamed");
        QCOMPARE(fileContents(m_temporary + "renamed"), QByteArray("second"));
        QVERIFY(!TemporaryCopies::copyToTemporaryDirectory(m_vault.filePath("missing")));
    }

    // Steps: "h" a previewer holds the name, "m" one lets go with the copy it made, "-" one lets
    // go without (closed before its decryption ended). present: whether the copy is there after each.
    void previewCopyGoesWithItsLastHolder_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("present");
        QTest::newRow("one previewer") << u"hm"_s << u"n"_s;
        QTest::newRow("the first closes before its copy came") << u"hh-m"_s << u"yn"_s;
        QTest::newRow("the older copy's holder goes first") << u"hhmm"_s << u"yn"_s;
        QTest::newRow("a copy made after every holder went") << u"h-m"_s << u"yn"_s;
    }
    void previewCopyGoesWithItsLastHolder()
    {
        QFETCH(QString, steps);
        QFETCH(QString, present);
        PreviewCopyRegistry registry;
        const QString copy = m_temporary + "notes.txt";
        QVERIFY(writeBytes(copy, "plain"));
        qsizetype checked = 0;
        for (const QChar step : steps) {
            if (step == u'h') {
                registry.hold("notes.txt");
                continue;
            }
            registry.letGo("notes.txt", step == u'm' ? copy : QString());
            QVERIFY2(QFileInfo::exists(copy) == (present.at(checked) == u'y'),
                     qPrintable(steps.left(checked)));
            ++checked;
        }
        QCOMPARE(checked, present.size());
        QCOMPARE(registry.holders("notes.txt"), 0);
    }
};

LUMISERA_TEST_MAIN(TestTemporaryCopies)
#include "TestTemporaryCopies.moc"
