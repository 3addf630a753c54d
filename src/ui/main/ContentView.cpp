#include "ui/main/ContentView.h"

#include "ui/common/AppearanceMenus.h"
#include "ui/common/PulsingOpacity.h"
#include "ui/common/ReturnActivates.h"
#include "ui/common/Symbols.h"
#include "ui/common/UserFormTextField.h"
#include "ui/main/MainScreenState.h"
#include "ui/main/QuoteArea.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int contentWidth = 640;

QToolButton *symbolButton(const QString &symbol, const QString &name, const QString &objectName,
                          QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setIcon(Symbols::bundledIcon(symbol));
    button->setProperty("symbol", symbol);
    button->setIconSize(QSize(24, 24));
    button->setAutoRaise(true);
    button->setToolTip(name);
    button->setAccessibleName(name);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

QFont scaled(qreal factor, bool bold = false)
{
    QFont font = QApplication::font();
    font.setPointSizeF(font.pointSizeF() * factor);
    font.setBold(bold);
    return font;
}

bool isInside(const QWidget *widget, const QWidget *container)
{
    return widget && (widget == container || container->isAncestorOf(widget));
}

} // namespace

ContentView::ContentView(MainScreenState *state, QWidget *parent) : Screen(parent), m_state(state)
{
    setObjectName(QStringLiteral("contentView"));
    setTitle(tr("Lumisera"));

    auto *column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(makeQuoteArea());
    column->addWidget(makeUnlockRow());
    column->addSpacing(16);
    column->addWidget(makeAppearance());
    auto *centred = new QWidget(this);
    centred->setLayout(column);
    centred->setMaximumWidth(contentWidth);
    auto *middle = new QHBoxLayout;
    middle->addStretch(1);
    middle->addWidget(centred, 100);
    middle->addStretch(1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 12, 24, 12);
    layout->addWidget(makeToolbar());
    layout->addStretch(1);
    layout->addLayout(middle);
    layout->addStretch(2);
    layout->addWidget(makeBottomBar());

    connect(m_state, &MainScreenState::changed, this, &ContentView::render);
    connect(m_state, &MainScreenState::quoteChanged, this,
            [this] { m_quoteArea->setComposedItem(m_state->composedItem()); });
    connect(m_state, &MainScreenState::focusFieldRequested, this,
            [this] { m_field->setFocus(Qt::OtherFocusReason); });
    // Wiped, undo history and all: QLineEdit::clear() would let Ctrl+Z bring the passcode back.
    connect(m_state, &MainScreenState::codeCleared, m_field, &UserFormTextField::wipe);
    m_focusWatch = connect(qApp, &QApplication::focusChanged, this, &ContentView::onFocusChanged);
    render();
}

void ContentView::paintEvent(QPaintEvent *event)
{
    Screen::paintEvent(event);
    if (m_themeIconsApplied)
        return;
    m_themeIconsApplied = true;
    // Once the first frame is on screen (a timer set when shown could run before it): the desktop's
    // icon theme where it has the symbols.
    QTimer::singleShot(0, this, [this] {
        for (QToolButton *button : findChildren<QToolButton *>()) {
            const QString symbol = button->property("symbol").toString();
            if (!symbol.isEmpty())
                button->setIcon(Symbols::icon(symbol));
        }
    });
}

ContentView::~ContentView()
{
    // Closing the window moves the focus while ~QWidget runs, when this is no ContentView any more.
    disconnect(m_focusWatch);
}

QWidget *ContentView::makeToolbar()
{
    auto *bar = new QWidget(this);
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    m_gear = symbolButton(QStringLiteral("gear"), tr("Settings"), QStringLiteral("settingsButton"), bar);
    layout->addWidget(m_gear);
    connect(m_gear, &QToolButton::clicked, this, &ContentView::settingsRequested);
    return bar;
}

QWidget *ContentView::makeQuoteArea()
{
    m_quoteArea = new QuoteArea(m_state->composedItem(), scaled(2.0, true), scaled(1.4), this);
    connect(m_quoteArea, &QuoteArea::tapped, m_state, &MainScreenState::tapQuote);
    connect(m_quoteArea, &QuoteArea::longPressed, m_state, &MainScreenState::longPressCompleted);
    return m_quoteArea;
}

