#include "MainScreenState.h"

#include "Biometrics.h"
#include "KeyChainHelper.h"
#include "QuoteSource.h"
#include "SharedData.h"
#include "StoragePool.h"
#include "WidgetTimelines.h"

#include <QCoreApplication>
#include <QFuture>
#include <QPointer>
#include <QThreadPool>

namespace {

using Key = UserDefaults::Key;

struct PresenceAnswer
{
    KeyChainHelper::PasscodeState state;
    QString problem;
};

} // namespace

MainScreenState::MainScreenState(QuoteSource *quotes, Biometrics *biometrics, QObject *parent)
    : QObject(parent), m_quotes(quotes), m_biometrics(biometrics),
      m_sparseUI(UserDefaults::boolean(Key::hideSettingOnMainScreen)),
      m_obscuredUI(UserDefaults::boolean(Key::obsecuredUnlockUI)),
      m_autoOpen(UserDefaults::boolean(Key::autoOpen)), m_bgImage(UserDefaults::string(Key::backgroundImage)),
      m_schemeMode(UserDefaults::mode()), m_composedItem(UserDefaults::quote())
{
    connect(&KeyChainHelper::shared(), &KeyChainHelper::loadedKeyChanged, this,
            &MainScreenState::onLoadedKeyChanged);
    connect(m_biometrics, &Biometrics::finished, this,
            [this](Biometrics::Status status) { onBiometricsFinished(int(status)); });
    connect(m_biometrics, &Biometrics::enabledChanged, this, &MainScreenState::changed);
    connect(&SharedData::shared(), &SharedData::lastUpdatedDateChanged, this, [this] {
        reloadWidgetTimelines();
        m_composedItem = UserDefaults::quote();
        Q_EMIT quoteChanged();
    });
}

MainScreenState::UnlockLine MainScreenState::unlockLine() const
{
    if (m_presence == Presence::set && isUnlocked())
        return UnlockLine::open;
    if (m_showPinTextField)
        return UnlockLine::passcodeField;
    if (m_obscuredUI && !isUnlocked())
        return UnlockLine::none;
    switch (m_presence) {
    case Presence::checking:
        return UnlockLine::waiting;
    case Presence::notSet:
        return UnlockLine::setPasscode;
    case Presence::unavailable:
        return UnlockLine::unavailable;
    case Presence::set:
        break;
    }
    return UnlockLine::unlock;
}

Qt::Alignment MainScreenState::unlockLineAlignment() const
{
    return m_sparseUI ? Qt::AlignLeading : Qt::AlignTrailing;
}

bool MainScreenState::isUnlocked() const
{
    const std::optional<QString> key = KeyChainHelper::shared().loadedKey();
    return key && !key->trimmed().isEmpty();
}

QString MainScreenState::biometricSymbol() const
{
    return m_biometrics->symbolName();
}

void MainScreenState::setPresence(Presence presence, const QString &problem)
{
    m_presence = presence;
    m_storeProblem = problem;
    Q_EMIT changed();
}

void MainScreenState::checkPasscode()
{
    m_biometrics->refresh();
    QFuture<PresenceAnswer> answer = StoragePool::run([] {
        const KeyChainHelper::Lookup lookup = KeyChainHelper::shared().passcodeState();
        return PresenceAnswer{lookup.state, lookup.problem}; // the passcode itself stays behind
    });
    answer.then(QCoreApplication::instance(), [this, alive = QPointer(this)](const PresenceAnswer &found) {
        if (!alive)
            return;
        switch (found.state) {
        case KeyChainHelper::PasscodeState::notSet:
            setPresence(Presence::notSet);
            return;
        case KeyChainHelper::PasscodeState::unavailable:
            setPresence(Presence::unavailable, found.problem);
            return;
        case KeyChainHelper::PasscodeState::set:
            break;
        }
        setPresence(Presence::set);
    });
}

void MainScreenState::requestUnlock()
{
    switch (m_presence) {
    case Presence::set:
        if (m_showPinTextField)
            return;
        m_showPinTextField = true;
        Q_EMIT changed();
        if (m_biometrics->isEnabled())
            startBiometrics(); // the fingerprint prompt starts by itself when the field opens
        else
            Q_EMIT focusFieldRequested();
        return;
    case Presence::notSet:
        Q_EMIT setPasscodeRequested();
        return;
    case Presence::unavailable:
        setPresence(Presence::checking);
        checkPasscode();
        return;
    case Presence::checking:
        return;
    }
}

