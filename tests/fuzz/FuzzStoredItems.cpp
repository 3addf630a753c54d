#include "FuzzSupport.h"
#include "TestHome.h"
#include "TestSession.h"
#include "core/AppPaths.h"
#include "drive/NativePath.h"
#include "security/InMemoryCredentialBackend.h"
#include "security/KeyChainHelper.h"
#include "storage/DriveNotificationCenter.h"
#include "storage/FileNaming.h"
#include "storage/ItemCollection.h"
#include "storage/ItemListModel.h"
#include "storage/StoredItem.h"
#include "storage/SyncConflictName.h"

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <QTimer>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

// Input: one byte choosing the listing (all, files, folders), then entries, each a flags byte, a
// length byte (two, little-endian, with LongName) and that many bytes of name.
namespace {

enum Flag : uint8_t {
    Folder = 1,    // a folder, its name in clear; else a file
    Scrambled = 2, // a file stored under the scrambled form of the name, as an import does
    LongName = 4,
    Utf16 = 8,  // the bytes are UTF-16 (unpaired surrogates too): never on disk, only in memory
    Cloud = 16, // the in-memory item belongs to the cloud tree
};
constexpr int MaxEntries = 12;
constexpr FileItemType ListingTypes[] = {FileItemType::all, FileItemType::file, FileItemType::directory};

struct Entry
{
    uint8_t flags = 0;
    QByteArray name;
};

QList<Entry> entriesOf(const uint8_t *data, size_t size)
{
    QList<Entry> entries;
    size_t at = 0;
    while (at + 2 <= size && entries.size() < MaxEntries) {
        Entry entry;
        entry.flags = data[at++];
        size_t length = data[at++];
        if ((entry.flags & LongName) && at < size)
            length |= size_t(data[at++]) << 8;
        length = std::min(length, size - at);
        entry.name = QByteArray(reinterpret_cast<const char *>(data + at), qsizetype(length));
        at += length;
        entries.append(entry);
    }
    return entries;
}

// In any letter case, as the listing compares.
bool isPinName(const StoredItem &item)
{
    return item.fullName().toLower() == FileNaming::pinFileName().toLower();
}

// The exact on-disk name.
QByteArray lastComponent(const StoredItem &item)
{
    const QByteArray path = NativePath::fromUrl(item.url());
    return path.mid(path.lastIndexOf('/') + 1);
}

// A clear name whose display must come back unchanged: trimmed, visible, no "/", and its
// extension (after the last dot) unpadded and found only once as ".ext".
bool showsAsItself(const QString &clear)
{
    if (clear.isEmpty() || clear != clear.trimmed() || clear.startsWith(u'.') || clear.contains(u'/'))
        return false;
    const qsizetype dot = clear.lastIndexOf(u'.');
    const QString ext = dot > 0 ? clear.mid(dot + 1) : QString();
    return ext.isEmpty() || (ext == ext.trimmed() && clear.count(u'.' + ext) == 1);
}

// PIN-named entries first (in listing order), then folders A→Z, pictures, PDFs, documents and other
// files each Z→A, by scalar values; equal names in listing order.
int group(const StoredItem &item)
{
    using FileType = StoredItem::StoredFileType;
    if (isPinName(item))
        return 0;
    if (item.itemType() == StoredItem::StoredItemType::directory)
        return 1;
    switch (item.fileType()) {
    case FileType::image:
        return 2;
    case FileType::pdf:
        return 3;
    case FileType::content:
        return 4;
    case FileType::unknown:
        break;
    }
    return 5;
}

// input: what was arranged, to check that each item comes once and ties keep their order;
// empty when unknown.
void checkArrangement(const QList<StoredItemPtr> &arranged, const QList<StoredItemPtr> &input)
{
    QHash<const StoredItem *, qsizetype> position;
    for (qsizetype i = 0; i < input.size(); ++i)
        position.insert(input.at(i).get(), i);
    if (!input.isEmpty()) {
        FUZZ_REQUIRE(arranged.size() == input.size());
        QSet<const StoredItem *> seen;
        for (const StoredItemPtr &item : arranged) {
            FUZZ_REQUIRE(position.contains(item.get()) && !seen.contains(item.get()));
            seen.insert(item.get());
        }
    }
    for (qsizetype i = 1; i < arranged.size(); ++i) {
        const StoredItem &before = *arranged.at(i - 1);
        const StoredItem &after = *arranged.at(i);
        const int groupBefore = group(before);
        FUZZ_REQUIRE(groupBefore <= group(after));
        if (groupBefore != group(after))
            continue;
        const QList<uint> keyBefore = before.fullName().toUcs4();
        const QList<uint> keyAfter = after.fullName().toUcs4();
        if (groupBefore == 1)
            FUZZ_REQUIRE(!(keyAfter < keyBefore));
        else if (groupBefore > 1)
            FUZZ_REQUIRE(!(keyBefore < keyAfter));
        if ((groupBefore == 0 || keyBefore == keyAfter) && !input.isEmpty())
            FUZZ_REQUIRE(position.value(&before) < position.value(&after));
    }
}

void checkItem(const StoredItem &item)
{
    const bool isFile = item.itemType() == StoredItem::StoredItemType::file;
    FUZZ_REQUIRE(item.fileType() ==
                 (isFile ? StoredItem::fileType(item.ext()) : StoredItem::StoredFileType::unknown));
    FUZZ_REQUIRE(item.fullName() ==
                 (item.ext().trimmed().isEmpty() ? item.name() : item.name() + u'.' + item.ext()));
    FUZZ_REQUIRE(!item.id().isEmpty() && !item.placeholderURL().isEmpty());
}

// A private home with a local vault, and a listing of its root for each kind of listing.
struct Vault
{
    TestHome home;
    int argc = 1;
    char name[16] = "FuzzStoredItems";
    char *argv[2] = {name, nullptr};
    QCoreApplication application{argc, argv};
    QByteArray root;
    std::unique_ptr<ItemCollection> collections[3];
    std::unique_ptr<ItemListModel> models[3];
    std::unique_ptr<QAbstractItemModelTester> testers[3];

