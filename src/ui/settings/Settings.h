#pragma once

#include "ui/common/Screen.h"
#include "ui/settings/SettingsState.h"

class QGroupBox;
class QVBoxLayout;

// The Settings screen, shown by its host over the whole window; its "Close" button is the way
// out. Toggles and the background choice are stored at once; the colour scheme is the host's
// to store when the screen goes away (modeChanged and state()->mode()).
class Settings : public Screen
{
    Q_OBJECT
public:
    explicit Settings(QWidget *parent = nullptr);

    SettingsState *state() const { return m_state; }
    // The main screen's colour scheme, which the picker starts from.
    UserDefaults::Mode mode() const { return m_state->mode(); }
    void setMode(UserDefaults::Mode mode) { m_state->setMode(mode); }

Q_SIGNALS:
    void backgroundImageChanged(const QString &image);
    void sparseUIChanged(bool sparse);
    void obscuredUIChanged(bool obscured);
    void autoOpenChanged(bool autoOpen);
    void biometricsHiddenChanged(bool hidden);
    void modeChanged(UserDefaults::Mode mode);
    // "Change Passcode": the host shows its sheet.
    void changePasscodeRequested();
    // "Check Vault": the host shows the check's sheet.
    void checkVaultRequested();

private:
    QWidget *makeHeader();
    QWidget *makeSections();
    QGroupBox *makeAuthentication();
    QGroupBox *makeContentSecurity();
    QGroupBox *makeAppearance();
    QGroupBox *makeBehavior();
    QGroupBox *makeVault();
    QWidget *makeSchemePicker();
    QWidget *makeBackgroundButton();
    QWidget *makeIdleLockChoice();
    void addToggle(QVBoxLayout *layout, SettingsState::Toggle toggle, const QString &text,
                   const QString &help);
    void forwardStateSignals();

    SettingsState *m_state;
};
