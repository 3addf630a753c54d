#pragma once

// Not ours: Qt Multimedia keeps its PulseAudio (and GLib) state until the process ends; Qt PDF 6.4
// does not free its loader's pieces nor the scroller gesture its view grabs (about 2 KiB a PDF).
// For the test programs that load the media module; included by one file of each.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libpulse.so\nleak:libglib-2.0.so\nleak:libQt6Pdf.so\nleak:QScroller::grabGesture\n";
}
