#include "ui/folder/FolderViewState.h"

FolderViewState::FolderViewState(bool folderAddOk, QObject *parent)
    : QObject(parent), m_folderAddOk(folderAddOk)
{}

FolderViewState::Page FolderViewState::page() const
{
    if (!m_listed)
        return Page::blank;
    if (m_locked)
        return Page::lock;
    if (!showsContents())
        return Page::blank;
    // An empty sub-folder shows an empty grid; only a root offers to add a folder.
    return m_rows > 0 || !m_folderAddOk ? Page::grid : Page::empty;
}

bool FolderViewState::showsTip(bool aboutPictures) const
{
    const Page shown = page();
    return (!aboutPictures || m_containsPhotos) && shown != Page::lock && shown != Page::blank;
}

FolderViewState::Tap FolderViewState::tap(bool isFolder) const
{
    if (m_locked || !showsContents())
        return Tap::nothing;
    if (m_selecting)
        return isFolder ? Tap::nothing : Tap::toggleSelection;
    return isFolder ? Tap::openFolder : Tap::openItem;
}

FolderViewState::KeyEffect FolderViewState::key(Key key) const
{
    const bool choosing = m_selecting && showsContents();
    switch (key) {
    case Key::escape:
        return m_selecting ? KeyEffect::leaveSelection : KeyEffect::close;
    case Key::deleteSelection:
        return choosing && m_selectedCount > 0 ? KeyEffect::deleteSelection : KeyEffect::nothing;
    case Key::selectAll:
        return choosing && m_hasFiles ? KeyEffect::selectAll : KeyEffect::nothing;
    case Key::reload:
        return KeyEffect::reload;
    }
    return KeyEffect::nothing;
}

void FolderViewState::setListing(bool listed, const std::optional<QString> &pin, bool pinUnreadable)
{
    const bool showed = showsContents();
    m_listed = listed;
    if (listed) {
        m_seenListing = true;
        m_pin = pin;
        m_pinUnreadable = pinUnreadable;
    }
    relock(showed);
}

void FolderViewState::enterPin(const QString &pin)
{
    const bool showed = showsContents();
    m_enteredPin = pin;
    relock(showed);
}

void FolderViewState::relock(bool showed)
{
    if (m_listed)
        m_locked = m_pinUnreadable || (m_pin.has_value() && *m_pin != m_enteredPin);
    if (showed && !showsContents())
        Q_EMIT contentsClosed();
    else if (!showed && showsContents())
        Q_EMIT contentsOpened();
    Q_EMIT changed();
}

void FolderViewState::setContents(int rows, bool hasFiles, bool containsPhotos)
{
    m_rows = rows;
    m_hasFiles = hasFiles;
    m_containsPhotos = containsPhotos;
    Q_EMIT changed();
}

void FolderViewState::setSelection(bool selecting, int selectedCount)
{
    m_selecting = selecting;
    m_selectedCount = selectedCount;
    Q_EMIT changed();
}
