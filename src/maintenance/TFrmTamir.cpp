#include "maintenance/TFrmTamir.h"

#include "base/ApplicationInfo.h"
#include "base/ProgramFolder.h"
#include "desktop/FixedSizeDialog.h"
#include "desktop/HelpButton.h"
#include "desktop/HelpViewer.h"
#include "desktop/MessageBoxes.h"
#include "maintenance/DatabaseCompaction.h"
#include "maintenance/FileSizeText.h"
#include "maintenance/MaintenanceFiles.h"
#include "maintenance/ProgramRestart.h"
#include "maintenance/ProgressPause.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

#include <optional>

namespace {

constexpr int kClientWidth = 408;
constexpr int kClientHeight = 175;
constexpr int kBorder = 5;
constexpr int kPanelWidth = kClientWidth - 2 * kBorder;
constexpr int kPanelHeight = kClientHeight - 2 * kBorder;
constexpr int kInner = kPanelWidth - 20;
constexpr int kButtonTop = 130;
constexpr int kButtonHeight = 25;
constexpr int kHelpTopic = 4;

const QColor kMaroon(0x80, 0x00, 0x00);
const QColor kBlue(0x00, 0x00, 0xFF);

void paintText(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

QLabel *label(const QString &text, QWidget *parent, const char *name, const QRect &geometry)
{
    auto *made = new QLabel(text, parent);
    if (name)
        made->setObjectName(QString::fromLatin1(name));
    made->setGeometry(geometry);
    return made;
}

QString databasePath()
{
    return ProgramFolder::filePath(ApplicationInfo::databaseFileName());
}

} // namespace

TFrmTamir::TFrmTamir(QWidget *parent)
    : LazyDialog(parent)
{
    setObjectName(QStringLiteral("FrmTamir"));
    setWindowTitle(QStringLiteral(" Veritabanı Bakım ve Onarım Sihirbazı"));
    // Never closed from its frame: it ends by starting the program again.
    FixedSizeDialog::apply(this, QSize(kClientWidth, kClientHeight), FixedSizeDialog::CloseButton::Hidden);
}

void TFrmTamir::buildWidgets()
{
    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(kBorder, kBorder, kPanelWidth, kPanelHeight);

    label(QStringLiteral("Veritabanı Boyutu "), panel, "Label1", QRect(10, 8, kInner, 16))->setEnabled(false);
    auto *sizes = new QFrame(panel);
    sizes->setObjectName(QStringLiteral("Panel2"));
    sizes->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    sizes->setGeometry(10, 26, kInner, 46);
    label(QStringLiteral("İşlem öncesinde :"), sizes, "Label2", QRect(8, 5, 112, 16));
    label(QStringLiteral("İşlem sonrasında :"), sizes, "Label4", QRect(8, 24, 112, 16));
    m_sizeBefore = label(QString(), sizes, "Label5", QRect(124, 5, kInner - 132, 16));
    paintText(m_sizeBefore, kMaroon);
    m_sizeAfter = label(QStringLiteral("..."), sizes, "Label6", QRect(124, 24, kInner - 132, 16));
    paintText(m_sizeAfter, kBlue);

    m_status = label(QStringLiteral("Gösterge Paneli "), panel, "Label3", QRect(10, 80, kInner, 16));
    m_status->setEnabled(false);
    m_progress = new QProgressBar(panel);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setGeometry(10, 98, kInner, 18);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);

    m_helpButton = HelpButton::create(panel, QRect(10, kButtonTop, kButtonHeight, kButtonHeight),
                                      QStringLiteral("Yardım (F1)|Bakım ve onarım ile ilgili yardımı görüntüle"));
    connect(m_helpButton, &QToolButton::clicked, this, &TFrmTamir::SpeedButton1Click);

    m_startButton = new QPushButton(QStringLiteral("Başla"), panel);
    m_startButton->setObjectName(QStringLiteral("BitBtn1"));
    m_startButton->setGeometry(10 + kInner - 80 - 6 - 110, kButtonTop, 110, kButtonHeight);
    m_startButton->setAutoDefault(false);
    connect(m_startButton, &QPushButton::clicked, this, &TFrmTamir::BitBtn1Click);

    m_cancelButton = new QPushButton(QStringLiteral("İptal"), panel);
    m_cancelButton->setObjectName(QStringLiteral("BitBtn2"));
    m_cancelButton->setGeometry(10 + kInner - 80, kButtonTop, 80, kButtonHeight);
    m_cancelButton->setAutoDefault(false);
    connect(m_cancelButton, &QPushButton::clicked, this, &TFrmTamir::BitBtn2Click);
}

