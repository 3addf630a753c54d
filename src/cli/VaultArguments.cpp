#include "cli/VaultArguments.h"

namespace {

bool isGlobalOption(const QString &argument)
{
    return argument == QLatin1String("--cloud") || argument == QLatin1String("--passcode-stdin");
}

} // namespace

const QStringList &VaultArguments::commands()
{
    static const QStringList names{
        QStringLiteral("init"),     QStringLiteral("ls"),   QStringLiteral("mkdir"),
        QStringLiteral("rmdir"),    QStringLiteral("add"),  QStringLiteral("get"),
        QStringLiteral("rm"),       QStringLiteral("pin"),  QStringLiteral("passcode-store"),
        QStringLiteral("passcode"), QStringLiteral("check")};
    return names;
}

VaultArguments VaultArguments::parse(const QString &command, const QStringList &arguments)
{
    VaultArguments result;
    result.command = command;
    if (!commands().contains(command)) {
        result.error = tr("unknown command \"%1\"").arg(command);
        return result;
    }
    bool operandsOnly = false;
    for (qsizetype index = 0; index < arguments.size() && result.error.isEmpty(); ++index) {
        const QString &argument = arguments.at(index);
        if (!operandsOnly && argument == QLatin1String("--")) {
            operandsOnly = true;
        } else if (!operandsOnly && argument.startsWith(QLatin1Char('-')) && argument != QLatin1String("-")) {
            if (!result.takeOption(arguments, index))
                return result;
        } else {
            result.operands.append(argument);
        }
    }
    if (result.help || !result.error.isEmpty())
        return result;
    result.checkOptions();
    if (result.error.isEmpty())
        result.checkOperands();
    return result;
}

bool VaultArguments::takeOption(const QStringList &arguments, qsizetype &index)
{
    const QString &option = arguments.at(index);
    if (option == QLatin1String("--help") || option == QLatin1String("-h")) {
        help = true;
        return true;
    }
    if (option == QLatin1String("--yes")) {
        yes = true;
        return true;
    }
    if (option == QLatin1String("--resume")) {
        resume = true;
        return true;
    }
    // check names its trees after the command; elsewhere --cloud is the global option.
    if (command == QLatin1String("check") &&
        (option == QLatin1String("--cloud") || option == QLatin1String("--local"))) {
        (option == QLatin1String("--cloud") ? cloudOnly : localOnly) = true;
        if (cloudOnly && localOnly) {
            error = tr("check takes --cloud or --local, not both");
            return false;
        }
        return true;
    }
    if (isGlobalOption(option)) {
        error = tr("%1 goes before the command").arg(option);
        return false;
    }
    const bool isPin = option == QLatin1String("--pin");
    if (!isPin && option != QLatin1String("-o") && option != QLatin1String("--output")) {
        error = tr("unknown option %1").arg(option);
        return false;
    }
    if (index + 1 >= arguments.size()) {
        error = tr("%1 needs a value").arg(option);
        return false;
    }
    (isPin ? pin : output) = arguments.at(++index);
    return true;
}

void VaultArguments::checkOptions()
{
    const bool pinAllowed = command == QLatin1String("ls") || command == QLatin1String("mkdir") ||
                            command == QLatin1String("add") || command == QLatin1String("get") ||
                            command == QLatin1String("rm");
    if (pin && !pinAllowed)
        error = tr("%1 takes no --pin").arg(command);
    else if (output && command != QLatin1String("get"))
        error = tr("%1 takes no -o").arg(command);
    else if (resume && command != QLatin1String("passcode"))
        error = tr("%1 takes no --resume").arg(command);
    else if (yes && command != QLatin1String("rmdir"))
        error = tr("%1 takes no --yes").arg(command);
    else if (command == QLatin1String("rmdir") && !yes)
        error = tr("rmdir deletes everything in the folder; confirm with --yes");
}

void VaultArguments::checkOperands()
{
    const qsizetype count = operands.size();
    bool fits = true;
    if (command == QLatin1String("init"))
        fits = count == 0;
    else if (command == QLatin1String("ls"))
        fits = count <= 1;
    else if (command == QLatin1String("mkdir") || command == QLatin1String("rmdir"))
        fits = count == 1;
    else if (command == QLatin1String("add") || command == QLatin1String("rm"))
        fits = count >= 2;
    else if (command == QLatin1String("get"))
        fits = count == 2;
    else if (command == QLatin1String("pin"))
        fits = (count == 3 && operands.at(1) == QLatin1String("set")) ||
               (count == 2 && operands.at(1) == QLatin1String("remove"));
    else if (command == QLatin1String("check"))
        fits = count == 0;
    else if (command == QLatin1String("passcode-store"))
        fits = count == 0 || (count == 1 && (operands.at(0) == QLatin1String("keyring") ||
                                             operands.at(0) == QLatin1String("file")));
    else if (command == QLatin1String("passcode"))
        fits = count == 1 && operands.at(0) == QLatin1String("change");
    if (!fits)
        error = tr("wrong arguments for %1").arg(command);
    if (fits && command == QLatin1String("ls") && count == 0 && pin)
        error = tr("ls takes --pin only with a folder");
}
