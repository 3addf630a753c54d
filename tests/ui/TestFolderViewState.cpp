#include "ui/folder/FolderViewState.h"

#include <QSignalSpy>
#include <QtTest>

using namespace Qt::StringLiterals;

using Page = FolderViewState::Page;
using Tap = FolderViewState::Tap;
using Key = FolderViewState::Key;
using KeyEffect = FolderViewState::KeyEffect;
using Pin = std::optional<QString>;

Q_DECLARE_METATYPE(Pin)

class TestFolderViewState : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A protected folder shows only its lock until its own PIN is entered exactly; one whose PIN
    // entry cannot be read never opens and asks for nothing.
    void pinLock_data()
    {
        QTest::addColumn<Pin>("pin");
        QTest::addColumn<bool>("unreadable");
        QTest::addColumn<QStringList>("entered"); // in order
        QTest::addColumn<bool>("locked");
        const Pin abcd = u"abcd"_s;
        QTest::newRow("no PIN") << Pin() << false << QStringList() << false;
        QTest::newRow("PIN, nothing entered") << abcd << false << QStringList() << true;
        QTest::newRow("wrong PIN") << abcd << false << QStringList{u"4321"_s} << true;
        QTest::newRow("PIN of another case") << abcd << false << QStringList{u"ABCD"_s} << true;
        QTest::newRow("PIN with a space") << abcd << false << QStringList{u"abcd "_s} << true;
        QTest::newRow("empty PIN entered") << abcd << false << QStringList{QString()} << true;
        QTest::newRow("right PIN") << abcd << false << QStringList{u"abcd"_s} << false;
        QTest::newRow("wrong, then right") << abcd << false << QStringList{u"1"_s, u"abcd"_s} << false;
        QTest::newRow("right, then wrong") << abcd << false << QStringList{u"abcd"_s, u"1"_s} << true;
        QTest::newRow("unreadable") << Pin() << true << QStringList{QString()} << true;
        QTest::newRow("unreadable beside a PIN") << abcd << true << QStringList{u"abcd"_s} << true;
    }
    void pinLock()
    {
        QFETCH(Pin, pin);
        QFETCH(bool, unreadable);
        QFETCH(QStringList, entered);
        QFETCH(bool, locked);
        FolderViewState state(false);
        state.setListing(true, pin, unreadable);
        state.setContents(1, true, true);
        for (const QString &typed : std::as_const(entered))
            state.enterPin(typed);
        QCOMPARE(state.isLocked(), locked);
        QCOMPARE(state.showsContents(), !locked);
        QCOMPARE(state.page(), locked ? Page::lock : Page::grid);
        QCOMPARE(state.isPinEntryEnabled(), !unreadable);
        QCOMPARE(state.acceptsDrop(), !locked);
        QCOMPARE(state.isSelectEnabled(), !locked);
        QCOMPARE(state.tap(false), locked ? Tap::nothing : Tap::openItem);
        QCOMPARE(state.showsTileMenu(false), !locked);
    }

    // The contents open once and close as soon as a listing locks them: nothing of a folder that
    // gained a PIN elsewhere stays listed.
    void contentsFollowTheLock_data()
    {
        QTest::addColumn<QList<Pin>>("listings"); // the PIN each listing reports; "abcd" is entered
        QTest::addColumn<int>("opened");
        QTest::addColumn<int>("closed");
        QTest::newRow("plain, listed twice") << QList<Pin>{Pin(), Pin()} << 1 << 0;
        QTest::newRow("a PIN set elsewhere") << QList<Pin>{Pin(), Pin(u"9999"_s)} << 1 << 1;
        QTest::newRow("the entered PIN set elsewhere") << QList<Pin>{Pin(), Pin(u"abcd"_s)} << 1 << 0;
        QTest::newRow("PIN removed elsewhere") << QList<Pin>{Pin(u"9999"_s), Pin()} << 1 << 0;
        QTest::newRow("PIN changed elsewhere") << QList<Pin>{Pin(u"abcd"_s), Pin(u"9999"_s)} << 1 << 1;
    }
    void contentsFollowTheLock()
    {
        QFETCH(QList<Pin>, listings);
        QFETCH(int, opened);
        QFETCH(int, closed);
        FolderViewState state(false);
        QSignalSpy opens(&state, &FolderViewState::contentsOpened);
        QSignalSpy closes(&state, &FolderViewState::contentsClosed);
        state.enterPin(u"abcd"_s);
        QCOMPARE(opens.count(), 0); // nothing before a listing
        for (const Pin &pin : std::as_const(listings))
            state.setListing(true, pin, false);
        QCOMPARE(opens.count(), opened);
        QCOMPARE(closes.count(), closed);
        QCOMPARE(state.showsContents(), opened > closed);
    }

    // Only a root offers to add a folder when empty; tips never show over the lock or before the
    // listing, and the one about picture gestures only where there are pictures.
    void pageAndTips_data()
    {
        QTest::addColumn<bool>("root");
        QTest::addColumn<int>("listings"); // 0: none yet; 2: listed, then closed
        QTest::addColumn<Pin>("pin");
        QTest::addColumn<int>("rows"); // pictures
        QTest::addColumn<Page>("page");
        QTest::addColumn<bool>("tip");
        QTest::addColumn<bool>("gesturesTip");
        const Pin abcd = u"abcd"_s;
        QTest::newRow("root before its listing") << true << 0 << Pin() << 0 << Page::blank << false << false;
        QTest::newRow("empty root") << true << 1 << Pin() << 0 << Page::empty << true << false;
        QTest::newRow("root with folders") << true << 1 << Pin() << 2 << Page::grid << true << true;
        QTest::newRow("sub-folder before its listing")
            << false << 0 << abcd << 0 << Page::blank << false << false;
        QTest::newRow("empty sub-folder") << false << 1 << Pin() << 0 << Page::grid << true << false;
        QTest::newRow("sub-folder with pictures") << false << 1 << Pin() << 3 << Page::grid << true << true;
        QTest::newRow("locked sub-folder") << false << 1 << abcd << 3 << Page::lock << false << false;
        QTest::newRow("closed listing") << false << 2 << Pin() << 3 << Page::blank << false << false;
    }
    void pageAndTips()
    {
        QFETCH(bool, root);
        QFETCH(int, listings);
        QFETCH(Pin, pin);
        QFETCH(int, rows);
        QFETCH(Page, page);
        QFETCH(bool, tip);
        QFETCH(bool, gesturesTip);
        FolderViewState state(root);
        QSignalSpy changed(&state, &FolderViewState::changed);
        state.setListing(listings > 0, pin, false);
        if (listings > 1)
            state.setListing(false, Pin(), false);
        state.setContents(rows, rows > 0, rows > 0);
        QCOMPARE(state.page(), page);
        QCOMPARE(state.showsTip(false), tip);
        QCOMPARE(state.showsTip(true), gesturesTip);
        QVERIFY(!state.isLocked() || listings > 0); // nothing is locked before a listing
        QCOMPARE(changed.count(), listings > 1 ? 3 : 2);
    }

    // "Select" is for files; share and delete need something selected; in selection mode a tap
    // toggles a file and ignores a folder.
    void selection_data()
    {
        QTest::addColumn<bool>("hasFiles");
        QTest::addColumn<bool>("selecting");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("selectEnabled");
        QTest::addColumn<Tap>("fileTap");
        QTest::addColumn<Tap>("folderTap");
        QTest::newRow("folders only") << false << false << 0 << false << Tap::openItem << Tap::openFolder;
        QTest::newRow("files") << true << false << 0 << true << Tap::openItem << Tap::openFolder;
        QTest::newRow("selecting, none chosen")
            << true << true << 0 << true << Tap::toggleSelection << Tap::nothing;
        QTest::newRow("selecting, two chosen")
            << true << true << 2 << true << Tap::toggleSelection << Tap::nothing;
        // The files went meanwhile: "Cancel" must still end the selection.
        QTest::newRow("selecting, files gone")
            << false << true << 0 << true << Tap::toggleSelection << Tap::nothing;
    }
    void selection()
    {
        QFETCH(bool, hasFiles);
        QFETCH(bool, selecting);
        QFETCH(int, count);
        QFETCH(bool, selectEnabled);
        QFETCH(Tap, fileTap);
        QFETCH(Tap, folderTap);
        FolderViewState state(true);
        state.setListing(true, Pin(), false);
        state.setContents(3, hasFiles, false);
        state.setSelection(selecting, count);
        QCOMPARE(state.isSelecting(), selecting);
        QCOMPARE(state.isSelectEnabled(), selectEnabled);
        QCOMPARE(state.areSelectionActionsEnabled(), count > 0);
        QCOMPARE(state.tap(false), fileTap);
        QCOMPARE(state.tap(true), folderTap);
        QCOMPARE(state.showsTileMenu(false), !selecting);
        QVERIFY(!state.showsTileMenu(true));
    }

    // The standard keys: Escape leaves Select mode before it closes the screen; Delete and
    // select-all act only in Select mode on a listed, open folder, Delete only with a selection.
    void keys_data()
    {
        QTest::addColumn<Key>("key");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<KeyEffect>("effect");
        const QList<std::pair<QString, std::array<KeyEffect, 4>>> table{
            // mode                   Escape                    Delete                      Ctrl+A F5
            {u"browsing"_s, {KeyEffect::close, KeyEffect::nothing, KeyEffect::nothing, KeyEffect::reload}},
            {u"selecting, none chosen"_s,
             {KeyEffect::leaveSelection, KeyEffect::nothing, KeyEffect::selectAll, KeyEffect::reload}},
            {u"selecting, two chosen"_s,
             {KeyEffect::leaveSelection, KeyEffect::deleteSelection, KeyEffect::selectAll,
              KeyEffect::reload}},
            {u"selecting, files gone"_s,
             {KeyEffect::leaveSelection, KeyEffect::nothing, KeyEffect::nothing, KeyEffect::reload}},
            {u"locked by its PIN"_s,
             {KeyEffect::close, KeyEffect::nothing, KeyEffect::nothing, KeyEffect::reload}},
            {u"not listed yet"_s,
             {KeyEffect::close, KeyEffect::nothing, KeyEffect::nothing, KeyEffect::reload}},
        };
        const std::array<Key, 4> keys{Key::escape, Key::deleteSelection, Key::selectAll, Key::reload};
        for (const auto &[mode, effects] : table) {
            for (std::size_t k = 0; k < keys.size(); ++k)
                QTest::addRow("%s, %s", QMetaEnum::fromType<Key>().valueToKey(int(keys[k])), qPrintable(mode))
                    << keys[k] << mode << effects[k];
        }
    }
    void keys()
    {
        QFETCH(Key, key);
        QFETCH(QString, mode);
        QFETCH(KeyEffect, effect);
        FolderViewState state(false);
        if (mode != u"not listed yet"_s)
            state.setListing(true, mode == u"locked by its PIN"_s ? Pin(u"abcd"_s) : Pin(), false);
        state.setContents(3, mode != u"selecting, files gone"_s, false);
        if (mode.startsWith(u"selecting"_s))
            state.setSelection(true, mode == u"selecting, two chosen"_s ? 2 : 0);
        QCOMPARE(state.key(key), effect);
    }
};

QTEST_GUILESS_MAIN(TestFolderViewState)
#include "TestFolderViewState.moc"