void TFrmTamir::showEvent(QShowEvent *event)
{
    FormShow();
    LazyDialog::showEvent(event);
}

void TFrmTamir::FormShow()
{
    ensureBuilt();
    m_sizeBefore->setText(FileSizeText(databasePath()));
}

void TFrmTamir::BitBtn1Click()
{
    ensureBuilt();
    switch (m_state) {
    case State::Shown:
        run();
        break;
    case State::Running:
        break;
    case State::Finished:
        ProgramRestart::restart(this);
        break;
    }
}

void TFrmTamir::BitBtn2Click()
{
    if (m_state == State::Shown)
        ProgramRestart::restart(this);
}

void TFrmTamir::advance(int amount, int milliseconds)
{
    m_progress->setValue(m_progress->value() + amount);
    ProgressPause::pause(milliseconds);
}

void TFrmTamir::run()
{
    const QString database = databasePath();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // From the copy to the rename no windowless command may record into
    // "Data.dat". Refused while one runs on, the wizard stays as it was:
    // the user may start again or cancel.
    Result<FolderAccess> access = DatabaseCompaction::reserveFolder(database);
    if (access.failed()) {
        QApplication::restoreOverrideCursor();
        MessageBoxes::show(this, {QStringLiteral("Hata"), access.message(), MessageBoxes::Icon::Error,
                                  {MessageBoxes::Button::Ok}});
        return;
    }
    std::optional<FolderAccess> reserved(std::move(access).value());
    m_state = State::Running;
    m_cancelButton->setEnabled(false);
    m_startButton->setEnabled(false);

    const QString compacted = MaintenanceFiles::compactionFilePath();
    DatabaseCompaction::Outcome outcome = DatabaseCompaction::CompactDatabaseFile(database, compacted);
    if (!outcome.succeeded()) {
        reserved.reset();
        advance(10, 500);
        advance(10, 500);
        finishWithFailure(outcome.result.message());
        return;
    }
    m_startButton->setText(QStringLiteral("Bekleyiniz ..."));
    advance(25, 500);
    advance(10, 500);
    advance(10, 500);
    advance(5, 500);
    // One rename puts the new file in place: deleting "Data.dat" and copying
    // "Yedek.dat" back would leave a moment with no database at all.
    const Result<> placed = DatabaseCompaction::putInPlace(compacted, database, outcome);
    // The commands wait no longer than the work: not for the boxes.
    reserved.reset();
    if (placed.failed()) {
        finishWithFailure(placed.message());
        return;
    }
    advance(10, 500);
    advance(15, 1000);
    advance(25, 1500);
    finishWithSuccess(outcome.repaired ? outcome.repairSummary() : QStringLiteral("İşlem başarıyla tamamlandı"),
                      outcome.repaired, outcome.repairReport());
}

void TFrmTamir::finishWithSuccess(const QString &status, bool repaired, const QString &repairReport)
{
    m_status->setEnabled(true);
    m_status->setText(status);
    m_startButton->setText(QStringLiteral("Programı Başlat"));
    m_startButton->setEnabled(true);
    m_state = State::Finished;
    QApplication::restoreOverrideCursor();

    m_sizeAfter->setText(FileSizeText(databasePath()));
    if (repaired) {
        paintText(m_status, kMaroon);
        MessageBoxes::information(this, ApplicationInfo::title(), repairReport);
    } else if (m_sizeAfter->text() == m_sizeBefore->text()) {
        MessageBoxes::information(this, ApplicationInfo::title(),
                                  QStringLiteral("Veritabanı performansı en iyi durumda. Değişik yapılmadı."));
    }
}

void TFrmTamir::finishWithFailure(const QString &message)
{
    m_status->setEnabled(true);
    paintText(m_status, kMaroon);
    m_status->setText(QStringLiteral("Hata! Veritabanının adı değiştirilmiş veya kullanımda !"));
    m_startButton->setText(QStringLiteral("İşlem Başarısız"));
    m_startButton->setEnabled(true);
    m_state = State::Finished;
    QApplication::restoreOverrideCursor();
    // The status line keeps its old words; the box says what really happened.
    MessageBoxes::show(this, {QStringLiteral("Hata"), message, MessageBoxes::Icon::Error,
                              {MessageBoxes::Button::Ok}});
}

void TFrmTamir::SpeedButton1Click()
{
    HelpViewer::showTopic(kHelpTopic, this);
}

void TFrmTamir::reject()
{
}

void TFrmTamir::closeEvent(QCloseEvent *event)
{
    event->ignore();
}

void TFrmTamir::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        SpeedButton1Click();
        return;
    }
    LazyDialog::keyPressEvent(event);
}
