#include "storage/PinEntry.h"

#include "drive/CloudDrive.h"
#include "drive/DriveError.h"
#include "security/FileEncryptor.h"
#include "security/SecretWipe.h"
#include "storage/FileNaming.h"

#include <QCoreApplication>
#include <QStringDecoder>

#include <algorithm>

namespace {
// Control characters cannot be typed into the PIN field: bytes that decrypt to them are damage.
bool isTypable(const QString &text)
{
    return std::none_of(text.cbegin(), text.cend(),
                        [](QChar c) { return c.category() == QChar::Other_Control; });
}
} // namespace

PinEntry PinEntry::readable(const QString &pin)
{
    PinEntry entry;
    entry.m_state = State::readable;
    entry.m_pin = pin;
    return entry;
}

PinEntry PinEntry::unreadable(const QString &problem)
{
    PinEntry entry;
    entry.m_state = State::unreadable;
    entry.m_problem = problem;
    return entry;
}

QString PinEntry::unreadableText()
{
    return QCoreApplication::translate("PinEntry", "The folder's PIN cannot be read");
}

PinEntry PinEntry::fromEncrypted(const QByteArray &encrypted, const QString &passcode)
{
    if (encrypted.size() > maxEntryBytes)
        return unreadable(QStringLiteral("the PIN entry is larger than %1 bytes").arg(maxEntryBytes));
    std::optional<QByteArray> plain = FileEncryptor::decrypt(encrypted, passcode);
    if (!plain)
        return unreadable(QStringLiteral("the PIN entry does not decrypt (cut short or damaged)"));
    // A leading U+FEFF is part of the PIN as typed, not a byte-order mark.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8.decode(*plain);
    wipeSecret(*plain);
    const bool valid = !utf8.hasError();
    const QString pin = text.trimmed();
    wipeSecret(text);
    if (!valid || !isTypable(pin))
        return unreadable(QStringLiteral("the PIN entry decrypts to bytes no PIN has"));
    if (pin.isEmpty())
        return unreadable(QStringLiteral("the PIN entry is empty"));
    return readable(pin);
}

PinEntry PinEntry::read(const CloudDrive &drive, const QByteArrayList &listedPaths,
                        const std::optional<QString> &passcode)
{
    if (listedPaths.isEmpty())
        return {};
    if (!passcode)
        return unreadable(QStringLiteral("no passcode to decrypt the PIN entry with"));
    std::optional<PinEntry> found;
    for (const QByteArray &path : listedPaths) {
        PinEntry entry;
        try {
            entry = fromEncrypted(drive.readListedFile(path, maxEntryBytes), *passcode);
        } catch (const DriveError &error) {
            return unreadable(error.description());
        }
        if (entry.isUnreadable())
            return entry;
        // Copies a sync client left under another spelling of the name must agree.
        if (found && found->pin() != entry.pin())
            return unreadable(QStringLiteral("the folder's PIN entries hold different PINs"));
        found = entry;
    }
    return *found;
}

QByteArrayList PinEntry::entriesIn(const CloudDrive &drive)
{
    QByteArrayList entries;
    for (const DirectoryEntry &entry :
         drive.entriesOfDirectory(RootRelativePath::root(), HiddenFiles::skip)) {
        const QString name = entry.path.mid(entry.path.lastIndexOf(u'/') + 1);
        if (entry.kind == DirectoryEntry::Kind::file &&
            FileNaming::shownName(name).fullName().compare(FileNaming::pinFileName(), Qt::CaseInsensitive) ==
                0)
            entries.append(entry.nativePath);
    }
    return entries;
}
