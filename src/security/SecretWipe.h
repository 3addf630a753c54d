#pragma once

#include <QByteArray>
#include <QString>

// Overwrites a secret's bytes where they are really held, then empties the variable.
// Best effort, on purpose: a buffer still shared with another QByteArray or QString (a pending
// keyring job, a caller's copy) is only let go, because writing through it would destroy the
// other owner's value and detaching first would only wipe a fresh copy. Copies that Qt, a
// library or the kernel made on the way are beyond reach.
void wipeSecret(QByteArray &bytes);
void wipeSecret(QString &text);
