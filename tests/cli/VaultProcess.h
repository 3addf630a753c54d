#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <functional>

// The built lumisera-vault, run as a user would, with the passcode on standard input.
struct VaultOutcome
{
    int status = -1; // -1: it crashed or hung
    QString out;
    QString err;
};

// This process's environment (the test's private home) with the session bus pointed nowhere:
// no desktop keyring can answer.
QProcessEnvironment withoutSessionBus();

// childSetup runs in the child between fork and exec (async-signal-safe calls only).
VaultOutcome runVault(const QStringList &arguments, const QString &input, const QString &workingDirectory,
                      const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
                      const std::function<void()> &childSetup = {});
