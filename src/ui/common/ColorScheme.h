#pragma once

#include "core/UserDefaults.h"

#include <QPalette>

// The colour scheme of the whole application: the Fusion style's light or dark palette, or, for
// "automatic", whatever palette the desktop gives.
class ColorScheme
{
public:
    ColorScheme() = delete;

    static void apply(UserDefaults::Mode mode);
    static QPalette lightPalette();
    static QPalette darkPalette();
    // Whether a palette reads as dark (its window colour is).
    static bool isDark(const QPalette &palette);
};
