#pragma once

#include <QtGlobal>

// Which finished listing a folder view may show. Listings run side by side and may finish in any
// order: one started before the listing shown is stale, and so is every one started before the
// folder closed or went. Main thread only.
class ListingStamps
{
public:
    // The stamp of a listing that starts now.
    quint64 start() { return ++m_started; }
    // Whether the listing of stamp may be shown; if so, it is the one shown from now on.
    bool accept(quint64 stamp);
    // The folder closed or went: what is in flight is dropped.
    void invalidate() { m_shown = m_started; }

private:
    quint64 m_started = 0;
    quint64 m_shown = 0;
};
