#include "core/TipStore.h"

#include "core/AppPaths.h"

#include <QSettings>

namespace {
const QString enabledKey = QStringLiteral("+tipsEnabled");
const QString dismissedKey = QStringLiteral("dismissed");

QSettings store()
{
    return QSettings(TipStore::filePath(), QSettings::IniFormat);
}
} // namespace

QString TipStore::filePath()
{
    return AppPaths::dataDirectory() + QStringLiteral("/tips.ini");
}

bool TipStore::tipsEnabled()
{
    return store().value(enabledKey, true).toBool();
}

void TipStore::setTipsEnabled(bool enabled)
{
    store().setValue(enabledKey, enabled);
}

bool TipStore::isDismissed(const QString &tip)
{
    const QSettings tips = store();
    return !tips.value(enabledKey, true).toBool() || tips.value(dismissedKey).toStringList().contains(tip);
}

void TipStore::dismiss(const QString &tip)
{
    QSettings tips = store();
    QStringList dismissed = tips.value(dismissedKey).toStringList();
    if (dismissed.contains(tip))
        return;
    dismissed << tip;
    tips.setValue(dismissedKey, dismissed);
}

void TipStore::reset()
{
    QSettings tips = store();
    tips.remove(dismissedKey);
    tips.remove(enabledKey);
}
