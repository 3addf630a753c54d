#include "ui/settings/Settings.h"

#include "ui/common/AppearanceMenus.h"
#include "ui/common/Symbols.h"
#include "ui/settings/SettingsToggle.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMetaEnum>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

QString toggleObjectName(SettingsState::Toggle toggle)
{
    return QString::fromLatin1(QMetaEnum::fromType<SettingsState::Toggle>().valueToKey(int(toggle))) +
           QStringLiteral("Toggle");
}

QGroupBox *makeSection(const QString &title, const QString &objectName)
{
    auto *section = new QGroupBox(title);
    section->setObjectName(objectName);
    new QVBoxLayout(section);
    return section;
}

QVBoxLayout *sectionLayout(QGroupBox *section)
{
    return static_cast<QVBoxLayout *>(section->layout());
}

} // namespace

Settings::Settings(QWidget *parent) : Screen(parent), m_state(new SettingsState(this))
{
    setTitle(tr("Settings"));
    setDismissesOnBackground(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeHeader());
    layout->addWidget(makeSections(), 1);
    forwardStateSignals();
}

QWidget *Settings::makeHeader()
{
    auto *header = new QWidget;
    auto *heading = new QLabel(title());
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    auto *close = new QPushButton(Symbols::icon(QStringLiteral("xmark.circle.fill")), tr("Close"));
    close->setObjectName(QStringLiteral("closeButton"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &Screen::dismissRequested);
    // Shown, the page gives the keyboard to a control a screen reader can name.
    setFocusProxy(close);

    auto *layout = new QHBoxLayout(header);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(heading);
    layout->addStretch();
    layout->addWidget(close);
    return header;
}

QWidget *Settings::makeSections()
{
    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    layout->addWidget(makeAuthentication());
    layout->addWidget(makeContentSecurity());
    layout->addWidget(makeAppearance());
    layout->addWidget(makeBehavior());
    layout->addWidget(makeVault());
    layout->addStretch();

    auto *scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("settingsScrollArea"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The toggles take the keyboard, not the unnamed area around them.
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setWidget(content);
    return scroll;
}

QGroupBox *Settings::makeAuthentication()
{
    QGroupBox *section = makeSection(tr("Authentication"), QStringLiteral("authenticationSection"));
    addToggle(sectionLayout(section), SettingsState::Toggle::disableBiometrics, tr("Disable Biometrics"),
              tr("Disable the use of biometrics for passcode; this will force manual entry in the passcode "
                 "field for app unlock. This means the fingerprint reader will not be used.\n\nThis setting "
                 "does not impact per-folder pin entry which is always manual."));
    auto *change = new QPushButton(tr("Change Passcode"));
    change->setObjectName(QStringLiteral("changePasscodeButton"));
    change->setAutoDefault(false);
    connect(change, &QPushButton::clicked, this, &Settings::changePasscodeRequested);
    sectionLayout(section)->addWidget(change, 0, Qt::AlignLeading);
    return section;
}

QGroupBox *Settings::makeContentSecurity()
{
    QGroupBox *section = makeSection(tr("Content Security"), QStringLiteral("contentSecuritySection"));
    addToggle(sectionLayout(section), SettingsState::Toggle::protectScreen, tr("Protect Screen Contents"),
              tr("When active, this will obscure content when device mirroring is detected or if a screen "
                 "recording is in process. Linux does not tell applications when the screen is being "
                 "recorded or shared, so Lumisera cannot detect it; the vault locks whenever you switch "
                 "away, unless \"Stay Unlocked in Other Windows\" is on.\n\nAlways be aware of your "
                 "surroundings when viewing sensitive files."));
    return section;
}

QGroupBox *Settings::makeAppearance()
{
    QGroupBox *section = makeSection(tr("Appearance"), QStringLiteral("appearanceSection"));
    QVBoxLayout *layout = sectionLayout(section);
    layout->addWidget(makeSchemePicker());
    layout->addWidget(makeBackgroundButton());
    addToggle(layout, SettingsState::Toggle::displayInspiration, tr("Display Inspiration"),
              tr("Daily inspiration quote displayed on main screen."));
    addToggle(
        layout, SettingsState::Toggle::hideUnlockButton, tr("Hide Unlock Button"),
        tr("Activating this toggle will remove the 'Tap to Unlock' button from the main screen. You can "
           "then only unlock the app by long-pressing on the daily quote."));
    auto *note = new QLabel(tr("Visual customization changes take effect when Settings view is dismissed."));
    note->setObjectName(QStringLiteral("appearanceNote"));
    note->setWordWrap(true);
    layout->addWidget(note);
    return section;
}

QGroupBox *Settings::makeBehavior()
{
    QGroupBox *section = makeSection(tr("Behavior"), QStringLiteral("behaviorSection"));
    QVBoxLayout *layout = sectionLayout(section);
    addToggle(layout, SettingsState::Toggle::fastUnlock, tr("Fast Unlock"),
              tr("Activating this toggle will, on first unlock, automatically push to the Storage view; "
                 "removing the need to 'Tap to Open' on first unlock."));
    addToggle(layout, SettingsState::Toggle::stayUnlockedInOtherWindows, tr("Stay Unlocked in Other Windows"),
              tr("When on, switching to another window does not lock the vault; minimising or hiding "
                 "Lumisera, locking the session and sleep still do. Turn it on to drag files in from a "
                 "file manager."));
    layout->addWidget(makeIdleLockChoice());
    return section;
}

QGroupBox *Settings::makeVault()
{
    QGroupBox *section = makeSection(tr("Vault"), QStringLiteral("vaultSection"));
    QVBoxLayout *layout = sectionLayout(section);
    auto *check = new QPushButton(tr("Check Vault"));
    check->setObjectName(QStringLiteral("checkVaultButton"));
    check->setAutoDefault(false);
    connect(check, &QPushButton::clicked, this, &Settings::checkVaultRequested);
    auto *row = new QHBoxLayout;
    row->addWidget(check);
    row->addStretch();
    layout->addLayout(row);
    layout->addWidget(SettingsToggle::makeHelp(
        tr("Looks at every stored file of both trees and reports files that do not decrypt, PIN entries "
           "that cannot be read, leftovers, links, sync-conflict copies and a tree written with another "
           "passcode, changing nothing. Only each file's last bytes are read: damage inside a file goes "
           "unseen. Needs the vault unlocked.")));
    return section;
}

QWidget *Settings::makeSchemePicker()
{
    auto *row = new QWidget;
    auto *picker = new ColorSchemePicker;
    picker->setMode(m_state->mode());
    connect(picker, &ColorSchemePicker::modeChosen, m_state, &SettingsState::setMode);
    connect(m_state, &SettingsState::modeChanged, picker, &ColorSchemePicker::setMode);
    auto *label = new QLabel(tr("Color scheme"));
    label->setBuddy(picker);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addStretch();
    layout->addWidget(picker);
    return row;
}

QWidget *Settings::makeBackgroundButton()
{
    auto *menu = new BackgroundImageMenu;
    menu->setAutoDefault(false);
    connect(menu, &BackgroundImageMenu::imageChosen, m_state, &SettingsState::setBackgroundImage);
    return menu;
}

QWidget *Settings::makeIdleLockChoice()
{
    auto *choice = new QComboBox;
    choice->setObjectName(QStringLiteral("lockWhenIdleChoice"));
    for (const int minutes : SettingsState::idleLockChoices())
        choice->addItem(SettingsState::idleLockChoiceText(minutes), minutes);
    choice->setCurrentIndex(choice->findData(m_state->lockWhenIdle()));
    connect(choice, &QComboBox::activated, m_state,
            [this, choice](int index) { m_state->setLockWhenIdle(choice->itemData(index).toInt()); });
    auto *label = new QLabel(tr("Lock When Idle"));
    label->setBuddy(choice);
    choice->setAccessibleName(label->text());
    const QString helpText = tr("Locks the vault after this long without keyboard or mouse input to the "
                                "desktop, even while Lumisera is the active window.");
    QLabel *help = SettingsToggle::makeHelp(helpText);
    auto *note = new QLabel;
    note->setObjectName(QStringLiteral("lockWhenIdleNote"));
    const auto showAvailability = [this, choice, note, helpText] {
        const bool available = m_state->isIdleLockAvailable();
        choice->setEnabled(available);
        note->setText(m_state->idleLockNote());
        note->setVisible(!available);
        choice->setAccessibleDescription(available ? helpText : m_state->idleLockNote());
    };
    showAvailability();
    connect(m_state, &SettingsState::idleLockAvailableChanged, note, showAvailability);

    auto *row = new QWidget;
    auto *line = new QHBoxLayout;
    line->addWidget(label);
    line->addStretch();
    line->addWidget(choice);
    auto *layout = new QVBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(line);
    layout->addWidget(note);
    layout->addWidget(help);
    return row;
}

void Settings::addToggle(QVBoxLayout *layout, SettingsState::Toggle toggle, const QString &text,
                         const QString &help)
{
    auto *row = new SettingsToggle(text, help);
    row->checkBox()->setObjectName(toggleObjectName(toggle));
    row->checkBox()->setChecked(m_state->isOn(toggle));
    connect(row->checkBox(), &QCheckBox::toggled, m_state,
            [this, toggle](bool on) { m_state->setOn(toggle, on); });
    layout->addWidget(row);
}

void Settings::forwardStateSignals()
{
    connect(m_state, &SettingsState::backgroundImageChanged, this, &Settings::backgroundImageChanged);
    connect(m_state, &SettingsState::sparseUIChanged, this, &Settings::sparseUIChanged);
    connect(m_state, &SettingsState::obscuredUIChanged, this, &Settings::obscuredUIChanged);
    connect(m_state, &SettingsState::autoOpenChanged, this, &Settings::autoOpenChanged);
    connect(m_state, &SettingsState::biometricsHiddenChanged, this, &Settings::biometricsHiddenChanged);
    connect(m_state, &SettingsState::modeChanged, this, &Settings::modeChanged);
}
