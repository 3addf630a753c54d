// Saves a picture of each folder dialog, light and dark, to look at them while they change:
// folder-dialog-pictures [folder] (default /tmp). Runs offscreen. Not a test: it checks nothing.
#include "AddFolder.h"
#include "ColorScheme.h"
#include "DeleteFileView.h"
#include "DeleteFolderView.h"
#include "EnterPin.h"
#include "EntrySheet.h"
#include "ItemCollection.h"
#include "ModifyFolderView.h"
#include "NewFolderView.h"
#include "OKAlert.h"
#include "OKCancelAlert.h"
#include "TestHome.h"
#include "WarningCard.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QVBoxLayout>

namespace {

QString g_folder;

void save(QWidget *widget, const QString &name, const QString &scheme)
{
    widget->adjustSize();
    widget->show();
    QTest::qWait(50);
    widget->grab().save(QStringLiteral("%1/dialogs-%2-%3.png").arg(g_folder, name, scheme));
    widget->hide();
}

// As the presenter hosts a sheet.
void saveSheet(Screen *screen, const QString &name, const QString &scheme)
{
    QDialog host;
    auto *layout = new QVBoxLayout(&host);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(screen);
    save(&host, name, scheme);
}

} // namespace

int main(int argc, char **argv)
{
    TestHome home;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    g_folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp");
    ItemCollection folder(StorageLocation::local, FileItemType::file, QStringLiteral("Holiday Pictures"));
    for (const QString &scheme : {QStringLiteral("light"), QStringLiteral("dark")}) {
        ColorScheme::apply(scheme == QLatin1String("dark") ? UserDefaults::Mode::dark
                                                           : UserDefaults::Mode::light);
        AddFolder add;
        save(&add, QStringLiteral("add"), scheme);
        saveSheet(new NewFolderView, QStringLiteral("new"), scheme);
        saveSheet(new EnterPin, QStringLiteral("pin"), scheme);
        auto *modify = new ModifyFolderView(&folder);
        save(modify->findChild<EntrySheet *>(QStringLiteral("passcodeSheet")), QStringLiteral("passcode"),
             scheme);
        save(modify->findChild<EntrySheet *>(QStringLiteral("pinSheet")), QStringLiteral("create-pin"),
             scheme);
        saveSheet(modify, QStringLiteral("modify"), scheme);
        saveSheet(new DeleteFolderView(&folder, {}), QStringLiteral("delete-folder"), scheme);
        auto *deleting = new DeleteFolderView(&folder, {});
        deleting->findChild<WarningCard *>()->showProgress(QObject::tr("Deleting folder and contents"));
        saveSheet(deleting, QStringLiteral("delete-folder-progress"), scheme);
        saveSheet(new DeleteFileView({}, &folder), QStringLiteral("delete-files"), scheme);
        OKCancelAlert alert(
            QObject::tr("Remove Folder"),
            QObject::tr("Deleting a folder will delete all contents and can not be recovered!"),
            DestructiveButton::ok, nullptr);
        save(&alert, QStringLiteral("alert"), scheme);
    }
    return 0;
}