QWidget *ContentView::makeUnlockRow()
{
    m_unlockRow = new QWidget(this);
    auto *layout = new QVBoxLayout(m_unlockRow);
    layout->setContentsMargins(0, 12, 0, 0);
    m_unlockLine = new QPushButton(m_unlockRow);
    m_unlockLine->setObjectName(QStringLiteral("unlockLine"));
    m_unlockLine->setFlat(true);
    m_unlockLine->setCursor(Qt::PointingHandCursor);
    QFont underlined = scaled(1.1);
    underlined.setUnderline(true);
    m_unlockLine->setFont(underlined);
    connect(m_unlockLine, &QPushButton::clicked, this, [this] {
        if (m_state->unlockLine() == MainScreenState::UnlockLine::open)
            Q_EMIT m_state->storageRequested();
        else
            m_state->requestUnlock();
    });
    // Return activates the line as it would a link, not only Space as for a button.
    ReturnActivates::install(m_unlockLine);
    layout->addWidget(m_unlockLine);
    layout->addWidget(makePasscodePanel());
    return m_unlockRow;
}

QWidget *ContentView::makePasscodePanel()
{
    m_passcodePanel = new QWidget(m_unlockRow);
    m_passcodePanel->setObjectName(QStringLiteral("passcodePanel"));
    auto *layout = new QVBoxLayout(m_passcodePanel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *row = new QHBoxLayout;
    m_field = new UserFormTextField(ProtectFieldType::passcode, m_passcodePanel);
    m_field->setObjectName(QStringLiteral("passcodeField"));
    m_biometricButton = symbolButton(QStringLiteral("touchid"), tr("Unlock with fingerprint"),
                                     QStringLiteral("biometricButton"), m_passcodePanel);
    row->addWidget(m_field, 1);
    row->addWidget(m_biometricButton);
    layout->addLayout(row);
    m_checkProblem = new QLabel(m_passcodePanel);
    m_checkProblem->setObjectName(QStringLiteral("checkProblem"));
    m_checkProblem->setTextFormat(Qt::PlainText);
    m_checkProblem->setWordWrap(true);
    layout->addWidget(m_checkProblem);
    layout->addWidget(makeFingerprintPanel());
    connect(m_field, &QLineEdit::returnPressed, this, [this] { m_state->submit(m_field->text()); });
    connect(m_biometricButton, &QToolButton::clicked, m_state, &MainScreenState::startBiometrics);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), m_field, nullptr, nullptr, Qt::WidgetShortcut);
    connect(escape, &QShortcut::activated, m_state, &MainScreenState::keyboardHidden);
    return m_passcodePanel;
}

QWidget *ContentView::makeFingerprintPanel()
{
    m_fingerprintPanel = new QWidget(m_passcodePanel);
    m_fingerprintPanel->setObjectName(QStringLiteral("fingerprintPanel"));
    auto *layout = new QHBoxLayout(m_fingerprintPanel);
    layout->setContentsMargins(0, 6, 0, 0);
    auto *icon = new QLabel(m_fingerprintPanel);
    icon->setPixmap(Symbols::bundledIcon(QStringLiteral("touchid")).pixmap(24, 24));
    PulsingOpacity::apply(icon, true);
    auto *prompt = new QLabel(tr("Touch the fingerprint reader"), m_fingerprintPanel);
    prompt->setObjectName(QStringLiteral("fingerprintPrompt"));
    auto *manual = new QPushButton(tr("Enter manually"), m_fingerprintPanel);
    manual->setObjectName(QStringLiteral("enterManually"));
    auto *cancel = new QPushButton(tr("Cancel"), m_fingerprintPanel);
    cancel->setObjectName(QStringLiteral("cancelFingerprint"));
    layout->addWidget(icon);
    layout->addWidget(prompt, 1);
    layout->addWidget(manual);
    layout->addWidget(cancel);
    connect(manual, &QPushButton::clicked, m_state, &MainScreenState::enterManually);
    connect(cancel, &QPushButton::clicked, m_state, &MainScreenState::cancelBiometrics);
    return m_fingerprintPanel;
}

