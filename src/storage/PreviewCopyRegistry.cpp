#include "storage/PreviewCopyRegistry.h"

#include "core/Logging.h"

#include <QFile>
#include <QFileInfo>

PreviewCopyRegistry &PreviewCopyRegistry::shared()
{
    static PreviewCopyRegistry registry;
    return registry;
}

void PreviewCopyRegistry::hold(const QString &name)
{
    ++m_holdings[name].holders;
}

bool PreviewCopyRegistry::letGo(const QString &name, const QString &copy)
{
    const auto found = m_holdings.find(name);
    if (found == m_holdings.end()) {
        // Nobody holds the name (a copy made after its previewer went): it goes at once.
        if (!copy.isEmpty())
            remove(copy);
        return !copy.isEmpty();
    }
    if (!copy.isEmpty())
        found->copy = copy;
    if (--found->holders > 0)
        return false;
    const QString last = found->copy;
    m_holdings.erase(found);
    if (!last.isEmpty())
        remove(last);
    return !last.isEmpty();
}

void PreviewCopyRegistry::remove(const QString &path)
{
    QFile copy(path);
    if (copy.remove())
        logInfo(QStringLiteral("ContentPreviewer clean up temp file ") + QFileInfo(path).path() +
                QStringLiteral("/(a preview copy)"));
    else
        errorMsg(QStringLiteral("Caught error ") + copy.errorString());
}
