#pragma once

#include "maintenance/BackupLocation.h"

#include "controls/LazyDialog.h"

#include <QList>

class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QLineEdit;
class QModelIndex;
class QProgressBar;
class QPushButton;
class QToolButton;
class QTreeView;
class FolderTreeFilter;

// The backup dialog: copies the payee database into a backup folder made of
// a location (a drive and a folder on it) and a folder name. The main window
// keeps its connection open meanwhile; DatabaseBackup reads the database in
// a transaction of its own. Shown modally and hidden, not destroyed, when
// closed; the folder name, the tick box, the drive and the folder keep their
// values for the rest of the run.
class TFrmYedek : public LazyDialog
{
    Q_OBJECT

public:
    explicit TFrmYedek(QWidget *parent = nullptr);

    // The folder chosen in the tree: a drive's root ends with a separator,
    // any other folder does not.
    QString location() const;
    // Shows path's drive in the drive list and selects path in the tree.
    void selectLocation(const QString &path);
    // The folder the next backup goes into.
    QString backupFolder() const;

    void DriveComboBox1Change();
    void Button1Click();
    void SpeedButton1Click();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormCreate();
    void buildWidgets() override;
    void buildLeftHalf(QWidget *panel);
    void buildRightHalf(QWidget *panel);
    void fillDriveList();
    void showDrive(const QString &root);
    QModelIndex treeIndexOf(const QString &path) const;
    void showSelection(const QString &path);
    void folderLoaded(const QString &folder);

    QString m_programFolder;
    QList<BackupLocation::Volume> m_volumes;
    int m_shownDrive = -1;
    bool m_shownBefore = false;
    QString m_pendingSelection; // shown again as its folders come in

    QLineEdit *m_folderName = nullptr;
    QComboBox *m_drives = nullptr;
    QTreeView *m_folderTree = nullptr;
    QFileSystemModel *m_folders = nullptr;
    FolderTreeFilter *m_folderFilter = nullptr;
    QProgressBar *m_progress = nullptr;
    QCheckBox *m_databaseCheck = nullptr;
    QPushButton *m_backupButton = nullptr;
    QToolButton *m_helpButton = nullptr;
};