QWidget *ContentView::makeAppearance()
{
    m_appearance = new QWidget(this);
    m_appearance->setObjectName(QStringLiteral("appearanceSection"));
    auto *layout = new QHBoxLayout(m_appearance);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *label = new QLabel(tr("Color scheme"), m_appearance);
    m_schemePicker = new ColorSchemePicker(m_appearance);
    label->setBuddy(m_schemePicker);
    m_schemePicker->setMode(m_state->schemeMode());
    m_backgroundMenu = new BackgroundImageMenu(m_appearance);
    layout->addStretch(1);
    layout->addWidget(label);
    layout->addWidget(m_schemePicker);
    layout->addWidget(m_backgroundMenu);
    connect(m_schemePicker, &ColorSchemePicker::modeChosen, m_state, [this](UserDefaults::Mode mode) {
        m_state->setSchemeMode(mode);
        m_state->settingsClosed(); // chosen here, it applies at once
    });
    connect(m_backgroundMenu, &BackgroundImageMenu::imageChosen, m_state,
            &MainScreenState::setBackgroundImage);
    return m_appearance;
}

QWidget *ContentView::makeBottomBar()
{
    auto *bar = new QWidget(this);
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *info =
        symbolButton(QStringLiteral("info.circle"), tr("About Lumisera"), QStringLiteral("aboutButton"), bar);
    auto *coffee = symbolButton(QStringLiteral("cup.and.heat.waves"), tr("Support Lumisera"),
                                QStringLiteral("donationButton"), bar);
    layout->addWidget(info);
    layout->addWidget(coffee);
    layout->addStretch(1);
    connect(info, &QToolButton::clicked, this, &ContentView::aboutRequested);
    connect(coffee, &QToolButton::clicked, this, &ContentView::donationRequested);
    return bar;
}

void ContentView::render()
{
    using Line = MainScreenState::UnlockLine;
    const Line line = m_state->unlockLine();
    m_gear->setEnabled(m_state->isSettingsEnabled());
    m_appearance->setVisible(m_state->showsAppearance());
    m_schemePicker->setMode(m_state->schemeMode());
    m_passcodePanel->setVisible(line == Line::passcodeField);
    m_fingerprintPanel->setVisible(m_state->isScanning());
    m_biometricButton->setVisible(!m_state->biometricSymbol().isEmpty());
    m_field->setEnabled(!m_state->isScanning());
    const QString checkProblem = m_state->checkProblem();
    m_checkProblem->setText(
        checkProblem.isEmpty()
            ? QString()
            : tr("The passcode could not be checked: %1. Press Return to try again.").arg(checkProblem));
    m_checkProblem->setVisible(!checkProblem.isEmpty());

    QString text;
    switch (line) {
    case Line::waiting:
        text = tr("Waiting for the desktop keyring…");
        break;
    case Line::setPasscode:
        text = tr("Tap to Set Passcode");
        break;
    case Line::unlock:
        text = tr("Tap to Unlock");
        break;
    case Line::open:
        text = tr("Tap to Open");
        break;
    case Line::unavailable:
        text = tr("The passcode cannot be read: %1. Tap to try again.").arg(m_state->storeProblem());
        break;
    case Line::none:
    case Line::passcodeField:
        break;
    }
    const bool leading = m_state->unlockLineAlignment() == Qt::AlignLeading;
    m_unlockLine->setStyleSheet(
        QStringLiteral("QPushButton { border: none; padding: 4px 0; text-align: %1; }")
            .arg(leading ? QStringLiteral("left") : QStringLiteral("right")));
    m_unlockLine->setText(text);
    m_unlockLine->setAccessibleName(text);
    m_unlockLine->setVisible(!text.isEmpty());
    m_unlockLine->setEnabled(line != Line::waiting);
    // Once unlocked, Return goes on into Storage.
    if (line == Line::open && m_shownLine != Line::open && isVisible())
        m_unlockLine->setFocus(Qt::OtherFocusReason);
    m_shownLine = line;
}

void ContentView::onFocusChanged(QWidget *old, QWidget *now)
{
    // Leaving the passcode panel closes it, as a closing keyboard would; moving within it (to the
    // fingerprint buttons) does not. Losing the window is the phase's business.
    if (!m_passcodePanel->isVisible() || !now || !isInside(old, m_passcodePanel) ||
        isInside(now, m_passcodePanel))
        return;
    m_state->keyboardHidden();
}
