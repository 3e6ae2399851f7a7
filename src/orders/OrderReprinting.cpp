#include "orders/OrderReprinting.h"

#include "issuing/DocumentName.h"
#include "issuing/PdfFileOutput.h"
#include "printing/PreviewOutput.h"

OrderReprinting::OrderReprinting(OrderStore &orders)
    : m_issue(m_form, orders)
{
}

void OrderReprinting::setPreview(PreviewFactory preview)
{
    m_preview = std::move(preview);
}

void OrderReprinting::setClock(std::function<QDateTime()> clock)
{
    m_issue.setClock(std::move(clock));
}

QString OrderReprinting::documentNameOf(const IssuedOrder &order)
{
    return documentName(order.category, order.name());
}

IssueOutcome OrderReprinting::reprint(qint64 number, QWidget *parent)
{
    const std::unique_ptr<PageOutput> preview
        = m_preview ? m_preview(parent) : std::make_unique<PreviewOutput>(parent);
    return m_issue.reissue(number, *preview);
}

IssueOutcome OrderReprinting::savePdf(qint64 number, const QString &filePath)
{
    PdfFileOutput file(filePath);
    return m_issue.reissue(number, file);
}
