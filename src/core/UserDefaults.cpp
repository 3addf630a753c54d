#include "core/UserDefaults.h"

#include "core/Logging.h"
#include "core/SharedConstants.h"
#include "core/SharedData.h"

#include <QMetaEnum>
#include <QMutex>

#include <algorithm>

namespace {

QMutex &storeFileMutex()
{
    static QMutex mutex;
    return mutex;
}

QString &storeFileOverride()
{
    static QString path;
    return path;
}

std::unique_ptr<QSettings> openSuite()
{
    QMutexLocker lock(&storeFileMutex());
    if (!storeFileOverride().isEmpty())
        return std::make_unique<QSettings>(storeFileOverride(), QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       SharedConstants::suiteName);
}

std::unique_ptr<QSettings> openStandard()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Morvenda"),
                                       QStringLiteral("Lumisera"));
}

std::unique_ptr<QSettings> synchronized()
{
    auto store = UserDefaults::appDefaults();
    store->sync();
    return store;
}
} // namespace

UserDefaults &UserDefaults::shared()
{
    static UserDefaults instance;
    return instance;
}

std::unique_ptr<QSettings> UserDefaults::appDefaults()
{
    auto store = openSuite();
    if (store->status() != QSettings::NoError) {
        logError(QStringLiteral("Failed to get shared defaults"), QStringLiteral("UserDefaults"),
                 QStringLiteral("appDefaults"));
        return openStandard();
    }
    return store;
}

void UserDefaults::setStoreFile(const QString &path)
{
    QMutexLocker lock(&storeFileMutex());
    storeFileOverride() = path;
}

QString UserDefaults::keyName(Key key)
{
    return QString::fromLatin1(QMetaEnum::fromType<Key>().valueToKey(static_cast<int>(key)));
}

QList<UserDefaults::Key> UserDefaults::allKeys()
{
    QList<Key> keys;
    const QMetaEnum meta = QMetaEnum::fromType<Key>();
    for (int i = 0; i < meta.keyCount(); ++i)
        keys.append(static_cast<Key>(meta.value(i)));
    return keys;
}

QVariant UserDefaults::defaultValue(Key key)
{
    switch (key) {
    case Key::author:
        return QStringLiteral("Unknown Author");
    case Key::quote:
        return QStringLiteral("Live for today, tomorrow is not a given.");
    case Key::quoteSet:
        return QString();
    case Key::backgroundImage:
        return QStringLiteral("none");
    case Key::date:
    case Key::installed:
        return distantPast();
    case Key::mode:
        return modeName(Mode::dark);
    case Key::rotateImage:
    case Key::hideBiometrics:
    case Key::privacyMonitor:
    case Key::hideSettingOnMainScreen:
    case Key::obsecuredUnlockUI:
    case Key::autoOpen:
        return false;
    }
    return {};
}

bool UserDefaults::contains(Key key)
{
    return synchronized()->contains(keyName(key));
}

QString UserDefaults::string(Key key)
{
    const QVariant value = synchronized()->value(keyName(key));
    return value.isValid() ? value.toString() : defaultValue(key).toString();
}

bool UserDefaults::boolean(Key key)
{
    return synchronized()->value(keyName(key), false).toBool();
}

QDateTime UserDefaults::date(Key key)
{
    const QVariant value = synchronized()->value(keyName(key));
    if (!value.isValid())
        return distantPast();
    return dateFromReferenceSeconds(value.toDouble());
}

void UserDefaults::setValue(Key key, const QVariant &value)
{
    auto store = appDefaults();
    store->setValue(keyName(key), value);
    store->sync();
    announceChange();
}

void UserDefaults::setDate(Key key, const QDateTime &date)
{
    setValue(key, secondsSinceReferenceDate(date));
}

QString UserDefaults::modeName(Mode mode)
{
    return QString::fromLatin1(QMetaEnum::fromType<Mode>().valueToKey(static_cast<int>(mode)));
}

UserDefaults::Mode UserDefaults::mode()
{
    // Exactly a raw value: the enum lookup would also take "UserDefaults::light" or "light\0…".
    const QString stored = synchronized()->value(keyName(Key::mode)).toString();
    for (const Mode mode : {Mode::automatic, Mode::light, Mode::dark}) {
        if (stored == modeName(mode))
            return mode;
    }
    return Mode::dark;
}

