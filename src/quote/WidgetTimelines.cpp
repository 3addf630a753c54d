#include "WidgetTimelines.h"

#include "Logging.h"

void reloadWidgetTimelines()
{
    logInfo(QStringLiteral("reload timelines of widget kind ") + WidgetKind);
}
