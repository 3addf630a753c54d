#include "ui/main/SetPasscodeState.h"

#include "security/KeyChainHelper.h"
#include "security/PasscodeRule.h"
#include "security/SecretWipe.h"
#include "storage/StoragePool.h"

#include <QCoreApplication>
#include <QFuture>
#include <QPointer>
#include <optional>

struct SetPasscodeState::Outcome
{
    bool saved = false;
    std::optional<QString> stored;
    quint64 lockGeneration = 0;
};

SetPasscodeState::SetPasscodeState(QObject *parent) : QObject(parent) {}

SetPasscodeState::~SetPasscodeState()
{
    wipeSecret(m_passcode);
    wipeSecret(m_passcode2);
}

void SetPasscodeState::setPasscodeText(const QString &passcode)
{
    if (m_passcode == passcode)
        return;
    wipeSecret(m_passcode);
    m_passcode = passcode;
    Q_EMIT passcodeChanged();
    updateCanSet();
}

void SetPasscodeState::setPasscode2Text(const QString &passcode2)
{
    if (m_passcode2 == passcode2)
        return;
    wipeSecret(m_passcode2);
    m_passcode2 = passcode2;
    Q_EMIT passcode2Changed();
    updateCanSet();
}

void SetPasscodeState::setPasscode()
{
    if (!m_canSet || m_saving)
        return;
    setSaving(true);
    // The desktop keyring may wait for the user to unlock it; the window must stay responsive. A
    // lock meanwhile leaves the passcode set and the vault locked.
    const auto save = [passcode = m_passcode, lockGeneration = KeyChainHelper::shared().lockGeneration()] {
        KeyChainHelper &keyChain = KeyChainHelper::shared();
        Outcome outcome;
        outcome.lockGeneration = lockGeneration;
        outcome.saved = keyChain.saveKey(passcode);
        if (outcome.saved)
            outcome.stored = keyChain.lookUp().passcode;
        return outcome;
    };
    StoragePool::runThen(
        this, save, [this](Outcome outcome) { finish(std::move(outcome)); }, [this] { finish({}); });
}

void SetPasscodeState::clear()
{
    setPasscodeText(QString());
    setPasscode2Text(QString());
}

void SetPasscodeState::updateCanSet()
{
    const bool canSet = PasscodeRule::accepts(m_passcode, m_passcode2);
    if (m_canSet == canSet)
        return;
    m_canSet = canSet;
    Q_EMIT canSetChanged();
}

void SetPasscodeState::setSaving(bool saving)
{
    if (m_saving == saving)
        return;
    m_saving = saving;
    Q_EMIT savingChanged();
}

void SetPasscodeState::finish(Outcome outcome)
{
    setSaving(false);
    if (!outcome.saved) {
        Q_EMIT failed();
        return;
    }
    if (outcome.stored) {
        KeyChainHelper::shared().unlock(*outcome.stored, outcome.lockGeneration);
        wipeSecret(*outcome.stored);
    }
    clear();
    Q_EMIT succeeded();
}
