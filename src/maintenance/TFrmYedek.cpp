#include "maintenance/TFrmYedek.h"

#include "base/ApplicationInfo.h"
#include "base/ProgramFolder.h"
#include "base/Result.h"
#include "desktop/FixedSizeDialog.h"
#include "desktop/HelpButton.h"
#include "desktop/HelpViewer.h"
#include "desktop/HintText.h"
#include "desktop/MessageBoxes.h"
#include "maintenance/DatabaseBackup.h"
#include "maintenance/ProgressPause.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStorageInfo>
#include <QToolButton>
#include <QTreeView>

using BackupLocation::pathCase;
using BackupLocation::withSeparator;

namespace {

constexpr int kClientWidth = 408;
constexpr int kClientHeight = 228;
constexpr int kBorder = 5;
constexpr int kPanelWidth = kClientWidth - 2 * kBorder;
constexpr int kPanelHeight = kClientHeight - 2 * kBorder;
constexpr int kLeft = 10;
constexpr int kRight = 204;
constexpr int kHalfWidth = 184;
constexpr int kButtonTop = 182;
constexpr int kButtonHeight = 25;
constexpr int kHelpTopic = 3;

QLabel *caption(const QString &text, QWidget *parent, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(geometry);
    return label;
}

// The wait cursor for as long as a backup runs, whatever way it ends.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace

// The folders of one drive, its root as the one top node: the folder model
// holds the whole file system, and this keeps the chosen root, the folders
// above it (so that it can be reached) and everything under it.
class FolderTreeFilter : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setRoot(const QString &root)
    {
        m_root = withSeparator(QDir::fromNativeSeparators(root));
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override
    {
        const auto *folders = static_cast<const QFileSystemModel *>(sourceModel());
        const QString path = withSeparator(folders->filePath(folders->index(sourceRow, 0, sourceParent)));
        return path.startsWith(m_root, pathCase()) || m_root.startsWith(path, pathCase());
    }

private:
    QString m_root = QStringLiteral("/");
};

TFrmYedek::TFrmYedek(QWidget *parent)
    : LazyDialog(parent)
{
    setObjectName(QStringLiteral("FrmYedek"));
    setWindowTitle(QStringLiteral(" Yedekleme İşlemi"));
    FixedSizeDialog::apply(this, QSize(kClientWidth, kClientHeight));
    FormCreate();
}

void TFrmYedek::buildWidgets()
{
    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(kBorder, kBorder, kPanelWidth, kPanelHeight);
    buildLeftHalf(panel);
    buildRightHalf(panel);
}

void TFrmYedek::buildLeftHalf(QWidget *panel)
{
    auto *folderLabel = caption(QStringLiteral("Yedekleme Klasörü"), panel, QRect(kLeft, 8, kHalfWidth, 16));
    m_folderName = new QLineEdit(QStringLiteral("Yedek"), panel);
    m_folderName->setObjectName(QStringLiteral("Edit1"));
    m_folderName->setGeometry(kLeft, 26, kHalfWidth, 21);
    m_folderName->setFocusPolicy(Qt::ClickFocus);
    QPalette grey = m_folderName->palette();
    grey.setColor(QPalette::Base, grey.color(QPalette::Window));
    m_folderName->setPalette(grey);
    folderLabel->setBuddy(m_folderName);

    auto *locationLabel = caption(QStringLiteral("Yedekleme Konumu"), panel, QRect(kLeft, 54, kHalfWidth, 16));
    m_drives = new QComboBox(panel);
    m_drives->setObjectName(QStringLiteral("DriveComboBox1"));
    m_drives->setGeometry(kLeft, 72, kHalfWidth, 22);
    locationLabel->setBuddy(m_drives);
    connect(m_drives, &QComboBox::activated, this, &TFrmYedek::DriveComboBox1Change);

    m_folders = new QFileSystemModel(this);
    m_folders->setObjectName(QStringLiteral("FolderModel"));
    m_folders->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    m_folders->setReadOnly(true);
    m_folderFilter = new FolderTreeFilter(this);
    m_folderFilter->setSourceModel(m_folders);
    m_folderFilter->setDynamicSortFilter(true);
    m_folderFilter->setSortCaseSensitivity(Qt::CaseInsensitive);

    m_folderTree = new QTreeView(panel);
    m_folderTree->setObjectName(QStringLiteral("DirectoryOutline1"));
    m_folderTree->setGeometry(kLeft, 96, kHalfWidth, kPanelHeight - 96 - 8);
    m_folderTree->setModel(m_folderFilter);
    m_folderTree->header()->hide();
    for (int column = 1; column < m_folders->columnCount(); ++column)
        m_folderTree->hideColumn(column);
    m_folderTree->setSortingEnabled(true);
    m_folderTree->sortByColumn(0, Qt::AscendingOrder);
    m_folderTree->setSelectionMode(QAbstractItemView::SingleSelection);
    // The folders are read in the background: a selection deep in the tree
    // is scrolled to again as the folders above it come in.
    connect(m_folders, &QFileSystemModel::directoryLoaded, this, &TFrmYedek::folderLoaded);
    m_folderTree->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void TFrmYedek::buildRightHalf(QWidget *panel)
{
    caption(QStringLiteral("İlerleme"), panel, QRect(kRight, 8, kHalfWidth, 16));
    m_progress = new QProgressBar(panel);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setGeometry(kRight, 26, kHalfWidth, 18);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);

    auto *group = new QGroupBox(QStringLiteral(" Yedeklenecek Veriler "), panel);
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setGeometry(kRight, 54, kHalfWidth, 56);
    m_databaseCheck = new QCheckBox(QStringLiteral("Veritabanı"), group);
    m_databaseCheck->setObjectName(QStringLiteral("CheckBox1"));
    m_databaseCheck->setGeometry(12, 24, kHalfWidth - 24, 20);
    m_databaseCheck->setChecked(true);

    m_helpButton = HelpButton::create(panel, QRect(kRight, kButtonTop, kButtonHeight, kButtonHeight),
                                      QStringLiteral("Yardım (F1)|Veritabanı yedekleme ile ilgili yardımı görüntüle"));
    connect(m_helpButton, &QToolButton::clicked, this, &TFrmYedek::SpeedButton1Click);

    m_backupButton = new QPushButton(QStringLiteral("Yedekle"), panel);
    m_backupButton->setObjectName(QStringLiteral("Button1"));
    m_backupButton->setGeometry(kRight + kHalfWidth - 90, kButtonTop, 90, kButtonHeight);
    m_backupButton->setAutoDefault(false);
    HintText::apply(m_backupButton, QStringLiteral("Yedekle|Veritabanını seçilen klasöre yedekle"));
    connect(m_backupButton, &QPushButton::clicked, this, &TFrmYedek::Button1Click);
}

void TFrmYedek::FormCreate()
{
    m_programFolder = ProgramFolder::path();
}

void TFrmYedek::fillDriveList()
{
    const QString shown = m_shownDrive >= 0 ? m_volumes[m_shownDrive].rootPath : QString();
    m_volumes = BackupLocation::volumes();
    m_drives->clear();
    for (const BackupLocation::Volume &volume : m_volumes)
        m_drives->addItem(volume.label, volume.rootPath);
    m_shownDrive = -1;
    for (int i = 0; i < m_volumes.size(); ++i) {
        if (m_volumes[i].rootPath == shown)
            m_shownDrive = i;
    }
    m_drives->setCurrentIndex(m_shownDrive);
}

void TFrmYedek::showEvent(QShowEvent *event)
{
    // Memory sticks come and go between openings.
    const QString kept = location();
    fillDriveList();
    if (!m_shownBefore) {
        m_shownBefore = true;
        selectLocation(QDir::currentPath());
    } else if (m_shownDrive >= 0) {
        selectLocation(kept);
    } else if (!m_volumes.isEmpty()) {
        // The drive of the last selection has gone.
        selectLocation(m_volumes.first().rootPath);
    }
    LazyDialog::showEvent(event);
}

void TFrmYedek::showDrive(const QString &root)
{
    m_folders->setRootPath(root);
    m_folderFilter->setRoot(root);
    const QModelIndex top = treeIndexOf(root);
    m_folderTree->setRootIndex(top.parent());
    m_folderTree->expand(top);
    m_folderTree->setCurrentIndex(top);
}

QModelIndex TFrmYedek::treeIndexOf(const QString &path) const
{
    return m_folderFilter->mapFromSource(m_folders->index(path));
}

void TFrmYedek::selectLocation(const QString &path)
{
    ensureBuilt();
    if (m_volumes.isEmpty())
        fillDriveList();
    const int drive = BackupLocation::volumeIndexOf(m_volumes, path);
    if (drive < 0)
        return;
    if (drive != m_shownDrive) {
        m_shownDrive = drive;
        m_drives->setCurrentIndex(drive);
        showDrive(m_volumes[drive].rootPath);
    }
    m_pendingSelection = QDir::fromNativeSeparators(path);
    showSelection(m_pendingSelection);
}

void TFrmYedek::showSelection(const QString &path)
{
    const QModelIndex index = treeIndexOf(path);
    if (!index.isValid())
        return;
    m_folderTree->setCurrentIndex(index);
    m_folderTree->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void TFrmYedek::folderLoaded(const QString &folder)
{
    if (m_pendingSelection.isEmpty())
        return;
    const QString loaded = withSeparator(QDir::fromNativeSeparators(folder));
    if (!withSeparator(m_pendingSelection).startsWith(loaded, pathCase()))
        return;
    // Until it can be shown, the selection rests on a folder above it; on
    // any other the user has chosen meanwhile, and the choice stands.
    const QString chosen = location();
    if (chosen != m_pendingSelection
        && !withSeparator(m_pendingSelection).startsWith(withSeparator(chosen), pathCase())) {
        m_pendingSelection.clear();
        return;
    }
    showSelection(m_pendingSelection);
}

QString TFrmYedek::location() const
{
    // Asked before the first show, the window builds itself as that show would.
    const_cast<TFrmYedek *>(this)->ensureBuilt();
    const QModelIndex current = m_folderTree->currentIndex();
    if (current.isValid())
        return m_folders->filePath(m_folderFilter->mapToSource(current));
    return m_shownDrive >= 0 ? m_volumes[m_shownDrive].rootPath : QString();
}

QString TFrmYedek::backupFolder() const
{
    // Asked before the first show, the window builds itself as that show would.
    const_cast<TFrmYedek *>(this)->ensureBuilt();
    return BackupLocation::composeFolder(location(), m_folderName->text());
}

void TFrmYedek::DriveComboBox1Change()
{
    ensureBuilt();
    const int chosen = m_drives->currentIndex();
    if (chosen < 0 || chosen >= m_volumes.size())
        return;
    const QString root = m_volumes[chosen].rootPath;
    if (!QStorageInfo(root).isReady()) {
        MessageBoxes::warning(this, QStringLiteral("%1 sürücüsü okunamıyor. Sürücüde bir disk takılı olduğundan "
                                                   "emin olun ya da başka bir sürücü seçin.")
                                        .arg(QDir::toNativeSeparators(root)));
        m_drives->setCurrentIndex(m_shownDrive);
        return;
    }
    m_shownDrive = chosen;
    showDrive(root);
}

void TFrmYedek::Button1Click()
{
    ensureBuilt();
    if (!m_databaseCheck->isChecked()) {
        MessageBoxes::warning(this, QStringLiteral("Yedekleme için seçim yapılmadı !"));
        return;
    }
    Result<> result = Result<>::success();
    {
        WaitCursor wait;
        // Clicks made during the pauses wait in the queue: not a second run.
        m_backupButton->setEnabled(false);
        m_progress->setValue(0);
        for (int step = 0; step < 4; ++step) {
            m_progress->setValue(m_progress->value() + 25);
            ProgressPause::pause(100);
        }
        // The backup makes the folder itself, when it writes into it.
        result = DatabaseBackup::copy(QDir(m_programFolder).filePath(ApplicationInfo::databaseFileName()),
                                      backupFolder());
        m_progress->setValue(0);
        ProgressPause::pause(100);
        m_backupButton->setEnabled(true);
    }
    if (result.succeeded()) {
        MessageBoxes::information(this, ApplicationInfo::title(),
                                  QStringLiteral("Yedekleme işlemi başarıyla tamamlandı."));
    } else {
        MessageBoxes::show(this, {QStringLiteral("Hata"), result.message(), MessageBoxes::Icon::Error,
                                  {MessageBoxes::Button::Ok}});
    }
}

void TFrmYedek::SpeedButton1Click()
{
    HelpViewer::showTopic(kHelpTopic, this);
}

void TFrmYedek::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        SpeedButton1Click();
        return;
    }
    LazyDialog::keyPressEvent(event);
}
