#pragma once

#include <QFrame>

// A help tip of the folder screen: a small panel with the tip picture, a title, a message and a
// close button. A tip closed once stays closed, across restarts too (TipStore).
class FolderTip : public QFrame
{
    Q_OBJECT
public:
    // name: which tip ("ToolbarTips", "EmptyFolderTip", …); also the object name.
    FolderTip(const QString &name, const QString &title, const QString &message, QWidget *parent = nullptr);

    static bool isDismissed(const QString &name);
    // The one tip a folder screen shows above its grid: the first not closed yet of "Actions",
    // then (in sub-folders) "Gestures", then "Import"; nothing once all were closed.
    static FolderTip *firstShown(bool rootListing);

    // The tips of the folder screen.
    static FolderTip *toolbarTips();
    static FolderTip *toolbarTips2();
    static FolderTip *subFolderTip();
    static FolderTip *emptyFolderTip();
    static FolderTip *importTip();
};
