#pragma once

#include "base/ScopedOverride.h"
#include "issuing/PageOutput.h"
#include "issuing/PaymentOrderPage.h"
#include "registry/OrderStore.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <memory>

class QAction;
class QListWidget;
class QPrintPreviewWidget;
class QPrinter;
class QToolBar;

// The preview of a prepared payment order: modal, maximised, at 100 %, with
// print (on the default printer or the one chosen in page set-up, one copy,
// no dialog), page set-up (the printer; the page stays A4 portrait), zoom, an
// outline of the pages, saving the page as a PDF and opening a saved PDF in
// the system's viewer. The page is painted by the same painter as every
// other output.
class PreviewWindow : public QDialog
{
    Q_OBJECT

public:
    // What "Yazdır" prints on: a printer by its queue's name, empty for the
    // default printer.
    using Printers = std::function<std::unique_ptr<PageOutput>(const QString &printer)>;

    // printers: PrinterOutput unless given (tests).
    PreviewWindow(const PaymentOrderPage &page, const QString &documentName, QWidget *parent = nullptr,
                  Printers printers = {});
    ~PreviewWindow() override;

    // Shows the window modally, maximised.
    int run();

    QPrintPreviewWidget *previewWidget() const { return m_preview; }
    QListWidget *outline() const { return m_outline; }
    // The actions by object name: "ActPrint", "ActPageSetup", "ActZoomIn",
    // "ActZoomOut", "ActActualSize", "ActFitWidth", "ActFitPage", "ActOutline",
    // "ActSave", "ActOpen", "ActClose".
    QAction *action(const QString &objectName) const;
    // The printer page set-up chose; empty for the default printer.
    QString printerName() const { return m_printerName; }
    void setPrinterName(const QString &printer) { m_printerName = printer; }

    // "Eczane - ŞİFA ECZANESİ.pdf" in the folder a PDF was last saved to in
    // this run, else in the user's documents folder.
    QString suggestedFilePath() const;
    static QString suggestedFilePath(const QString &documentName);
    // The "PDF olarak kaydet" file dialog (or the test's chooser): the path
    // chosen, with ".pdf" added when it has no suffix; empty for cancel.
    static QString askPdfPath(QWidget *parent, const QString &suggested);

    // The file dialogs and the system's viewer, for tests, while the override
    // lives. A chooser gets the suggested path (empty for "open") and answers
    // a path, empty for cancel; a viewer answers whether it showed the file.
    using FileChooser = std::function<QString(QWidget *parent, const QString &suggested)>;
    using Viewer = std::function<bool(const QString &filePath)>;
    [[nodiscard]] static ScopedOverride<FileChooser> overrideSaveChooser(FileChooser chooser);
    [[nodiscard]] static ScopedOverride<FileChooser> overrideOpenChooser(FileChooser chooser);
    [[nodiscard]] static ScopedOverride<Viewer> overrideViewer(Viewer viewer);

signals:
    // The page has left the program: printed, or saved as a PDF.
    void issued(OrderWay way);

public slots:
    void printPage();
    void pageSetup();
    void savePdf();
    void openPdf();

private:
    QAction *addAction(QToolBar *bar, const QString &name, const QString &text, const QString &tip,
                       const QKeySequence &shortcut);
    void buildOutline();
    void showActualSize();

    PaymentOrderPage m_page;
    QString m_documentName;
    Printers m_printers;
    QString m_printerName;
    // Only what the preview widget paints on: printing goes to m_printers.
    std::unique_ptr<QPrinter> m_printer;
    QPrintPreviewWidget *m_preview = nullptr;
    QListWidget *m_outline = nullptr;
};
