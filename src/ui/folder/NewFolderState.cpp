#include "ui/folder/NewFolderState.h"

#include "security/SecretWipe.h"

bool NewFolderState::isPinLongEnough(const QString &pin)
{
    QString trimmed = pin.trimmed();
    const bool longEnough = trimmed.size() >= minimumPinLength;
    wipeSecret(trimmed);
    return longEnough;
}

NewFolderState::~NewFolderState()
{
    forgetPin();
}

bool NewFolderState::canCreate() const
{
    return !m_name.trimmed().isEmpty() && (m_pin.isEmpty() || m_pin.size() >= minimumPinLength);
}

void NewFolderState::setName(const QString &name)
{
    m_name = name;
    Q_EMIT changed();
}

void NewFolderState::setPin(const QString &pin)
{
    wipeSecret(m_pin);
    m_pin = pin.trimmed();
    Q_EMIT changed();
}

bool NewFolderState::create()
{
    if (!canCreate())
        return false;
    std::optional<QString> pin;
    if (!m_pin.isEmpty())
        pin = m_pin;
    Q_EMIT createRequested(m_name.trimmed(), pin);
    if (pin)
        wipeSecret(*pin);
    forgetPin();
    return true;
}

void NewFolderState::forgetPin()
{
    if (m_pin.isEmpty())
        return;
    wipeSecret(m_pin);
    Q_EMIT changed();
}
