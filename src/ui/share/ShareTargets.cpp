#include "ui/share/ShareTargets.h"

#include "storage/ShareFolder.h"
#include "storage/StoragePool.h"
#include "ui/common/UrlOpener.h"
#include "ui/folder/OKAlert.h"
#include "ui/share/ProgramStarter.h"

#include <QCommandLinkButton>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QUrl>
#include <QVBoxLayout>

namespace {
const QString emailProgram = QStringLiteral("xdg-email");
constexpr int narrowest = 420;
} // namespace

ShareTargets::ShareTargets(QList<std::shared_ptr<StoredItemProvider>> activityItems, QWidget *parent)
    : QWidget(parent), m_activityItems(std::move(activityItems)), m_status(new QLabel)
{
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

ShareTargets::~ShareTargets()
{
    // A decryption still running for a closed dialog is of no use to anyone.
    for (const std::shared_ptr<StoredItemProvider> &provider : m_activityItems)
        provider->cancel();
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
    if (m_busy)
        return;
    m_status->clear();
    if (activity == Activity::saveToFolder)
        openFolderDialog();
    else
        perform(activity, {});
}

void ShareTargets::openFolderDialog()
{
    if (chooseFolder) {
        const QString folder = chooseFolder();
        if (!folder.isEmpty())
            perform(Activity::saveToFolder, folder);
        return;
    }
    auto *dialog = new QFileDialog(this, tr("Save to Folder"), QDir::homePath());
    dialog->setObjectName(QStringLiteral("saveFolderDialog"));
    // Qt's own dialog: a desktop portal's would take the focus away and lock the vault.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setLabelText(QFileDialog::Accept, tr("Save"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this,
            [this](const QString &folder) { perform(Activity::saveToFolder, folder); });
    dialog->open();
}

void ShareTargets::perform(Activity activity, const QString &folder)
{
    setBusy(true);
    const auto decrypt = [items = m_activityItems, folder] {
        QList<StoredItemProvider::Copy> copies;
        for (const std::shared_ptr<StoredItemProvider> &provider : items)
            copies.append(folder.isEmpty() ? provider->item() : provider->saveInto(folder));
        return copies;
    };
    StoragePool::runThen(
        this, decrypt,
        [this, activity, folder](const QList<StoredItemProvider::Copy> &copies) {
            setBusy(false);
            finish(activity, folder, copies);
        },
        [this] { setBusy(false); });
}

void ShareTargets::finish(Activity activity, const QString &folder,
                          const QList<StoredItemProvider::Copy> &copies)
{
    QStringList paths, errors;
    for (const StoredItemProvider::Copy &copy : copies) {
        if (copy.isValid())
            paths.append(copy.path);
        else
            errors.append(copy.error);
    }
    QStringList taken = paths;
    if (activity == Activity::sendByEmail)
        taken = sendByEmail(paths, errors);
    else if (activity == Activity::openWithDefaultApplication)
        taken = openWithDefaultApplication(paths, errors);
    // All the items share one folder.
    if (activity != Activity::saveToFolder && !m_activityItems.isEmpty())
        m_activityItems.first()->tempFolder()->handOut(taken);
    report(summary(activity, taken, folder), errors);
    Q_EMIT completed(activity, errors.isEmpty());
}

QStringList ShareTargets::sendByEmail(const QStringList &paths, QStringList &errors)
{
    if (paths.isEmpty())
        return {};
    QStringList arguments{QStringLiteral("--subject"), StoredItemProvider::subject()};
    for (const QString &path : paths)
        arguments << QStringLiteral("--attach") << path;
    if (ProgramStarter::startDetached(emailProgram, arguments))
        return paths;
    errors.append(tr("%1 could not be started; it comes with the xdg-utils package.").arg(emailProgram));
    return {};
}

QStringList ShareTargets::openWithDefaultApplication(const QStringList &paths, QStringList &errors)
{
    QStringList opened;
    for (const QString &path : paths) {
        if (UrlOpener::open(QUrl::fromLocalFile(path)))
            opened.append(path);
        else
            errors.append(tr("No application opened %1.").arg(QFileInfo(path).fileName()));
    }
    return opened;
}

QString ShareTargets::summary(Activity activity, const QStringList &taken, const QString &folder)
{
    if (taken.isEmpty())
        return {};
    const QString what =
        taken.size() == 1 ? QFileInfo(taken.first()).fileName() : tr("%1 items").arg(taken.size());
    switch (activity) {
    case Activity::saveToFolder:
        return tr("Saved %1 in %2.").arg(what, QDir::toNativeSeparators(folder));
    case Activity::sendByEmail:
        return tr("Attached %1 to a new e-mail.").arg(what);
    case Activity::openWithDefaultApplication:
        return tr("Opened %1.").arg(what);
    }
    return {};
}

void ShareTargets::setBusy(bool busy)
{
    m_busy = busy;
    for (QCommandLinkButton *button : std::as_const(m_buttons))
        button->setEnabled(!busy);
    Q_EMIT busyChanged(busy);
}

void ShareTargets::report(const QString &text, const QStringList &errors)
{
    m_status->setText(text);
    if (errors.isEmpty())
        return;
    // Owned by the dialog, so that it goes with it when the vault locks.
    auto *alert = new OKAlert(tr("Share Items"), errors.join(u'\n'), this);
    alert->setObjectName(QStringLiteral("shareFailureAlert"));
    alert->open();
}
