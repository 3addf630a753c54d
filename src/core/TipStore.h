#pragma once

#include <QString>

// The help tips' own store, apart from the settings: "+tipsEnabled" (absent = on) and the tips
// closed once, which stay closed across restarts. A file of its own in the data folder.
class TipStore
{
public:
    TipStore() = delete;

    static bool tipsEnabled();
    static void setTipsEnabled(bool enabled);
    // Closed once, or all tips turned off.
    static bool isDismissed(const QString &tip);
    static void dismiss(const QString &tip);
    // Every tip shows again.
    static void reset();
    static QString filePath();
};
