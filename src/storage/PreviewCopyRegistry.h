#pragma once

#include <QHash>
#include <QString>

// The decrypted temporary copy of each previewed name and how many previewers hold it. A previewer
// closed while its decryption still runs must not take away the copy a newer previewer of the same
// item shows: the last one to let go removes the copy. Main thread only.
class PreviewCopyRegistry
{
public:
    static PreviewCopyRegistry &shared();

    void hold(const QString &name);
    // copy: the path of the copy this holder made, if any. Returns whether the copy went.
    bool letGo(const QString &name, const QString &copy);
    int holders(const QString &name) const { return m_holdings.value(name).holders; }

private:
    struct Holding
    {
        int holders = 0;
        QString copy;
    };
    static void remove(const QString &path);

    QHash<QString, Holding> m_holdings;
};
