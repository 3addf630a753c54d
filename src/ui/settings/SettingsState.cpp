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

void SettingsState::setMode(UserDefaults::Mode mode)
{
    if (m_mode == mode)
        return;
    m_mode = mode;
    Q_EMIT modeChanged(mode);
}
