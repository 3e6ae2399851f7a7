#include "printing/PaymentOrderPrinting.h"

#include "computation/AttachmentLines.h"
#include "computation/PaymentPreferences.h"
#include "desktop/MessageBoxes.h"
#include "issuing/OrderRecording.h"
#include "worksheets/WorksheetPanel.h"
#include "worksheets/WorksheetSet.h"

PaymentOrderPrinting::PaymentOrderPrinting(WorksheetSet &worksheets, const PaymentPreferences &preferences,
                                           Sources sources, QWidget *window)
    : m_worksheets(worksheets)
    , m_preferences(preferences)
    , m_sources(std::move(sources))
    , m_window(window)
    , m_output(std::make_unique<DesktopPageOutput>())
{
    connect(&worksheets, &WorksheetSet::printRequested, this, &PaymentOrderPrinting::printRequested);
}

PaymentOrderPrinting::~PaymentOrderPrinting() = default;

void PaymentOrderPrinting::setOutput(std::unique_ptr<PageOutput> output)
{
    m_output = output ? std::move(output) : std::make_unique<DesktopPageOutput>();
}

void PaymentOrderPrinting::setToday(std::function<QDate()> today)
{
    m_today = std::move(today);
}

QDate PaymentOrderPrinting::today() const
{
    return m_today ? m_today() : QDate::currentDate();
}

void PaymentOrderPrinting::BtnSabitClick()
{
    DocumentFilling::CommonInputs inputs;
    if (m_sources.institution)
        inputs.institution = m_sources.institution();
    inputs.currencyChoice = m_preferences.currencyChoice();
    inputs.fillApprovalDates = m_preferences.fillApprovalDates();
    inputs.today = today();
    m_raporlar.apply(DocumentFilling::commonFields(inputs));
}

DocumentFilling::PaymentInputs PaymentOrderPrinting::gatherPayment(PaymentCategory category,
                                                                   const PayeeFields &payee) const
{
    DocumentFilling::PaymentInputs inputs;
    inputs.category = category;
    inputs.payee = payee;
    for (int line = 1; line <= m_worksheets.lineCount(category); ++line)
        inputs.lines.append(m_worksheets.line(category, line).text);
    inputs.debitTotal = m_worksheets.debitTotal(category).text;
    inputs.creditTotal = m_worksheets.creditTotal(category).text;
    inputs.firstSentence = m_worksheets.firstSentence(category);
    inputs.secondSentence = m_worksheets.secondSentence(category);
    for (const WorksheetAttachment &attachment : m_worksheets.attachments(category))
        inputs.attachments.append({attachment.count, attachment.description});
    inputs.codes = m_sources.codes ? m_sources.codes(category) : CodeSheet(category);
    return inputs;
}

bool PaymentOrderPrinting::confirmedNotTwice(const IssuedOrder &order)
{
    if (!m_orders)
        return true;
    std::optional<IssuedOrder> earlier;
    // A register that cannot be looked into does not stop a payment: its
    // recording will say what is wrong.
    if (m_orders->findSame(order.category, order.name(), order.gross, OrderRegister::recentSince(today()), &earlier)
            .failed()
        || !earlier)
        return true;
    return MessageBoxes::askYesNoDefaultNo(m_window, QStringLiteral("Dikkat !"),
                                           OrderRecording::duplicateQuestion(*earlier), MessageBoxes::Icon::Warning);
}

void PaymentOrderPrinting::reportRecording(const Result<> &recorded)
{
    if (recorded.failed())
        MessageBoxes::warning(m_window, OrderRecording::notRecordedText(recorded));
}

Result<> PaymentOrderPrinting::print(PaymentCategory category)
{
    const PayeeReading payee = m_sources.payee ? m_sources.payee(category) : PayeeReading{};
    if (payee.status.failed())
        return payee.status.prefixed(QStringLiteral("Belge yazdırılmadı, ilgilinin kaydı okunamadı: "));
    const DocumentFilling::PaymentInputs inputs = gatherPayment(category, payee.fields);
    const IssuedOrder order = OrderRecording::describe(inputs, OrderRecording::issueMoment(today()));
    if (!confirmedNotTwice(order))
        return Result<>::success();

    BtnSabitClick();
    m_raporlar.apply(DocumentFilling::paymentFields(inputs));
    const bool wasEnabled = m_worksheets.isPrintEnabled(category);
    m_worksheets.disablePrint(category);

    m_lastPage = m_raporlar.prepare(today());
    const QString name = documentName(category, payee.fields[std::size_t(PayeeColumn::Name)]);
    OrderIssue issue(m_orders, order, m_orders ? storedPage(m_lastPage) : QByteArray());
    if (m_preferences.previewBeforePrinting()) {
        m_output->preview(m_lastPage, name, m_window, [this, &issue](OrderWay way) {
            if (m_orders)
                reportRecording(issue.left(way));
        });
        return Result<>::success();
    }
    const Result<> printed = m_output->print(m_lastPage, name);
    if (printed.failed()) {
        if (wasEnabled)
            m_worksheets.panel(category)->setPrintEnabled(true);
        return printed;
    }
    if (m_orders)
        reportRecording(issue.left(OrderWay::Printer));
    return printed;
}

void PaymentOrderPrinting::printRequested(PaymentCategory category)
{
    if (const Result<> printed = print(category); printed.failed())
        MessageBoxes::showError(m_window, printed.message());
}

void PaymentOrderPrinting::BtnPrintClick()
{
    printRequested(PaymentCategory::Pharmacy);
}

void PaymentOrderPrinting::BtnPrint2Click()
{
    printRequested(PaymentCategory::Hospital);
}

void PaymentOrderPrinting::BtnPrint3Click()
{
    printRequested(PaymentCategory::Treatment);
}

void PaymentOrderPrinting::BtnPrint4Click()
{
    printRequested(PaymentCategory::Private);
}
