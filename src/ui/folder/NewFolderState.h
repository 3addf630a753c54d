#pragma once

#include <QObject>
#include <QString>
#include <optional>

// The rules of "New Folder": "Create Folder" takes a name that is more than white space and no
// PIN or one of at least minimumPinLength characters, both counted without the white space at
// their ends, and hands both over trimmed. What the name may not contain is the folder
// operations' to refuse, before anything touches the disk.
class NewFolderState : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool createEnabled READ canCreate NOTIFY changed)
public:
    static constexpr int minimumPinLength = 4;
    // A PIN long enough to protect a folder, as typed.
    static bool isPinLongEnough(const QString &pin);

    using QObject::QObject;
    ~NewFolderState() override;

    bool canCreate() const;

public Q_SLOTS:
    void setName(const QString &name);
    void setPin(const QString &pin);
    // Hands the folder over (createRequested) when it may be made, and forgets the PIN.
    bool create();
    void forgetPin();

Q_SIGNALS:
    void changed();
    void createRequested(const QString &name, const std::optional<QString> &pin);

private:
    QString m_name;
    QString m_pin; // trimmed
};
