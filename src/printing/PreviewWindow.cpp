#include "printing/PreviewWindow.h"

#include "desktop/ChooserFolder.h"
#include "desktop/FileChooser.h"
#include "desktop/MessageBoxes.h"
#include "issuing/CupsPrinting.h"
#include "issuing/PagePainter.h"
#include "issuing/PrinterOutput.h"
#include "printing/PrinterChoiceDialog.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const QString kPdfFilter = QStringLiteral("PDF belgeleri (*.pdf)");

QString askForFile(QWidget *parent, bool save, const QString &suggested)
{
    return FileChooser::ask({save ? QStringLiteral("PDF olarak kaydet") : QStringLiteral("PDF belgesi aç"), kPdfFilter,
                             QStringLiteral("pdf"), save,
                             save ? suggested : ChooserFolder::startFolder(ChooserFolder::Kind::Pdf)},
                            parent);
}

struct Hooks
{
    PreviewWindow::FileChooser save;
    PreviewWindow::FileChooser open;
    PreviewWindow::Viewer viewer;
};

Hooks &hooks()
{
    static Hooks installed;
    return installed;
}

QString chooseSaveFile(QWidget *parent, const QString &suggested)
{
    return hooks().save ? hooks().save(parent, suggested) : askForFile(parent, true, suggested);
}

QString chooseOpenFile(QWidget *parent)
{
    return hooks().open ? hooks().open(parent, QString()) : askForFile(parent, false, QString());
}

bool showInViewer(const QString &filePath)
{
    return hooks().viewer ? hooks().viewer(filePath) : QDesktopServices::openUrl(QUrl::fromLocalFile(filePath));
}

// The preview widget's paper: the sheet itself, without asking a print
// service about its paper.
std::unique_ptr<QPrinter> previewPaper(const QString &documentName)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setPageLayout(PagePainter::sheetLayout());
    printer->setFullPage(true);
    printer->setDocName(documentName);
    return printer;
}

} // namespace

PreviewWindow::PreviewWindow(const PaymentOrderPage &page, const QString &documentName, QWidget *parent,
                             Printers printers)
    : QDialog(parent)
    , m_page(page)
    , m_documentName(documentName)
    , m_printers(printers ? std::move(printers)
                          : Printers([](const QString &printer) { return std::make_unique<PrinterOutput>(printer); }))
    , m_printer(previewPaper(documentName))
{
    setObjectName(QStringLiteral("PreviewWindow"));
    setWindowTitle(QStringLiteral("Önizleme - %1").arg(documentName));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setModal(true);

    m_preview = new QPrintPreviewWidget(m_printer.get(), this);
    m_preview->setObjectName(QStringLiteral("PreviewWidget"));
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter *printer) {
                QPainter painter(printer);
                PagePainter::paint(painter, m_page);
            });

    m_outline = new QListWidget(this);
    m_outline->setObjectName(QStringLiteral("Outline"));
    m_outline->setViewMode(QListView::IconMode);
    m_outline->setIconSize(QSize(105, 149));
    m_outline->setFixedWidth(150);
    m_outline->setMovement(QListView::Static);
    m_outline->hide();
    buildOutline();

    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("PreviewToolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QAction *print = addAction(bar, QStringLiteral("ActPrint"), QStringLiteral("Yazdır"),
                               QStringLiteral("Sayfayı yazdırır: varsayılan yazıcıda ya da Sayfa Yapısı'nda "
                                              "seçilen yazıcıda"),
                               QKeySequence::Print);
    connect(print, &QAction::triggered, this, &PreviewWindow::printPage);
    QAction *setup = addAction(bar, QStringLiteral("ActPageSetup"), QStringLiteral("Sayfa Yapısı"),
                               QStringLiteral("Yazıcıyı seçer; sayfa her zaman A4 dikeydir"), QKeySequence());
    connect(setup, &QAction::triggered, this, &PreviewWindow::pageSetup);
    bar->addSeparator();
    QAction *save = addAction(bar, QStringLiteral("ActSave"), QStringLiteral("PDF Kaydet"),
                              QStringLiteral("Sayfayı PDF belgesi olarak kaydeder"), QKeySequence::Save);
    connect(save, &QAction::triggered, this, &PreviewWindow::savePdf);
    QAction *open = addAction(bar, QStringLiteral("ActOpen"), QStringLiteral("PDF Aç"),
                              QStringLiteral("Kaydedilmiş bir PDF belgesini açar"), QKeySequence::Open);
    connect(open, &QAction::triggered, this, &PreviewWindow::openPdf);
    bar->addSeparator();
    QAction *zoomIn = addAction(bar, QStringLiteral("ActZoomIn"), QStringLiteral("Yakınlaştır"),
                                QStringLiteral("Sayfayı büyütür"), QKeySequence::ZoomIn);
    connect(zoomIn, &QAction::triggered, m_preview, [this] { m_preview->zoomIn(); });
    QAction *zoomOut = addAction(bar, QStringLiteral("ActZoomOut"), QStringLiteral("Uzaklaştır"),
                                 QStringLiteral("Sayfayı küçültür"), QKeySequence::ZoomOut);
    connect(zoomOut, &QAction::triggered, m_preview, [this] { m_preview->zoomOut(); });
    QAction *actual = addAction(bar, QStringLiteral("ActActualSize"), QStringLiteral("%100"),
                                QStringLiteral("Sayfayı gerçek boyutunda gösterir"), QKeySequence());
    connect(actual, &QAction::triggered, this, &PreviewWindow::showActualSize);
    QAction *width = addAction(bar, QStringLiteral("ActFitWidth"), QStringLiteral("Sayfa Genişliği"),
                               QStringLiteral("Sayfayı pencerenin genişliğine sığdırır"), QKeySequence());
    connect(width, &QAction::triggered, m_preview, &QPrintPreviewWidget::fitToWidth);
    QAction *whole = addAction(bar, QStringLiteral("ActFitPage"), QStringLiteral("Tüm Sayfa"),
                               QStringLiteral("Sayfanın tamamını gösterir"), QKeySequence());
    connect(whole, &QAction::triggered, m_preview, &QPrintPreviewWidget::fitInView);
    QAction *outline = addAction(bar, QStringLiteral("ActOutline"), QStringLiteral("Ana Hatlar"),
                                 QStringLiteral("Sayfaların küçük resimlerini gösterir ya da gizler"),
                                 QKeySequence());
    outline->setCheckable(true);
    connect(outline, &QAction::toggled, m_outline, &QWidget::setVisible);
    bar->addSeparator();
    QAction *close = addAction(bar, QStringLiteral("ActClose"), QStringLiteral("Kapat"),
                               QStringLiteral("Önizleme penceresini kapatır"), QKeySequence());
    connect(close, &QAction::triggered, this, &QDialog::reject);

    auto *body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->addWidget(m_outline);
    body->addWidget(m_preview, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addLayout(body, 1);

    showActualSize();
}

