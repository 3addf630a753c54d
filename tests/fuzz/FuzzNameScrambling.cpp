#include "FuzzSupport.h"
#include "security/TwoPairSubstitutionObfuscator.h"
#include "storage/FileNaming.h"
#include "storage/SyncConflictName.h"

#include <QFile>
#include <QStringDecoder>

#include <cstdint>
#include <cstring>

namespace {

const TwoPairSubstitutionObfuscator &obfuscator()
{
    return TwoPairSubstitutionObfuscator::shared();
}

// Only alphabet characters change, each into another, in place; the padding space is the only
// addition. So no "/", NUL or leading dot can appear that the name did not have.
void checkInPlace(const QString &name, const QString &scrambled)
{
    const QString &alphabet = TwoPairSubstitutionObfuscator::alphabet();
    FUZZ_REQUIRE(scrambled.size() == name.size() ||
                 (scrambled.size() == name.size() + 1 && scrambled.endsWith(u' ')));
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (alphabet.contains(name.at(i)))
            FUZZ_REQUIRE(alphabet.contains(scrambled.at(i)));
        else
            FUZZ_REQUIRE(scrambled.at(i) == name.at(i));
    }
}

void checkRoundTrip(const QString &name)
{
    const QString scrambled = obfuscator().encode(name);
    checkInPlace(name, scrambled);
    FUZZ_REQUIRE(obfuscator().decode(scrambled) == name.trimmed());
    // On disk the padding is trimmed away; the listing must still find the clear name.
    const QString clear = name.trimmed();
    const QString stored = FileNaming::storedFileName(clear);
    FUZZ_REQUIRE(obfuscator().decode(stored) == clear);
    FUZZ_REQUIRE(stored.startsWith(u'.') == clear.startsWith(u'.'));
}

// A name `add` accepts is listed by that very name, and is not one the listing hides.
void checkKeptName(const QString &name)
{
    const FileNaming::ShownName shown = FileNaming::shownName(FileNaming::storedFileName(name));
    if (FileNaming::keepsItsName(name))
        FUZZ_REQUIRE(shown.fullName() == name);
    if (FileNaming::isStorableFileName(name))
        FUZZ_REQUIRE(!FileNaming::isHiddenFromListing(shown.fullName()) && !name.trimmed().isEmpty());
}

// A conflict copy's label only ever grows with detail, so that told apart it still reads the same.
void checkShownName(const QString &onDisk)
{
    const FileNaming::ShownName shown = FileNaming::shownName(onDisk);
    FUZZ_REQUIRE(!shown.name.contains(u'/') || onDisk.contains(u'/'));
    const std::optional<SyncConflictName> conflict = SyncConflictName::parse(onDisk);
    if (!conflict)
        return;
    using Detail = SyncConflictName::Detail;
    FUZZ_REQUIRE(conflict->date.isValid() && !conflict->storedName.isEmpty());
    FUZZ_REQUIRE(conflict->label(Detail::seconds).startsWith(conflict->label(Detail::minutes)));
    FUZZ_REQUIRE(conflict->label(Detail::tag).startsWith(conflict->label(Detail::seconds)));
    FUZZ_REQUIRE(
        FileNaming::shownName(onDisk, Detail::tag).name.startsWith(shown.name.left(shown.name.size() - 1)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        checkRoundTrip(text);
        checkKeptName(text);
    }

    // Any on-disk name, as the directory read hands it over.
    const QString onDisk = QFile::decodeName(bytes);
    FUZZ_REQUIRE(obfuscator().decode(onDisk).size() <= onDisk.size() + 1);
    checkShownName(onDisk);

    // Any UTF-16, unpaired surrogates included.
    QString units(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(units.data(), data, size_t(units.size()) * sizeof(char16_t));
    checkInPlace(units, obfuscator().encode(units));
    FUZZ_REQUIRE(obfuscator().decode(units).size() <= units.size() + 1);
    return 0;
}
