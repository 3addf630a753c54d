#pragma once

#include <QWidget>

class QMenu;
class QPushButton;
class QToolButton;

// The folder screen's bottom bar: "Select" / "Cancel", and either the camera button and the
// folder menu, or (in selection mode) the "Selected Items" group with share and delete.
class FolderToolbar : public QWidget
{
    Q_OBJECT
public:
    // folderAddOk: folders may be created here (a tree's root); else the folder itself may be
    // deleted or modified.
    explicit FolderToolbar(bool folderAddOk, QWidget *parent = nullptr);

    QMenu *folderMenu() const { return m_menu; }
    QPushButton *selectButton() const { return m_select; }
    QToolButton *deleteButton() const { return m_delete; }

    void setSelectionMode(bool on);
    void setSelectEnabled(bool enabled);
    // Share and delete, for what is selected.
    void setSelectionActionsEnabled(bool enabled);

Q_SIGNALS:
    void selectToggled();
    void cameraRequested();
    void shareRequested();
    void deleteSelectionRequested();
    void reloadRequested();
    void addFolderRequested();
    void deleteFolderRequested();
    void modifyFolderRequested();
    void importPhotosRequested();
    void importFilesRequested();

protected:
    void changeEvent(QEvent *event) override;

private:
    QToolButton *iconButton(const QString &symbol, const QString &name);
    void makeMenu(bool folderAddOk);
    void paintDelete();

    QPushButton *m_select;
    QToolButton *m_camera;
    QToolButton *m_menuButton;
    QMenu *m_menu;
    QWidget *m_selectedGroup;
    QToolButton *m_share;
    QToolButton *m_delete;
    bool m_actionsEnabled = false;
};
