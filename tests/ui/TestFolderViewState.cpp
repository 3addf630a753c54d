#include "ui/folder/FolderViewState.h"

#include <QSignalSpy>
#include <QtTest>

using namespace Qt::StringLiterals;

using Page = FolderViewState::Page;
using Tap = FolderViewState::Tap;
using Pin = std::optional<QString>;

Q_DECLARE_METATYPE(Pin)

namespace {

// A sub-folder listed with the given PIN entry and holding one picture.
std::unique_ptr<FolderViewState> listed(const Pin &pin, bool unreadable = false)
{
    auto state = std::make_unique<FolderViewState>(false);
    state->setListing(true, pin, unreadable);
    state->setContents(1, true, true);
    return state;
}

} // namespace

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
        QTest::newRow("no PIN") << Pin() << false << QStringList() << false;
        QTest::newRow("PIN, nothing entered") << Pin(u"abcd"_s) << false << QStringList() << true;
        QTest::newRow("wrong PIN") << Pin(u"abcd"_s) << false << QStringList{u"4321"_s} << true;
        QTest::newRow("PIN of another case") << Pin(u"abcd"_s) << false << QStringList{u"ABCD"_s} << true;
        QTest::newRow("PIN with a space") << Pin(u"abcd"_s) << false << QStringList{u"abcd "_s} << true;
        QTest::newRow("empty PIN entered") << Pin(u"abcd"_s) << false << QStringList{QString()} << true;
        QTest::newRow("right PIN") << Pin(u"abcd"_s) << false << QStringList{u"abcd"_s} << false;
        QTest::newRow("wrong, then right")
            << Pin(u"abcd"_s) << false << QStringList{u"1"_s, u"abcd"_s} << false;
        QTest::newRow("right, then wrong")
            << Pin(u"abcd"_s) << false << QStringList{u"abcd"_s, u"1"_s} << true;
        QTest::newRow("unreadable") << Pin() << true << QStringList() << true;
        QTest::newRow("unreadable, a PIN entered") << Pin() << true << QStringList{QString()} << true;
        QTest::newRow("unreadable beside a PIN") << Pin(u"abcd"_s) << true << QStringList{u"abcd"_s} << true;
    }
    void pinLock()
    {
        QFETCH(Pin, pin);
        QFETCH(bool, unreadable);
        QFETCH(QStringList, entered);
        QFETCH(bool, locked);
        const auto state = listed(pin, unreadable);
        for (const QString &typed : std::as_const(entered))
            state->enterPin(typed);
        QCOMPARE(state->isLocked(), locked);
        QCOMPARE(state->showsContents(), !locked);
        QCOMPARE(state->page(), locked ? Page::lock : Page::grid);
        QCOMPARE(state->isPinUnreadable(), unreadable);
        QCOMPARE(state->isPinEntryEnabled(), !unreadable);
        QCOMPARE(state->acceptsDrop(), !locked);
        QCOMPARE(state->isSelectEnabled(), !locked);
        QCOMPARE(state->tap(false), locked ? Tap::nothing : Tap::openItem);
        QCOMPARE(state->showsTileMenu(false), !locked);
    }

    // The contents are opened once and closed as soon as a listing locks them, so that nothing
    // of a folder that gained a PIN elsewhere stays listed.
    void contentsFollowTheLock_data()
    {
        QTest::addColumn<QList<Pin>>("listings"); // the PIN each listing reports; "abcd" is entered
        QTest::addColumn<int>("opened");
        QTest::addColumn<int>("closed");
        QTest::addColumn<bool>("shows");
        QTest::newRow("plain, listed twice") << QList<Pin>{Pin(), Pin()} << 1 << 0 << true;
        QTest::newRow("a PIN set elsewhere") << QList<Pin>{Pin(), Pin(u"9999"_s)} << 1 << 1 << false;
        QTest::newRow("the entered PIN set elsewhere") << QList<Pin>{Pin(), Pin(u"abcd"_s)} << 1 << 0 << true;
        QTest::newRow("PIN removed elsewhere") << QList<Pin>{Pin(u"9999"_s), Pin()} << 1 << 0 << true;
        QTest::newRow("PIN changed elsewhere")
            << QList<Pin>{Pin(u"abcd"_s), Pin(u"9999"_s)} << 1 << 1 << false;
    }
    void contentsFollowTheLock()
    {
        QFETCH(QList<Pin>, listings);
        QFETCH(int, opened);
        QFETCH(int, closed);
        QFETCH(bool, shows);
        FolderViewState state(false);
        QSignalSpy opens(&state, &FolderViewState::contentsOpened);
        QSignalSpy closes(&state, &FolderViewState::contentsClosed);
        QVERIFY(!state.showsContents());
        state.enterPin(u"abcd"_s);
        QCOMPARE(opens.count(), 0); // nothing before a listing
        for (const Pin &pin : std::as_const(listings))
            state.setListing(true, pin, false);
        QCOMPARE(opens.count(), opened);
        QCOMPARE(closes.count(), closed);
        QCOMPARE(state.showsContents(), shows);
        QCOMPARE(state.isLocked(), !shows);
    }

    void page_data()
    {
        QTest::addColumn<bool>("root");
        QTest::addColumn<bool>("listed");
        QTest::addColumn<Pin>("pin");
        QTest::addColumn<int>("rows");
        QTest::addColumn<Page>("page");
        QTest::newRow("root before its listing") << true << false << Pin() << 0 << Page::blank;
        QTest::newRow("empty root") << true << true << Pin() << 0 << Page::empty;
        QTest::newRow("root with folders") << true << true << Pin() << 2 << Page::grid;
        QTest::newRow("sub-folder before its listing")
            << false << false << Pin(u"abcd"_s) << 0 << Page::blank;
        QTest::newRow("empty sub-folder") << false << true << Pin() << 0 << Page::grid;
        QTest::newRow("sub-folder with photos") << false << true << Pin() << 3 << Page::grid;
        QTest::newRow("locked sub-folder") << false << true << Pin(u"abcd"_s) << 3 << Page::lock;
        QTest::newRow("locked, empty sub-folder") << false << true << Pin(u"abcd"_s) << 0 << Page::lock;
    }
    void page()
    {
        QFETCH(bool, root);
        QFETCH(bool, listed);
        QFETCH(Pin, pin);
        QFETCH(int, rows);
        QFETCH(Page, page);
        FolderViewState state(root);
        QSignalSpy changed(&state, &FolderViewState::changed);
        state.setListing(listed, pin, false);
        state.setContents(rows, rows > 0, rows > 0);
        QCOMPARE(state.page(), page);
        QVERIFY(changed.count() > 0);
    }

    // A listing that is gone again (the collection closed) shows nothing, but opens no lock.
    void closedListingShowsNothing()
    {
        const auto state = listed(Pin(u"abcd"_s));
        state->enterPin(u"abcd"_s);
        state->setListing(false, Pin(), false);
        QCOMPARE(state->page(), Page::blank);
        QVERIFY(!state->isLocked());
        QVERIFY(!state->showsTip(false));
        state->setListing(true, Pin(u"abcd"_s), false);
        QCOMPARE(state->page(), Page::grid);
    }

    void tips_data()
    {
        QTest::addColumn<Pin>("pin");
        QTest::addColumn<bool>("photos");
        QTest::addColumn<bool>("aboutPictures");
        QTest::addColumn<bool>("shown");
        QTest::newRow("general tip") << Pin() << false << false << true;
        QTest::newRow("gestures tip, no pictures") << Pin() << false << true << false;
        QTest::newRow("gestures tip, pictures") << Pin() << true << true << true;
        QTest::newRow("over the lock") << Pin(u"abcd"_s) << true << false << false;
        QTest::newRow("gestures over the lock") << Pin(u"abcd"_s) << true << true << false;
    }
    void tips()
    {
        QFETCH(Pin, pin);
        QFETCH(bool, photos);
        QFETCH(bool, aboutPictures);
        QFETCH(bool, shown);
        FolderViewState state(false);
        QVERIFY(!state.showsTip(false)); // before the listing
        state.setListing(true, pin, false);
        state.setContents(2, true, photos);
        QCOMPARE(state.showsTip(aboutPictures), shown);
    }

    // "Select" is for files; the selection's share and delete need something selected; a tap in
    // selection mode toggles a file and ignores a folder.
    void selection_data()
    {
        QTest::addColumn<bool>("hasFiles");
        QTest::addColumn<bool>("selecting");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("selectEnabled");
        QTest::addColumn<bool>("actions");
        QTest::addColumn<Tap>("fileTap");
        QTest::addColumn<Tap>("folderTap");
        QTest::newRow("folders only")
            << false << false << 0 << false << false << Tap::openItem << Tap::openFolder;
        QTest::newRow("files") << true << false << 0 << true << false << Tap::openItem << Tap::openFolder;
        QTest::newRow("selecting, none chosen")
            << true << true << 0 << true << false << Tap::toggleSelection << Tap::nothing;
        QTest::newRow("selecting, two chosen")
            << true << true << 2 << true << true << Tap::toggleSelection << Tap::nothing;
        // The files went meanwhile: "Cancel" must still end the selection.
        QTest::newRow("selecting, files gone")
            << false << true << 0 << true << false << Tap::toggleSelection << Tap::nothing;
    }
    void selection()
    {
        QFETCH(bool, hasFiles);
        QFETCH(bool, selecting);
        QFETCH(int, count);
        QFETCH(bool, selectEnabled);
        QFETCH(bool, actions);
        QFETCH(Tap, fileTap);
        QFETCH(Tap, folderTap);
        FolderViewState state(true);
        state.setListing(true, Pin(), false);
        state.setContents(3, hasFiles, false);
        state.setSelection(selecting, count);
        QCOMPARE(state.isSelecting(), selecting);
        QCOMPARE(state.selectedCount(), count);
        QCOMPARE(state.isSelectEnabled(), selectEnabled);
        QCOMPARE(state.areSelectionActionsEnabled(), actions);
        QCOMPARE(state.tap(false), fileTap);
        QCOMPARE(state.tap(true), folderTap);
        QCOMPARE(state.showsTileMenu(false), !selecting);
        QVERIFY(!state.showsTileMenu(true));
    }
};

QTEST_GUILESS_MAIN(TestFolderViewState)
#include "TestFolderViewState.moc"
