#include "printing/PrinterChoiceDialog.h"

#include "desktop/FixedSizeDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

PrinterChoiceDialog::PrinterChoiceDialog(const Result<QList<CupsPrinting::Printer>> &printers, const QString &current,
                                         QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("PrinterChoice"));
    setWindowTitle(QStringLiteral("Sayfa Yapısı"));
    setWindowFlags(FixedSizeDialog::flags());

    m_printers = new QComboBox(this);
    m_printers->setObjectName(QStringLiteral("CmbYazici"));
    m_printers->addItem(QStringLiteral("Varsayılan yazıcı"), QString());
    if (printers.succeeded()) {
        for (const CupsPrinting::Printer &printer : *printers) {
            QString shown = printer.description == printer.name
                ? printer.name
                : QStringLiteral("%1 (%2)").arg(printer.description, printer.name);
            if (printer.isDefault)
                shown += QStringLiteral(" - varsayılan");
            m_printers->addItem(shown, printer.name);
        }
    }
    const int chosen = m_printers->findData(current);
    m_printers->setCurrentIndex(chosen >= 0 ? chosen : 0);

    m_paper = new QLabel(QStringLiteral("A4, dikey"), this);
    m_paper->setObjectName(QStringLiteral("LabKagit"));
    auto *note = new QLabel(QStringLiteral("Ödeme emri her yazıcıda aynı biçimde, A4 dikey bir sayfanın tamamına "
                                           "basılır; kâğıt boyutu, yönü ve kenar boşlukları değiştirilemez."),
                            this);
    note->setWordWrap(true);
    m_problem = new QLabel(printers.failed() ? printers.message()
                           : printers->isEmpty() ? QStringLiteral("Bu bilgisayarda kurulu bir yazıcı yok.")
                                                 : QString(),
                           this);
    m_problem->setObjectName(QStringLiteral("LabSorun"));
    m_problem->setWordWrap(true);
    m_problem->setVisible(!m_problem->text().isEmpty());

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Tamam"));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("İptal"));
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Yazıcı:"), m_printers);
    form->addRow(QStringLiteral("Kâğıt:"), m_paper);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(m_problem);
    layout->addWidget(m_buttons);
    // One size, as the other dialogs of the program: the frame offers no
    // maximise button for it.
    setMinimumWidth(420);
    setFixedSize(qMax(420, sizeHint().width()), sizeHint().height());
}

QString PrinterChoiceDialog::chosenPrinter() const
{
    return m_printers->currentData().toString();
}
