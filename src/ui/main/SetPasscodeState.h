#pragma once

#include <QObject>
#include <QString>

// The rules of passcode setup: the two entries, whether they may be stored, and the storing.
// Storing waits for the credential store off the main thread; the outcome arrives as
// succeeded() (the vault is then unlocked) or failed() (the entries are kept).
class SetPasscodeState : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString passcode READ passcode WRITE setPasscodeText NOTIFY passcodeChanged)
    Q_PROPERTY(QString passcode2 READ passcode2 WRITE setPasscode2Text NOTIFY passcode2Changed)
    Q_PROPERTY(bool canSet READ canSet NOTIFY canSetChanged)
    Q_PROPERTY(bool saving READ isSaving NOTIFY savingChanged)
public:
    explicit SetPasscodeState(QObject *parent = nullptr);
    ~SetPasscodeState() override;

    QString passcode() const { return m_passcode; }
    void setPasscodeText(const QString &passcode);
    QString passcode2() const { return m_passcode2; }
    void setPasscode2Text(const QString &passcode2);

    // The acceptance rule holds for the two entries.
    bool canSet() const { return m_canSet; }
    // A save is waiting for the credential store.
    bool isSaving() const { return m_saving; }

    // Stores the first entry as typed, then unlocks with what the store gives back. Ignored
    // while the rule fails or a save is under way.
    void setPasscode();
    // Forgets both entries.
    void clear();

Q_SIGNALS:
    void passcodeChanged();
    void passcode2Changed();
    void canSetChanged();
    void savingChanged();
    void succeeded();
    void failed();

private:
    struct Outcome;
    void updateCanSet();
    void setSaving(bool saving);
    void finish(Outcome outcome);

    QString m_passcode;
    QString m_passcode2;
    bool m_canSet = false;
    bool m_saving = false;
};
