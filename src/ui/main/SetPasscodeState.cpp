#include "SetPasscodeState.h"

#include "KeyChainHelper.h"
#include "PasscodeRule.h"
#include "SecretWipe.h"
#include "StoragePool.h"

#include <QCoreApplication>
#include <QFuture>
#include <QPointer>
#include <optional>

struct SetPasscodeState::Outcome
{
    bool saved = false;
    std::optional<QString> stored;
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
    // The desktop keyring may wait for the user to unlock it; the window must stay responsive.
    StoragePool::run([passcode = m_passcode] {
        KeyChainHelper &keyChain = KeyChainHelper::shared();
        Outcome outcome;
        outcome.saved = keyChain.saveKey(passcode);
        if (outcome.saved)
            outcome.stored = keyChain.load();
        return outcome;
    }).then(QCoreApplication::instance(), [this, alive = QPointer(this)](Outcome outcome) {
        if (!alive)
            return;
        finish(std::move(outcome));
    });
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
    KeyChainHelper::shared().setLoadedKey(outcome.stored);
    if (outcome.stored)
        wipeSecret(*outcome.stored);
    clear();
    Q_EMIT succeeded();
}
