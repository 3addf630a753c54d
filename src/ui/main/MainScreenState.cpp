#include "ui/main/MainScreenState.h"

#include "core/SharedData.h"
#include "quote/QuoteSource.h"
#include "quote/WidgetTimelines.h"
#include "security/Biometrics.h"
#include "security/KeyChainHelper.h"
#include "security/PasscodeCheck.h"
#include "storage/StoragePool.h"

#include <QCoreApplication>
#include <QFuture>
#include <QPointer>

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
    // "Rotate Daily" turns the picture in the store when a quote is fetched: the screen follows.
    connect(
        &UserDefaults::shared(), &UserDefaults::objectWillChange, this,
        [this] { setBackgroundImage(UserDefaults::string(Key::backgroundImage)); }, Qt::QueuedConnection);
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
    return KeyChainHelper::shared().isUnlocked();
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
    const auto look = [] {
        const KeyChainHelper::Lookup lookup = KeyChainHelper::shared().passcodeState();
        return PresenceAnswer{lookup.state, lookup.problem}; // the passcode itself stays behind
    };
    const auto failed = [this] { setPresence(Presence::unavailable, tr("the passcode store failed")); };
    StoragePool::runThen(
        this, look,
        [this](const PresenceAnswer &found) {
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
        },
        failed);
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
    if (m_validating)
        return;
    m_validating = true;
    setCheckProblem({});
    // Read now: a lock while the store answers moves it on, and the answer no longer unlocks.
    const quint64 lockGeneration = KeyChainHelper::shared().lockGeneration();
    StoragePool::runThen(
        this, [code] { return PasscodeCheck::againstStore(code, KeyChainHelper::shared()); },
        [this, code, lockGeneration](const PasscodeCheck &check) {
            m_validating = false;
            switch (check.outcome) {
            case PasscodeCheck::Outcome::match:
                if (KeyChainHelper::shared().unlock(code, lockGeneration))
                    reset();
                return;
            case PasscodeCheck::Outcome::unavailable:
                // Not a wrong passcode: what was typed stays for another try.
                setCheckProblem(check.problem);
                return;
            case PasscodeCheck::Outcome::mismatch:
                break;
            }
            Q_EMIT codeCleared();
        },
        [this] {
            m_validating = false;
            Q_EMIT codeCleared();
        });
}

void MainScreenState::unlockWithStoredPasscode()
{
    if (m_validating)
        return;
    m_validating = true;
    setCheckProblem({});
    const quint64 lockGeneration = KeyChainHelper::shared().lockGeneration();
    const auto unlockWith = [this, lockGeneration](const KeyChainHelper::Lookup &stored) {
        m_validating = false;
        if (stored.passcode && KeyChainHelper::shared().unlock(*stored.passcode, lockGeneration)) {
            reset();
            return;
        }
        if (stored.state == KeyChainHelper::PasscodeState::unavailable)
            setCheckProblem(stored.problem);
        Q_EMIT focusFieldRequested();
    };
    StoragePool::runThen(
        this, [] { return KeyChainHelper::shared().lookUp(); }, unlockWith,
        [this] {
            m_validating = false;
            Q_EMIT focusFieldRequested();
        });
}

void MainScreenState::setCheckProblem(const QString &problem)
{
    if (m_checkProblem == problem)
        return;
    m_checkProblem = problem;
    Q_EMIT changed();
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
    m_checkProblem.clear();
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
        unlockWithStoredPasscode();
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
    // The quote source's own future, which always gives a quote (the cached one at worst); not
    // StoragePool::runThen, whose continuation Qt 6.4 runs on a promise already going away here.
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

void MainScreenState::refreshBiometrics()
{
    m_biometrics->refresh();
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
