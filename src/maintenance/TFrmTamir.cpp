#include "maintenance/TFrmTamir.h"

#include "base/ApplicationInfo.h"
#include "base/ProgramFolder.h"
#include "desktop/HelpViewer.h"
#include "desktop/HintText.h"
#include "desktop/MessageBoxes.h"
#include "desktop/ToolIcons.h"
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
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmTamir"));
    setWindowTitle(QStringLiteral(" Veritabanı Bakım ve Onarım Sihirbazı"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(kClientWidth, kClientHeight);

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
    m_label5 = label(QString(), sizes, "Label5", QRect(124, 5, kInner - 132, 16));
    paintText(m_label5, kMaroon);
    m_label6 = label(QStringLiteral("..."), sizes, "Label6", QRect(124, 24, kInner - 132, 16));
    paintText(m_label6, kBlue);

    m_label3 = label(QStringLiteral("Gösterge Paneli "), panel, "Label3", QRect(10, 80, kInner, 16));
    m_label3->setEnabled(false);
    m_progressBar1 = new QProgressBar(panel);
    m_progressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    m_progressBar1->setGeometry(10, 98, kInner, 18);
    m_progressBar1->setRange(0, 100);
    m_progressBar1->setValue(0);
    m_progressBar1->setTextVisible(false);

    m_speedButton1 = new QToolButton(panel);
    m_speedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    m_speedButton1->setAutoRaise(true);
    m_speedButton1->setIcon(ToolIcons::icon(ToolIcons::Picture::Help));
    m_speedButton1->setIconSize(QSize(18, 18));
    m_speedButton1->setGeometry(10, kButtonTop, kButtonHeight, kButtonHeight);
    m_speedButton1->setFocusPolicy(Qt::NoFocus);
    HintText::apply(m_speedButton1, QStringLiteral("Yardım (F1)|Bakım ve onarım ile ilgili yardımı görüntüle"));
    connect(m_speedButton1, &QToolButton::clicked, this, &TFrmTamir::SpeedButton1Click);

    m_bitBtn1 = new QPushButton(QStringLiteral("Başla"), panel);
    m_bitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    m_bitBtn1->setGeometry(10 + kInner - 80 - 6 - 110, kButtonTop, 110, kButtonHeight);
    m_bitBtn1->setAutoDefault(false);
    connect(m_bitBtn1, &QPushButton::clicked, this, &TFrmTamir::BitBtn1Click);

    m_bitBtn2 = new QPushButton(QStringLiteral("İptal"), panel);
    m_bitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    m_bitBtn2->setGeometry(10 + kInner - 80, kButtonTop, 80, kButtonHeight);
    m_bitBtn2->setAutoDefault(false);
    connect(m_bitBtn2, &QPushButton::clicked, this, &TFrmTamir::BitBtn2Click);
}

void TFrmTamir::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TFrmTamir::FormShow()
{
    m_label5->setText(FileSizeText(databasePath()));
}

void TFrmTamir::BitBtn1Click()
{
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
    m_progressBar1->setValue(m_progressBar1->value() + amount);
    ProgressPause::pause(milliseconds);
}

void TFrmTamir::run()
{
    m_state = State::Running;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_bitBtn2->setEnabled(false);
    m_bitBtn1->setEnabled(false);

    const QString database = databasePath();
    const QString compacted = MaintenanceFiles::compactionFilePath();
    DatabaseCompaction::Outcome outcome = DatabaseCompaction::CompactDatabaseFile(database, compacted);
    if (!outcome.succeeded()) {
        advance(10, 500);
        advance(10, 500);
        finishWithFailure(outcome.result.message());
        return;
    }
    m_bitBtn1->setText(QStringLiteral("Bekleyiniz ..."));
    advance(25, 500);
    advance(10, 500);
    advance(10, 500);
    advance(5, 500);
    // One rename puts the new file in place: deleting "Data.dat" and copying
    // "Yedek.dat" back would leave a moment with no database at all.
    if (const Result placed = DatabaseCompaction::putInPlace(compacted, database, outcome); placed.failed()) {
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
    m_label3->setEnabled(true);
    m_label3->setText(status);
    m_bitBtn1->setText(QStringLiteral("Programı Başlat"));
    m_bitBtn1->setEnabled(true);
    m_state = State::Finished;
    QApplication::restoreOverrideCursor();

    m_label6->setText(FileSizeText(databasePath()));
    if (repaired) {
        paintText(m_label3, kMaroon);
        MessageBoxes::information(this, ApplicationInfo::title(), repairReport);
    } else if (m_label6->text() == m_label5->text()) {
        MessageBoxes::information(this, ApplicationInfo::title(),
                                  QStringLiteral("Veritabanı performansı en iyi durumda. Değişik yapılmadı."));
    }
}

void TFrmTamir::finishWithFailure(const QString &message)
{
    m_label3->setEnabled(true);
    paintText(m_label3, kMaroon);
    m_label3->setText(QStringLiteral("Hata! Veritabanının adı değiştirilmiş veya kullanımda !"));
    m_bitBtn1->setText(QStringLiteral("İşlem Başarısız"));
    m_bitBtn1->setEnabled(true);
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
    QDialog::keyPressEvent(event);
}
