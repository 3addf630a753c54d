#pragma once

#include <QPixmap>
#include <QString>

// The pictures bundled with the application: the background of each BackgroundImage row, and
// the cover shown instead of vault content while the screen is recorded.
class BackgroundPictures
{
public:
    BackgroundPictures() = delete;

    // The resource path of a background image name; empty for "none" or a name not in the table.
    static QString resourcePath(const QString &image);
    // Null for "none" or a name not in the table. Main thread only (QPixmap).
    static QPixmap picture(const QString &image);
    static QPixmap sorryClosed();
};
