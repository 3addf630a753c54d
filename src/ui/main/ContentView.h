#pragma once

#include "ui/common/Screen.h"
#include "ui/main/MainScreenState.h"

class BackgroundImageMenu;
class ColorSchemePicker;
class QLabel;
class QPushButton;
class QuoteArea;
class QToolButton;
class UserFormTextField;

// The main screen: the quote of the day over the background picture, and, under it, the row
// that leads into the vault. It draws a MainScreenState and forwards input to it.
class ContentView : public Screen
{
    Q_OBJECT
public:
    explicit ContentView(MainScreenState *state, QWidget *parent = nullptr);
    ~ContentView() override;

Q_SIGNALS:
    void settingsRequested();
    void aboutRequested();
    void donationRequested();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QWidget *makeToolbar();
    QWidget *makeQuoteArea();
    QWidget *makeUnlockRow();
    QWidget *makePasscodePanel();
    QWidget *makeFingerprintPanel();
    QWidget *makeAppearance();
    QWidget *makeBottomBar();
    void render();
    void onFocusChanged(QWidget *old, QWidget *now);

    MainScreenState *m_state;
    QMetaObject::Connection m_focusWatch;
    bool m_themeIconsApplied = false;
    QToolButton *m_gear = nullptr;
    QuoteArea *m_quoteArea = nullptr;
    QWidget *m_unlockRow = nullptr;
    QPushButton *m_unlockLine = nullptr;
    QWidget *m_passcodePanel = nullptr;
    UserFormTextField *m_field = nullptr;
    QToolButton *m_biometricButton = nullptr;
    QWidget *m_fingerprintPanel = nullptr;
    QLabel *m_checkProblem = nullptr;
    QWidget *m_appearance = nullptr;
    ColorSchemePicker *m_schemePicker = nullptr;
    BackgroundImageMenu *m_backgroundMenu = nullptr;
    MainScreenState::UnlockLine m_shownLine = MainScreenState::UnlockLine::none;
};
