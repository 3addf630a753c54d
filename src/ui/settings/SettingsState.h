#pragma once

#include "core/UserDefaults.h"

#include <QObject>
#include <QString>

// The rules of the Settings screen. Every toggle is written to the settings store at once (the
// background menu stores its own choice); the colour scheme is only held here, for the host to
// store when Settings goes away.
class SettingsState : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString backgroundImage READ backgroundImage NOTIFY backgroundImageChanged)
    Q_PROPERTY(UserDefaults::Mode mode READ mode WRITE setMode NOTIFY modeChanged)
public:
    enum class Toggle {
        disableBiometrics,          // "hideBiometrics"
        protectScreen,              // "privacyMonitor"
        displayInspiration,         // "hideSettingOnMainScreen"
        hideUnlockButton,           // "obsecuredUnlockUI"
        fastUnlock,                 // "autoOpen"
        stayUnlockedInOtherWindows, // "keepUnlockedWhenInactive"
    };
    Q_ENUM(Toggle)

    explicit SettingsState(QObject *parent = nullptr);

    // What the store holds now.
    bool isOn(Toggle toggle) const;
    void setOn(Toggle toggle, bool on);
    static QString keyName(Toggle toggle);

    // The picture's image name, or "none".
    QString backgroundImage() const { return m_backgroundImage; }
    // What the background menu stored.
    void setBackgroundImage(const QString &image);

    UserDefaults::Mode mode() const { return m_mode; }
    void setMode(UserDefaults::Mode mode);

    // "Lock When Idle": the minutes offered, 0 for Never, and their names.
    static QList<int> idleLockChoices();
    static QString idleLockChoiceText(int minutes);
    // What the store holds; a value that is not offered counts as Never.
    int lockWhenIdle() const;
    // Only an offered choice is stored.
    void setLockWhenIdle(int minutes);
    // Whether the desktop tells its idle time; the choice is disabled and says why when not.
    bool isIdleLockAvailable() const { return m_idleLockAvailable; }
    void setIdleLockAvailable(bool available);
    QString idleLockNote() const;

Q_SIGNALS:
    void toggled(SettingsState::Toggle toggle, bool on);
    void sparseUIChanged(bool sparse);
    void obscuredUIChanged(bool obscured);
    void autoOpenChanged(bool autoOpen);
    void biometricsHiddenChanged(bool hidden);
    void backgroundImageChanged(const QString &image);
    void modeChanged(UserDefaults::Mode mode);
    void lockWhenIdleChanged(int minutes);
    void idleLockAvailableChanged(bool available);

private:
    QString m_backgroundImage;
    UserDefaults::Mode m_mode;
    bool m_idleLockAvailable = true;
};
