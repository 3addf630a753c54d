#pragma once

#include <QString>

class BuildInfo
{
public:
    BuildInfo() = delete;
    // Compile date and time joined by one space, e.g. "Apr 24 2025 11:01:44".
    static QString buildString();
};