PreviewWindow::~PreviewWindow() = default;

int PreviewWindow::run()
{
    // Maximised; where nothing maximises windows (a desktop without a
    // window manager), at least as large as the screen allows.
    if (const QScreen *screen = this->screen())
        resize(screen->availableSize() * 9 / 10);
    setWindowState(windowState() | Qt::WindowMaximized);
    return exec();
}

QAction *PreviewWindow::addAction(QToolBar *bar, const QString &name, const QString &text, const QString &tip,
                                  const QKeySequence &shortcut)
{
    QAction *action = bar->addAction(text);
    action->setObjectName(name);
    action->setToolTip(tip);
    action->setStatusTip(tip);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    QDialog::addAction(action);
    return action;
}

QAction *PreviewWindow::action(const QString &objectName) const
{
    return findChild<QAction *>(objectName);
}

void PreviewWindow::buildOutline()
{
    QPixmap thumbnail = QPixmap::fromImage(PagePainter::toImage(m_page, 13));
    auto *item = new QListWidgetItem(QIcon(thumbnail), QStringLiteral("Sayfa 1"), m_outline);
    item->setToolTip(m_documentName);
    connect(m_outline, &QListWidget::itemActivated, this, [this] {
        m_preview->setCurrentPage(1);
        m_preview->fitInView();
    });
    connect(m_outline, &QListWidget::itemClicked, this, [this] {
        m_preview->setCurrentPage(1);
        m_preview->fitInView();
    });
}

void PreviewWindow::showActualSize()
{
    m_preview->setZoomMode(QPrintPreviewWidget::CustomZoom);
    m_preview->setZoomFactor(1.0);
}

QString PreviewWindow::suggestedFilePath() const
{
    return suggestedFilePath(m_documentName);
}

QString PreviewWindow::suggestedFilePath(const QString &documentName)
{
    return ChooserFolder::suggestedPath(ChooserFolder::Kind::Pdf, documentName + QStringLiteral(".pdf"));
}

QString PreviewWindow::askPdfPath(QWidget *parent, const QString &suggested)
{
    QString filePath = chooseSaveFile(parent, suggested);
    if (!filePath.isEmpty() && QFileInfo(filePath).suffix().isEmpty())
        filePath += QStringLiteral(".pdf");
    if (!filePath.isEmpty())
        ChooserFolder::remember(ChooserFolder::Kind::Pdf, filePath);
    return filePath;
}

void PreviewWindow::printPage()
{
    // Without a printer the window still previews and saves; printing says
    // why it cannot, and the page has not left.
    const std::unique_ptr<PageOutput> printer = m_printers(m_printerName);
    std::optional<Delivery> printed = printer->obstacle();
    if (!printed)
        printed = printer->deliver(m_page, m_documentName, [this](OrderWay way) { emit issued(way); });
    if (printed->end == Delivery::End::Refused || printed->end == Delivery::End::Failed)
        MessageBoxes::showError(this, printed->message);
}

void PreviewWindow::pageSetup()
{
    PrinterChoiceDialog dialog(CupsPrinting::printers(), m_printerName, this);
    if (dialog.exec() == QDialog::Accepted)
        m_printerName = dialog.chosenPrinter();
}

void PreviewWindow::savePdf()
{
    const QString filePath = askPdfPath(this, suggestedFilePath());
    if (filePath.isEmpty())
        return;
    if (const Result<> saved = PagePainter::savePdf(m_page, filePath, m_documentName); saved.failed()) {
        MessageBoxes::showError(this, saved.message());
        return;
    }
    emit issued(OrderWay::Pdf);
}

void PreviewWindow::openPdf()
{
    const QString filePath = chooseOpenFile(this);
    if (filePath.isEmpty())
        return;
    if (!showInViewer(filePath))
        MessageBoxes::showError(this, QStringLiteral("'%1' açılamadı: sistemde PDF belgelerini gösteren bir "
                                                     "program bulunamadı")
                                          .arg(QDir::toNativeSeparators(filePath)));
}

ScopedOverride<PreviewWindow::FileChooser> PreviewWindow::overrideSaveChooser(FileChooser chooser)
{
    return {hooks().save, std::move(chooser)};
}

ScopedOverride<PreviewWindow::FileChooser> PreviewWindow::overrideOpenChooser(FileChooser chooser)
{
    return {hooks().open, std::move(chooser)};
}

ScopedOverride<PreviewWindow::Viewer> PreviewWindow::overrideViewer(Viewer viewer)
{
    return {hooks().viewer, std::move(viewer)};
}

