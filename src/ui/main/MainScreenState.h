#pragma once

#include "core/ComposedDailyQuote.h"
#include "core/UserDefaults.h"

#include <QObject>
#include <QString>

class Biometrics;
class QuoteSource;

// The rules of the main screen: what the row under the quote offers, what a tap, a long press,
// a typed passcode or a fingerprint does, and when Storage opens by itself. The widget draws
// this state and forwards input; it never decides.
class MainScreenState : public QObject
{
    Q_OBJECT
public:
    // Whether a passcode is set, as the last check found.
    enum class Presence { checking, notSet, set, unavailable };
    Q_ENUM(Presence)
    // What the row under the quote shows.
    enum class UnlockLine { none, waiting, setPasscode, unlock, unavailable, passcodeField, open };
    Q_ENUM(UnlockLine)

    // The quote source and the fingerprint reader are borrowed and outlive the state.
    MainScreenState(QuoteSource *quotes, Biometrics *biometrics, QObject *parent = nullptr);

    Presence presence() const { return m_presence; }
    // Which store could not answer, and why, while the presence is unavailable.
    QString storeProblem() const { return m_storeProblem; }
    // Why the passcode in the field could not be checked (the store did not answer); empty
    // otherwise. What was typed stays in the field meanwhile.
    QString checkProblem() const { return m_checkProblem; }
    // A passcode check or a fingerprint's passcode lookup is under way.
    bool isValidating() const { return m_validating; }
    UnlockLine unlockLine() const;
    // Leading while only the quote and the line show, trailing beside the appearance menus.
    Qt::Alignment unlockLineAlignment() const;
    bool isUnlocked() const;
    bool showPinTextField() const { return m_showPinTextField; }
    bool isScanning() const { return m_scanning; }
    QString biometricSymbol() const;
    bool isSettingsEnabled() const { return isUnlocked(); }
    // The appearance menus show beside the quote.
    bool showsAppearance() const { return !m_sparseUI; }
    // A long press on the quote unlocks: the unlock line is hidden and the vault locked.
    bool acceptsLongPress() const { return m_obscuredUI && !isUnlocked(); }
    ComposedDailyQuote composedItem() const { return m_composedItem; }
    QString backgroundImage() const { return m_bgImage; }
    UserDefaults::Mode schemeMode() const { return m_schemeMode; }
    bool firstUnlock() const { return m_firstUnlock; }

public Q_SLOTS:
    // The first-launch check, off the main thread: a locked keyring may take its time.
    void checkPasscode();
    // A tap on the unlock line or a completed long press.
    void requestUnlock();
    // Return in the passcode field: compares exactly, no trimming. A lock before the answer
    // comes keeps the vault locked.
    void submit(const QString &code);
    // Escape, or the focus leaving the passcode panel.
    void keyboardHidden();
    void startBiometrics();
    void cancelBiometrics();
    void enterManually();
    // A tap on the quote: the next quote of the batch.
    void tapQuote();
    void longPressCompleted();
    // Storage was shown: the automatic jump is spent for this run.
    void storageShown();
    void setSparseUI(bool sparse);
    void setObscuredUI(bool obscured);
    void setAutoOpen(bool autoOpen);
    // "Disable Biometrics" changed: the fingerprint button follows at once.
    void refreshBiometrics();
    void setBackgroundImage(const QString &image);
    void setSchemeMode(UserDefaults::Mode mode);
    // The Settings screen went away: the colour scheme is stored and applied.
    void settingsClosed();
    // The application left the active phase: the field goes, what was typed with it.
    void reset();

Q_SIGNALS:
    void changed();
    void setPasscodeRequested();
    // The field should take the keyboard focus.
    void focusFieldRequested();
    // What was typed is to be forgotten (a wrong passcode, a reset).
    void codeCleared();
    void storageRequested();
    void quoteChanged();
    void schemeApplied(UserDefaults::Mode mode);

private:
    void setPresence(Presence presence, const QString &problem = {});
    void onLoadedKeyChanged();
    void onBiometricsFinished(int status);
    void unlockWithStoredPasscode();
    void setCheckProblem(const QString &problem);

    QuoteSource *m_quotes;
    Biometrics *m_biometrics;
    Presence m_presence = Presence::checking;
    QString m_storeProblem;
    QString m_checkProblem;
    bool m_showPinTextField = false;
    bool m_scanning = false;
    bool m_sparseUI;
    bool m_obscuredUI;
    bool m_autoOpen;
    bool m_firstUnlock = true;
    bool m_fetchingQuote = false;
    bool m_validating = false;
    QString m_bgImage;
    UserDefaults::Mode m_schemeMode;
    ComposedDailyQuote m_composedItem;
};