    Vault()
    {
        silenceProductLogs();
        KeyChainHelper::shared().setBackend(std::make_unique<InMemoryCredentialBackend>());
        FUZZ_REQUIRE(KeyChainHelper::shared().saveKey(QStringLiteral("passcode1")));
        FUZZ_REQUIRE(unlockVaultForTest(QStringLiteral("passcode1")));
        FUZZ_REQUIRE(AppPaths::makePrivateFolders(AppPaths::documentsDirectory()));
        root = QFile::encodeName(AppPaths::documentsDirectory());
        for (int i = 0; i < 3; ++i) {
            collections[i] =
                std::make_unique<ItemCollection>(StorageLocation::local, ListingTypes[i], QString());
            collections[i]->setSession(testSession());
            // Change reports would start listings of their own, racing the one each input waits for.
            QObject::disconnect(&DriveNotificationCenter::shared(), nullptr, collections[i].get(), nullptr);
            models[i] = std::make_unique<ItemListModel>(collections[i].get());
            testers[i] = std::make_unique<QAbstractItemModelTester>(
                models[i].get(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        }
    }

    QByteArray pathOf(const QByteArray &name) const { return root + '/' + name; }

    bool create(const QByteArray &name, bool folder) const
    {
        if (name.isEmpty() || name == "." || name == ".." || name.contains('/') || name.contains('\0'))
            return false;
        const QByteArray path = pathOf(name);
        if (folder)
            return ::mkdir(path.constData(), 0700) == 0;
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        return fd >= 0 && ::close(fd) == 0;
    }

    // Raw bytes, so that names no QString can carry go too.
    void empty() const
    {
        DIR *dir = ::opendir(root.constData());
        FUZZ_REQUIRE(dir);
        while (const dirent *entry = ::readdir(dir)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                FUZZ_REQUIRE(::unlinkat(dirfd(dir), entry->d_name, 0) == 0 ||
                             ::unlinkat(dirfd(dir), entry->d_name, AT_REMOVEDIR) == 0);
        }
        ::closedir(dir);
    }

    void relist(ItemCollection &collection) const
    {
        QEventLoop loop;
        bool listed = false;
        QObject::connect(&collection, &ItemCollection::timestampChanged, &loop, [&] {
            listed = true;
            loop.quit();
        });
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        collection.reload();
        loop.exec();
        FUZZ_REQUIRE(listed);
    }
};

Vault &vault()
{
    static Vault instance;
    return instance;
}

QString clearName(const Entry &entry)
{
    if (!(entry.flags & Utf16))
        return QString::fromUtf8(entry.name);
    QString units(entry.name.size() / 2, Qt::Uninitialized);
    std::memcpy(units.data(), entry.name.constData(), size_t(units.size()) * sizeof(char16_t));
    return units;
}

bool isUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString decoded = decoder.decode(bytes); // decodes only when made a QString
    return !decoder.hasError();
}

bool wanted(FileItemType type, const StoredItem &item)
{
    const bool folder = item.itemType() == StoredItem::StoredItemType::directory;
    return type == FileItemType::all || (type == FileItemType::directory) == folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    Vault &v = vault();
    const int listing = data[0] % 3;
    const QString rootPath = QFile::decodeName(v.root);

    // What the listing must show (by exact on-disk name), and every item to arrange.
    QHash<QByteArray, StoredItemPtr> expected;
    QList<StoredItemPtr> items;
    for (const Entry &entry : entriesOf(data + 1, size - 1)) {
        const bool folder = entry.flags & Folder;
        const QString clear = clearName(entry);
        const bool scrambled = (entry.flags & Scrambled) && !folder;
        const QByteArray onDisk =
            scrambled ? QFile::encodeName(FileNaming::storedFileName(clear)) : entry.name;
        if (!(entry.flags & Utf16) && v.create(onDisk, folder)) {
            if (onDisk.startsWith('.'))
                continue; // hidden: never listed
            // Every entry there is must make an item, whatever bytes its name has.
            const QByteArray path = v.pathOf(onDisk);
            StoredItemPtr item;
            try {
                item = StoredItem::makeStoredItem(NativePath::toUrl(path), StorageLocation::local, rootPath);
            } catch (const std::exception &error) {
                std::fprintf(stderr, "an existing entry could not be read: %s\n", error.what());
                FUZZ_REQUIRE(false);
            }
            FUZZ_REQUIRE(NativePath::fromUrl(item->url()) == path);
            FUZZ_REQUIRE(item->itemType() ==
                         (folder ? StoredItem::StoredItemType::directory : StoredItem::StoredItemType::file));
            if (folder)
                FUZZ_REQUIRE(item->ext().isEmpty() &&
                             (!isUtf8(onDisk) || item->name() == QFile::decodeName(onDisk)));
            else
                FUZZ_REQUIRE(!item->name().contains(u'/') && !item->ext().contains(u'.') &&
                             item->ext() == item->ext().trimmed());
            if (scrambled && showsAsItself(clear) && !SyncConflictName::parse(QFile::decodeName(onDisk)))
                FUZZ_REQUIRE(item->fullName() == clear);
            checkItem(*item);
            items.append(item);
            if (!isPinName(*item) && wanted(ListingTypes[listing], *item))
                expected.insert(onDisk, item);
            continue;
        }
        // Not possible on disk ("/", NUL, too long, taken, not a name): the item as made in memory.
        const qsizetype dot = clear.lastIndexOf(u'.');
        const StoredItemPtr item = std::make_shared<StoredItem>(
            QUrl::fromLocalFile(rootPath + u'/' + clear), dot < 0 ? clear : clear.left(dot),
            dot < 0 ? QString() : clear.mid(dot + 1), !folder,
            (entry.flags & Cloud) ? StorageLocation::cloud : StorageLocation::local, rootPath);
        checkItem(*item);
        items.append(item);
    }
    checkArrangement(ItemCollection::arrangeItems(items), items);

    // The same folder through the vault's own listing and the list model of the views.
    ItemCollection &collection = *v.collections[listing];
    const ItemListModel &model = *v.models[listing];
    v.relist(collection);
    const QList<StoredItemPtr> listed = collection.items();
    checkArrangement(listed, {});
    FUZZ_REQUIRE(model.rowCount() == listed.size());
    QSet<QByteArray> shown;
    for (int row = 0; row < model.rowCount(); ++row) {
        const StoredItemPtr item = model.itemAt(row);
        FUZZ_REQUIRE(item && item == listed.at(row));
        const QModelIndex index = model.index(row);
        FUZZ_REQUIRE(model.data(index).toString() == item->fullName());
        FUZZ_REQUIRE(model.data(index, ItemListModel::FullNameRole).toString() == item->fullName());
        FUZZ_REQUIRE(model.data(index, ItemListModel::IdRole).toString() == item->id());
        FUZZ_REQUIRE(model.data(index, ItemListModel::NameRole).toString() == item->name());
        FUZZ_REQUIRE(model.data(index, ItemListModel::ExtensionRole).toString() == item->ext());
        FUZZ_REQUIRE(model.data(index, ItemListModel::FileTypeRole).toString() == rawValue(item->fileType()));
        FUZZ_REQUIRE(model.data(index, ItemListModel::IsFolderRole).toBool() ==
                     (item->itemType() == StoredItem::StoredItemType::directory));
        FUZZ_REQUIRE(model.data(index, ItemListModel::UrlRole).toUrl() == item->url());
        const QByteArray onDisk = lastComponent(*item);
        FUZZ_REQUIRE(!shown.contains(onDisk));
        shown.insert(onDisk);
        const StoredItemPtr direct = expected.value(onDisk);
        FUZZ_REQUIRE(direct && direct->fullName() == item->fullName() &&
                     direct->fileType() == item->fileType());
    }
    FUZZ_REQUIRE(shown.size() == expected.size());
    FUZZ_REQUIRE(!model.itemAt(-1) && !model.itemAt(model.rowCount()));

    v.empty();
    return 0;
}
