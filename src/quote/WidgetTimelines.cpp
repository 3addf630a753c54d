#include "quote/WidgetTimelines.h"

#include "core/Logging.h"

void reloadWidgetTimelines()
{
    logInfo(QStringLiteral("reload timelines of widget kind ") + WidgetKind);
}
