#include "storage/ListingStamps.h"

bool ListingStamps::accept(quint64 stamp)
{
    if (stamp <= m_shown || stamp > m_started)
        return false;
    m_shown = stamp;
    return true;
}
