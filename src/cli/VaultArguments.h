#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <optional>

// The parsed arguments of one vault command (those after its name):
// OPERANDS... [--pin PIN] [-o OUT] [--yes] [--resume] [--cloud | --local] [--help]; "--" ends the
// options.
class VaultArguments
{
    Q_DECLARE_TR_FUNCTIONS(VaultArguments)

public:
    static VaultArguments parse(const QString &command, const QStringList &arguments);
    static const QStringList &commands();

    bool help = false;
    bool yes = false;
    bool resume = false;
    QString command;
    QStringList operands;
    std::optional<QString> pin;
    std::optional<QString> output;
    // check: the one tree to look at (--cloud, --local); both when neither is given.
    bool cloudOnly = false;
    bool localOnly = false;
    // Set when the command line is malformed; the usage error to print.
    QString error;

private:
    bool takeOption(const QStringList &arguments, qsizetype &index);
    void checkOperands();
    void checkOptions();
};
