#pragma once

#include "issuing/CupsPrinting.h"

#include <QDialog>
#include <QList>

class QComboBox;
class QDialogButtonBox;
class QLabel;

// The preview's page set-up, as far as it means anything for the payment
// order: the printer its "Yazdır" prints on. The page itself is always A4
// portrait without margins, whatever the printer, and the dialog says so
// instead of offering paper, orientation or margins that would not be
// honoured.
class PrinterChoiceDialog : public QDialog
{
    Q_OBJECT

public:
    // printers: the queues to choose from, or why there are none; current:
    // the queue chosen so far, empty for the default printer.
    PrinterChoiceDialog(const Result<QList<CupsPrinting::Printer>> &printers, const QString &current,
                        QWidget *parent = nullptr);

    // The queue chosen; empty for the default printer.
    QString chosenPrinter() const;

    QComboBox *printerList() const { return m_printers; }
    QLabel *paperNote() const { return m_paper; }
    QLabel *problem() const { return m_problem; }
    QDialogButtonBox *buttons() const { return m_buttons; }

private:
    QComboBox *m_printers = nullptr;
    QLabel *m_paper = nullptr;
    QLabel *m_problem = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
};
