#pragma once

#include "core/BackgroundImage.h"
#include "core/ComposedDailyQuote.h"

#include <QDateTime>
#include <QObject>
#include <QSettings>
#include <QVariant>
#include <memory>
#include <optional>

// The settings store shared with the desktop widgets: one INI file, opened afresh at every
// access. Every read synchronises first; every write synchronises and then announces the
// change through objectWillChange().
class UserDefaults : public QObject
{
    Q_OBJECT
public:
    enum class Key {
        author,
        quote,
        quoteSet,
        backgroundImage,
        rotateImage,
        date,
        installed,
        mode,
        hideBiometrics,
        privacyMonitor,
        hideSettingOnMainScreen,
        obsecuredUnlockUI,
        autoOpen,
    };
    Q_ENUM(Key)

    enum class Mode { automatic, light, dark };
    Q_ENUM(Mode)

    // The one object that announces changes of the store.
    static UserDefaults &shared();

    // A fresh store on the shared suite; the standard store when the suite cannot be opened.
    static std::unique_ptr<QSettings> appDefaults();
    // Points the store at another file; empty restores the shared suite. For tests.
    static void setStoreFile(const QString &path);

    static QString keyName(Key key);
    static QList<Key> allKeys();
    static QVariant defaultValue(Key key);

    static bool contains(Key key);
    static QString string(Key key);
    static bool boolean(Key key);
    static QDateTime date(Key key);

    static void setValue(Key key, const QVariant &value);
    static void setDate(Key key, const QDateTime &date);

    static QString modeName(Mode mode);
    static Mode mode();
    static void setMode(Mode mode);

    // The cached quote, with its defaults.
    static ComposedDailyQuote quote();
    // Writes the quote and its date (when given) and logs the update.
    static void saveQuote(const std::optional<ComposedDailyQuote> &quote, const QDateTime &date);

    // The picture after the current one, wrapping to the first; the first for none or unknown.
    static BackgroundImage nextBackgroundImage();

    // Where the passcode lives, "keyring" or "file", recorded when it is saved; empty when no
    // save recorded it. Only the passcode store reads it; the widgets never do.
    static const QString passcodeStoreKey;
    static QString passcodeStore();
    // An empty location removes the record. False when the store could not be written.
    static bool setPasscodeStore(const QString &location);

    // "Stay Unlocked in Other Windows": when on, only the background phase locks, not focus
    // going to another application. Not one of the keys the widgets share; absent reads as off.
    static const QString keepUnlockedWhenInactiveKey;
    static bool keepUnlockedWhenInactive();
    static void setKeepUnlockedWhenInactive(bool keep);

    // "Lock When Idle", in minutes; absent or 0: never. Not one of the keys the widgets share.
    static const QString lockWhenIdleKey;
    static int lockWhenIdle();
    static void setLockWhenIdle(int minutes);

    // When the quote of the day was last asked of the service, successful or not; nothing before
    // the first time. Not one of the keys the widgets share.
    static const QString quoteAttemptKey;
    static std::optional<QDateTime> quoteAttempt();
    static void setQuoteAttempt(const QDateTime &date);

    // At the first start screen protection is on; an explicit choice is kept.
    static void applyFirstStartDefaults();

    // Dates are stored as seconds since 2001-01-01 00:00:00 UTC.
    static QDateTime referenceDate();
    // 0001-01-01 as the original platform counts it, in seconds since the reference date.
    static constexpr double distantPastSeconds = -63114076800.0;
    static QDateTime distantPast();
    static double secondsSinceReferenceDate(const QDateTime &date);
    static QDateTime dateFromReferenceSeconds(double seconds);

Q_SIGNALS:
    void objectWillChange();

private:
    UserDefaults() = default;
    static void announceChange();
};
