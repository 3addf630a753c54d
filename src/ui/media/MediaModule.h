#pragma once

#include <QString>

class MediaBackend;

// The media module (the camera, players and PDF pages through Qt Multimedia and Qt PDF) is a plugin
// loaded on first use: linked into the window, its libraries would all be loaded before the first
// frame.
class MediaModule
{
public:
    // Loaded once and kept; nothing, with the reason, when it is missing or does not load.
    static MediaBackend *backend(QString *whyNot = nullptr);
    // Where the running program finds it: in the build tree it was built in, else beside the
    // installed program.
    static QStringList searchPaths();
    static QStringList searchPaths(const QString &programFolder, const QString &buildFolder);
};
