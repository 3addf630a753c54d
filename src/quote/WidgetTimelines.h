#pragma once

#include <QLatin1String>

// The desktop widget's kind; widgets and status bars read the cached quote through
// `lumisera-vault quote --cached`.
inline constexpr QLatin1String WidgetKind{"Morvenda_Daily_Lumisera"};

// Desktop widgets poll the cached quote, so there is nothing to push: this only logs the request.
void reloadWidgetTimelines();
