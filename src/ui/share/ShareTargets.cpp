#include "ui/share/ShareTargets.h"

#include "ui/common/FileChooser.h"
#include "ui/folder/OKAlert.h"

#include <QCommandLinkButton>
#include <QDir>
#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int narrowest = 420;
} // namespace

ShareTargets::ShareTargets(QList<std::shared_ptr<StoredItemProvider>> activityItems, QWidget *parent)
    : QWidget(parent), m_activity(new ShareActivity(std::move(activityItems), this)), m_status(new QLabel)
{
    connect(m_activity, &ShareActivity::busyChanged, this, &ShareTargets::setBusy);
    connect(m_activity, &ShareActivity::finished, this, &ShareTargets::report);
    setObjectName(QStringLiteral("shareTargets"));
    m_status->setObjectName(QStringLiteral("statusLabel"));
    m_status->setTextFormat(Qt::PlainText);
    m_status->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(makeButton(Activity::saveToFolder, QStringLiteral("folder"), tr("Save to Folder…"),
                                 tr("Decrypted copies in a folder you choose")));
    layout->addWidget(makeButton(Activity::sendByEmail, QStringLiteral("mail-message-new"),
                                 tr("Send by E-mail"),
                                 tr("A new message in your e-mail program, the items attached")));
    layout->addWidget(makeButton(Activity::openWithDefaultApplication, QStringLiteral("document-open"),
                                 tr("Open with Default Application"),
                                 tr("Each item in the application your desktop opens it with")));
    layout->addSpacing(6);
    layout->addWidget(m_status);
    layout->addStretch();
    setMinimumWidth(narrowest);
    fitButtons(narrowest);
}

QCommandLinkButton *ShareTargets::makeButton(Activity activity, const QString &themeIcon, const QString &text,
                                             const QString &description)
{
    auto *button = new QCommandLinkButton(text, description);
    button->setObjectName(QVariant::fromValue(activity).toString() + QStringLiteral("Button"));
    button->setIcon(QIcon::fromTheme(themeIcon, button->icon()));
    button->setAccessibleName(text);
    button->setAutoDefault(false);
    connect(button, &QCommandLinkButton::clicked, this, [this, activity] { choose(activity); });
    m_buttons.append(button);
    return button;
}

void ShareTargets::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitButtons(width());
}

void ShareTargets::fitButtons(int width)
{
    // A command link's own size hint wraps its description at the width of its title: far taller
    // than it needs, or squeezed out of sight when the layout gives it less.
    for (QCommandLinkButton *button : std::as_const(m_buttons))
        button->setFixedHeight(button->heightForWidth(width));
}

QCommandLinkButton *ShareTargets::button(Activity activity) const
{
    return m_buttons.value(int(activity));
}

void ShareTargets::choose(Activity activity)
{
    if (m_activity->isBusy())
        return;
    m_status->clear();
    if (activity == Activity::saveToFolder)
        openFolderDialog();
    else
        m_activity->perform(activity);
}

void ShareTargets::openFolderDialog()
{
    if (chooseFolder) {
        const QString folder = chooseFolder();
        m_activity->perform(Activity::saveToFolder, folder);
        return;
    }
    auto *chooser = new FileChooser(this);
    connect(chooser, &FileChooser::finished, this, [this, chooser](const QStringList &paths) {
        chooser->deleteLater();
        if (!paths.isEmpty())
            m_activity->perform(Activity::saveToFolder, paths.constFirst());
    });
    chooser->open({.kind = FileChooser::Kind::folder,
                   .title = tr("Save to Folder"),
                   .folder = QDir::homePath(),
                   .nameFilters = {},
                   .acceptLabel = tr("Save"),
                   .dialogName = QStringLiteral("saveFolderDialog")});
}

void ShareTargets::setBusy(bool busy)
{
    for (QCommandLinkButton *button : std::as_const(m_buttons))
        button->setEnabled(!busy);
    Q_EMIT busyChanged(busy);
}

void ShareTargets::report(Activity activity, const QString &text, const QStringList &errors)
{
    m_status->setText(text);
    if (errors.isEmpty()) {
        Q_EMIT completed(activity, true);
        return;
    }
    // Owned by the dialog, so that it goes with it when the vault locks.
    auto *alert = new OKAlert(tr("Share Items"), errors.join(u'\n'), this);
    alert->setObjectName(QStringLiteral("shareFailureAlert"));
    alert->open();
    Q_EMIT completed(activity, false);
}
