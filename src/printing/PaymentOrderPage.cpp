#include "printing/PaymentOrderPage.h"

#include "base/TurkishText.h"
#include "printing/PaymentOrderTemplate.h"

Raporlar::Raporlar()
{
    for (const PaymentOrderTemplate::Box &box : PaymentOrderTemplate::boxes())
        m_texts.insert(box.name, box.fixedText);
}

void Raporlar::setText(const QString &box, const QString &text)
{
    const auto found = m_texts.find(box);
    Q_ASSERT_X(found != m_texts.end(), "Raporlar::setText", qPrintable(box));
    if (found != m_texts.end())
        *found = text;
}

void Raporlar::apply(const BoxWrites &writes)
{
    for (const BoxWrite &write : writes)
        setText(write.box, write.text);
}

PaymentOrderPage Raporlar::prepare(const QDate &today) const
{
    PaymentOrderPage page{m_texts, today};
    page.texts.insert(PaymentOrderTemplate::preparationDateBox(), TurkishText::shortDate(today));
    return page;
}
