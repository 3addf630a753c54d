#include "FuzzSupport.h"
#include "security/FileEncryptor.h"
#include "storage/PinEntry.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstdint>

namespace {
// The passcode of the tests; corpus/FuzzPinEntry holds entries encrypted with it.
const QString Passcode = QStringLiteral("passcode1");

void checkEntry(const PinEntry &entry)
{
    if (entry.state() == PinEntry::State::readable) {
        FUZZ_REQUIRE(!entry.pin().isEmpty() && entry.pin() == entry.pin().trimmed());
        FUZZ_REQUIRE(entry.problem().isEmpty());
        for (const QChar c : entry.pin())
            FUZZ_REQUIRE(c.category() != QChar::Other_Control);
    } else {
        // Never absent: an entry that is there either holds a PIN or keeps the folder locked.
        FUZZ_REQUIRE(entry.state() == PinEntry::State::unreadable);
        FUZZ_REQUIRE(entry.pin().isEmpty() && !entry.problem().isEmpty());
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool silenced = [] {
        silenceProductLogs();
        return true;
    }();
    Q_UNUSED(silenced);
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    // Whatever a sync client left under the entry's name.
    const PinEntry entry = PinEntry::fromEncrypted(bytes, Passcode);
    checkEntry(entry);
    if (bytes.size() > PinEntry::maxEntryBytes)
        FUZZ_REQUIRE(entry.isUnreadable());

    // What the vault writes for a PIN reads back as that PIN.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString typed = QString(utf8.decode(bytes)).trimmed();
    const std::optional<QByteArray> written = FileEncryptor::encrypt(typed.toUtf8(), Passcode);
    FUZZ_REQUIRE(written.has_value());
    const PinEntry back = PinEntry::fromEncrypted(*written, Passcode);
    checkEntry(back);
    const bool typable = std::none_of(typed.cbegin(), typed.cend(),
                                      [](QChar c) { return c.category() == QChar::Other_Control; });
    if (!utf8.hasError() && !typed.isEmpty() && typable && written->size() <= PinEntry::maxEntryBytes)
        FUZZ_REQUIRE(back.state() == PinEntry::State::readable && back.pin() == typed);
    return 0;
}