void MainScreenState::submit(const QString &code)
{
    unlockWithStoredPasscode(code, true);
}

void MainScreenState::unlockWithStoredPasscode(const QString &typed, bool compare)
{
    if (m_validating)
        return;
    m_validating = true;
    StoragePool::run([] { return KeyChainHelper::shared().load(); })
        .then(QCoreApplication::instance(),
              [this, alive = QPointer(this), typed, compare](const std::optional<QString> &stored) {
                  if (!alive)
                      return;
                  m_validating = false;
                  if (stored && (!compare || *stored == typed)) {
                      KeyChainHelper::shared().setLoadedKey(stored);
                      reset();
                      return;
                  }
                  KeyChainHelper::shared().setLoadedKey(std::nullopt);
                  Q_EMIT codeCleared();
                  if (!compare)
                      Q_EMIT focusFieldRequested();
              });
}

void MainScreenState::keyboardHidden()
{
    if (m_showPinTextField && !m_scanning)
        reset();
}

void MainScreenState::reset()
{
    if (m_scanning)
        m_biometrics->abort();
    const bool wasShown = m_showPinTextField;
    m_showPinTextField = false;
    Q_EMIT codeCleared();
    if (wasShown)
        Q_EMIT changed();
}

void MainScreenState::startBiometrics()
{
    if (m_scanning || !m_biometrics->isEnabled())
        return;
    m_scanning = true;
    Q_EMIT changed();
    m_biometrics->authenticate();
}

void MainScreenState::cancelBiometrics()
{
    if (m_scanning)
        m_biometrics->cancel();
}

void MainScreenState::enterManually()
{
    if (m_scanning)
        m_biometrics->enterManually();
}

void MainScreenState::onBiometricsFinished(int status)
{
    if (!m_scanning)
        return;
    m_scanning = false;
    Q_EMIT changed();
    switch (Biometrics::Status(status)) {
    case Biometrics::Status::success:
        unlockWithStoredPasscode({}, false);
        return;
    case Biometrics::Status::cancelled:
        reset();
        return;
    case Biometrics::Status::failure:
        break;
    }
    Q_EMIT focusFieldRequested();
}

void MainScreenState::tapQuote()
{
    if (m_fetchingQuote)
        return;
    m_fetchingQuote = true;
    m_quotes->quote(m_quotes->batchUrl())
        .then(QCoreApplication::instance(), [this, alive = QPointer(this)](const ComposedDailyQuote &) {
            if (!alive)
                return;
            m_fetchingQuote = false;
            m_composedItem = UserDefaults::quote();
            Q_EMIT quoteChanged();
        });
}

void MainScreenState::longPressCompleted()
{
    if (acceptsLongPress())
        requestUnlock();
}

void MainScreenState::storageShown()
{
    m_firstUnlock = false;
}

void MainScreenState::onLoadedKeyChanged()
{
    if (isUnlocked() && m_presence != Presence::set)
        setPresence(Presence::set); // a passcode was just set, or one was found by unlocking
    else
        Q_EMIT changed();
    if (isUnlocked() && m_autoOpen && m_firstUnlock)
        Q_EMIT storageRequested();
}

void MainScreenState::setSparseUI(bool sparse)
{
    m_sparseUI = sparse;
    Q_EMIT changed();
}

void MainScreenState::setObscuredUI(bool obscured)
{
    m_obscuredUI = obscured;
    Q_EMIT changed();
}

void MainScreenState::setAutoOpen(bool autoOpen)
{
    m_autoOpen = autoOpen;
}

void MainScreenState::setBackgroundImage(const QString &image)
{
    if (m_bgImage == image)
        return;
    m_bgImage = image;
    Q_EMIT changed();
}

void MainScreenState::setSchemeMode(UserDefaults::Mode mode)
{
    m_schemeMode = mode;
}

void MainScreenState::settingsClosed()
{
    UserDefaults::setMode(m_schemeMode);
    SharedData::shared().setColorScheme(m_schemeMode);
    Q_EMIT schemeApplied(m_schemeMode);
    StoragePool::shared()->start([] { reloadWidgetTimelines(); });
}
