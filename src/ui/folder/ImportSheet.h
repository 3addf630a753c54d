#pragma once

#include "ui/common/Screen.h"

#include <QPointer>
#include <QStringList>
#include <functional>

class ImportJob;
class ImportSheetState;
class ItemCollection;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QStackedWidget;

// "Import": copies files into the collection's folder, encrypted; the sources stay as they are.
// The files come from Qt's own file dialog, opened half a second after the sheet shows (photos:
// pictures only, starting in the Pictures folder), or are given (files dropped on the grid).
// "Preparing..." until the import starts, then "Importing..." with its progress and "Cancel".
// The sheet closes by itself when every file went in, or lists the ones that did not with "OK".
class ImportSheet : public Screen
{
    Q_OBJECT
public:
    enum class Source { files, photos };

    ImportSheet(ItemCollection *collection, Source source, QWidget *parent = nullptr);
    ImportSheet(ItemCollection *collection, const QStringList &paths, QWidget *parent = nullptr);
    ~ImportSheet() override;

    // The seam for tests: when set, it answers in place of the file dialog (called when the dialog
    // would open); an empty list is a cancelled dialog.
    static inline std::function<QStringList(Source)> chooseFiles;

    static QStringList nameFilters(Source source);
    ImportSheetState *state() const { return m_state; }

Q_SIGNALS:
    // Once, when the import is over, before any list of failures (0 when nothing was chosen).
    // Not sent when the sheet is closed from outside first (the vault locked): the files stored
    // by then stay.
    void finished(int importedCount);

protected:
    void showEvent(QShowEvent *event) override;

private:
    ImportSheet(ItemCollection *collection, Source source, const QStringList &paths, QWidget *parent);
    QWidget *makeTip();
    QWidget *makeProgress();
    QWidget *makeFailures();
    void openDialog();
    void startImport(const QStringList &paths);
    void showProgress();
    void showState();

    QPointer<ItemCollection> m_collection;
    const Source m_source;
    const QStringList m_givenPaths;
    bool m_shown = false;
    ImportSheetState *m_state;
    ImportJob *m_job = nullptr;
    QStackedWidget *m_pages;
    QLabel *m_status;
    QProgressBar *m_bar;
    QLabel *m_progressText;
    QLabel *m_currentName;
    QListWidget *m_failures;
    QPushButton *m_close;
    QPushButton *m_cancel;
    QPushButton *m_ok;
};
