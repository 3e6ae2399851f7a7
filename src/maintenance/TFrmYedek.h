#pragma once

#include "maintenance/BackupLocation.h"

#include <QDialog>
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
class TFrmYedek : public QDialog
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

    QLineEdit *m_edit1 = nullptr;
    QComboBox *m_driveComboBox1 = nullptr;
    QTreeView *m_directoryOutline1 = nullptr;
    QFileSystemModel *m_folders = nullptr;
    FolderTreeFilter *m_folderFilter = nullptr;
    QProgressBar *m_progressBar1 = nullptr;
    QCheckBox *m_checkBox1 = nullptr;
    QPushButton *m_button1 = nullptr;
    QToolButton *m_speedButton1 = nullptr;
};
