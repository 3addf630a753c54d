#pragma once

#include "storage/StorageLocation.h"

#include <QWidget>
#include <memory>

class BackgroundCanvas;
class ContentView;
class FolderView;
class ItemCollection;
class MainScreenState;
class NavigationStack;
class Presenter;
class QStackedWidget;
class ScreenPrivacyMonitor;

// The one window: the background picture, the main screen at the root of the navigation stack,
// and every other screen the main screen leads to.
class MainWindow : public QWidget
{
    Q_OBJECT
public:
    explicit MainWindow(MainScreenState *state, QWidget *parent = nullptr);

    Presenter *presenter() const { return m_presenter; }
    ContentView *contentView() const { return m_contentView; }
    // Screens with vault content hide behind the privacy cover while the screen is captured.
    void setPrivacyMonitor(const ScreenPrivacyMonitor *monitor);
    // Whether the desktop tells its idle time, for "Lock When Idle" in Settings.
    void setIdleLockAvailable(bool available);

public Q_SLOTS:
    void openStorage();
    void openSetPasscode();
    void openSettings();
    void openAbout();
    // The "Change Passcode" sheet, or the one that finishes an unfinished change.
    void openChangePasscode(bool resuming);
    void openTree(const std::shared_ptr<ItemCollection> &root, const QString &title);

Q_SIGNALS:
    // Ctrl+Q.
    void quitRequested();

protected:
    // Escape that no screen took for itself closes the screen in front.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void installKeys();
    void serveImports(FolderView *folder);
    MainScreenState *m_state;
    BackgroundCanvas *m_canvas;
    QStackedWidget *m_layers;
    NavigationStack *m_navigation;
    Presenter *m_presenter;
    ContentView *m_contentView;
    const ScreenPrivacyMonitor *m_privacyMonitor = nullptr;
    bool m_idleLockAvailable = true;
};