void UserDefaults::setMode(Mode mode)
{
    setValue(Key::mode, modeName(mode));
}

ComposedDailyQuote UserDefaults::quote()
{
    return ComposedDailyQuote{string(Key::author), string(Key::quote)};
}

void UserDefaults::saveQuote(const std::optional<ComposedDailyQuote> &quote, const QDateTime &date)
{
    if (quote) {
        // The widget reads these keys; each write is announced on its own, without a sync per key.
        auto store = appDefaults();
        store->setValue(keyName(Key::author), quote->a);
        announceChange();
        store->setValue(keyName(Key::quote), quote->q);
        announceChange();
        store->setValue(keyName(Key::date), secondsSinceReferenceDate(date));
        announceChange();
        // The observable state belongs to the main thread, whichever thread saves the quote.
        QMetaObject::invokeMethod(&SharedData::shared(),
                                  [date] { SharedData::shared().setLastUpdatedDate(date); });
    }
    logInfo(QStringLiteral("update complete for ") +
            date.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss +0000")));
}

BackgroundImage UserDefaults::nextBackgroundImage()
{
    const QList<BackgroundImage> &table = BackgroundImage::all();
    const QString current = string(Key::backgroundImage);
    for (qsizetype i = 0; i < table.size(); ++i) {
        if (table[i].image == current)
            return table[(i + 1) % table.size()];
    }
    return table.first();
}

const QString UserDefaults::passcodeStoreKey = QStringLiteral("passcodeStore");

QString UserDefaults::passcodeStore()
{
    return synchronized()->value(passcodeStoreKey).toString();
}

bool UserDefaults::setPasscodeStore(const QString &location)
{
    auto store = appDefaults();
    if (location.isEmpty())
        store->remove(passcodeStoreKey);
    else
        store->setValue(passcodeStoreKey, location);
    store->sync();
    announceChange();
    return store->status() == QSettings::NoError;
}

const QString UserDefaults::quoteAttemptKey = QStringLiteral("quoteAttemptDate");

std::optional<QDateTime> UserDefaults::quoteAttempt()
{
    const QVariant stored = synchronized()->value(quoteAttemptKey);
    bool isNumber = false;
    const double seconds = stored.toDouble(&isNumber);
    if (!stored.isValid() || !isNumber)
        return std::nullopt;
    return dateFromReferenceSeconds(seconds);
}

void UserDefaults::setQuoteAttempt(const QDateTime &date)
{
    auto store = appDefaults();
    store->setValue(quoteAttemptKey, secondsSinceReferenceDate(date));
    store->sync();
}

const QString UserDefaults::keepUnlockedWhenInactiveKey = QStringLiteral("keepUnlockedWhenInactive");

bool UserDefaults::keepUnlockedWhenInactive()
{
    return synchronized()->value(keepUnlockedWhenInactiveKey, false).toBool();
}

void UserDefaults::setKeepUnlockedWhenInactive(bool keep)
{
    auto store = appDefaults();
    store->setValue(keepUnlockedWhenInactiveKey, keep);
    store->sync();
    announceChange();
}

const QString UserDefaults::lockWhenIdleKey = QStringLiteral("lockWhenIdle");

int UserDefaults::lockWhenIdle()
{
    return std::max(0, synchronized()->value(lockWhenIdleKey, 0).toInt());
}

void UserDefaults::setLockWhenIdle(int minutes)
{
    auto store = appDefaults();
    if (minutes > 0)
        store->setValue(lockWhenIdleKey, minutes);
    else
        store->remove(lockWhenIdleKey);
    store->sync();
    announceChange();
}

void UserDefaults::applyFirstStartDefaults()
{
    if (!contains(Key::privacyMonitor))
        setValue(Key::privacyMonitor, true);
}

QDateTime UserDefaults::referenceDate()
{
    return QDateTime(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
}

QDateTime UserDefaults::distantPast()
{
    return dateFromReferenceSeconds(distantPastSeconds);
}

double UserDefaults::secondsSinceReferenceDate(const QDateTime &date)
{
    return static_cast<double>(referenceDate().msecsTo(date)) / 1000.0;
}

QDateTime UserDefaults::dateFromReferenceSeconds(double seconds)
{
    return referenceDate().addMSecs(static_cast<qint64>(seconds * 1000.0));
}

void UserDefaults::announceChange()
{
    Q_EMIT shared().objectWillChange();
}
