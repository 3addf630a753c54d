#pragma once

#include <QUrl>

#include <functional>

// Hands web addresses to the desktop's browser. Tests put a recorder in its place, so that no
// test ever starts a real browser. Used from the main thread only.
class UrlOpener
{
public:
    using Opener = std::function<bool(const QUrl &)>;

    UrlOpener() = delete;

    // True when the address was handed over.
    static bool open(const QUrl &url);
    // An empty opener puts the desktop's browser back.
    static void setOpener(Opener opener);
};
