// Loads libheif the way the application does, then ends: the process must exit cleanly.
#include "storage/HeifLibrary.h"

int main()
{
    return HeifLibrary::get() ? 0 : 2;
}
