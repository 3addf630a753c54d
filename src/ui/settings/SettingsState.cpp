#include "ui/settings/SettingsState.h"

#include <optional>

namespace {

// None for the one toggle that is not among the keys the widgets share.
std::optional<UserDefaults::Key> storeKey(SettingsState::Toggle toggle)
{
    switch (toggle) {
    case SettingsState::Toggle::disableBiometrics:
        return UserDefaults::Key::hideBiometrics;
    case SettingsState::Toggle::protectScreen:
        return UserDefaults::Key::privacyMonitor;
    case SettingsState::Toggle::displayInspiration:
        return UserDefaults::Key::hideSettingOnMainScreen;
    case SettingsState::Toggle::hideUnlockButton:
        return UserDefaults::Key::obsecuredUnlockUI;
    case SettingsState::Toggle::fastUnlock:
        return UserDefaults::Key::autoOpen;
    case SettingsState::Toggle::stayUnlockedInOtherWindows:
        break;
    }
    return std::nullopt;
}

} // namespace

SettingsState::SettingsState(QObject *parent)
    : QObject(parent), m_backgroundImage(UserDefaults::string(UserDefaults::Key::backgroundImage)),
      m_mode(UserDefaults::mode())
{}

bool SettingsState::isOn(Toggle toggle) const
{
    const std::optional<UserDefaults::Key> key = storeKey(toggle);
    return key ? UserDefaults::boolean(*key) : UserDefaults::keepUnlockedWhenInactive();
}

void SettingsState::setOn(Toggle toggle, bool on)
{
    if (const std::optional<UserDefaults::Key> key = storeKey(toggle))
        UserDefaults::setValue(*key, on);
    else
        UserDefaults::setKeepUnlockedWhenInactive(on);
    Q_EMIT toggled(toggle, on);
    if (toggle == Toggle::displayInspiration)
        Q_EMIT sparseUIChanged(on);
    else if (toggle == Toggle::hideUnlockButton)
        Q_EMIT obscuredUIChanged(on);
    else if (toggle == Toggle::fastUnlock)
        Q_EMIT autoOpenChanged(on);
    else if (toggle == Toggle::disableBiometrics)
        Q_EMIT biometricsHiddenChanged(on);
}

QString SettingsState::keyName(Toggle toggle)
{
    const std::optional<UserDefaults::Key> key = storeKey(toggle);
    return key ? UserDefaults::keyName(*key) : UserDefaults::keepUnlockedWhenInactiveKey;
}

void SettingsState::setBackgroundImage(const QString &image)
{
    if (m_backgroundImage == image)
        return;
    m_backgroundImage = image;
    Q_EMIT backgroundImageChanged(image);
}

QList<int> SettingsState::idleLockChoices()
{
    return {0, 1, 5, 15};
}

QString SettingsState::idleLockChoiceText(int minutes)
{
    if (minutes <= 0)
        return tr("Never");
    if (minutes == 1)
        return tr("1 minute");
    return tr("%1 minutes").arg(minutes);
}

int SettingsState::lockWhenIdle() const
{
    const int minutes = UserDefaults::lockWhenIdle();
    return idleLockChoices().contains(minutes) ? minutes : 0;
}

void SettingsState::setLockWhenIdle(int minutes)
{
    if (!idleLockChoices().contains(minutes) || minutes == lockWhenIdle())
        return;
    UserDefaults::setLockWhenIdle(minutes);
    Q_EMIT lockWhenIdleChanged(minutes);
}

void SettingsState::setIdleLockAvailable(bool available)
{
    if (m_idleLockAvailable == available)
        return;
    m_idleLockAvailable = available;
    Q_EMIT idleLockAvailableChanged(available);
}

QString SettingsState::idleLockNote() const
{
    return m_idleLockAvailable ? QString() : tr("Not available on this desktop");
}

void SettingsState::setMode(UserDefaults::Mode mode)
{
    if (m_mode == mode)
        return;
    m_mode = mode;
    Q_EMIT modeChanged(mode);
}
