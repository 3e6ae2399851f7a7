#include "issuing/PaymentOrderPage.h"

#include "base/TurkishText.h"
#include "issuing/PaymentOrderTemplate.h"

#include <QJsonDocument>
#include <QJsonObject>

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

namespace {

constexpr int kStoredFormat = 1;

} // namespace

QByteArray storedPage(const PaymentOrderPage &page)
{
    QJsonObject texts;
    for (auto box = page.texts.cbegin(); box != page.texts.cend(); ++box)
        texts.insert(box.key(), box.value());
    const QJsonObject object{{QStringLiteral("format"), kStoredFormat},
                             {QStringLiteral("preparedOn"), page.preparedOn.toString(Qt::ISODate)},
                             {QStringLiteral("texts"), texts}};
    return qCompress(QJsonDocument(object).toJson(QJsonDocument::Compact), 9);
}

std::optional<PaymentOrderPage> pageFromStore(const QByteArray &stored)
{
    const QByteArray json = qUncompress(stored);
    if (json.isEmpty())
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(json);
    const QJsonObject object = document.object();
    if (!document.isObject() || object.value(QStringLiteral("format")).toInt() != kStoredFormat
        || !object.value(QStringLiteral("texts")).isObject())
        return std::nullopt;
    PaymentOrderPage page;
    page.preparedOn = QDate::fromString(object.value(QStringLiteral("preparedOn")).toString(), Qt::ISODate);
    const QJsonObject texts = object.value(QStringLiteral("texts")).toObject();
    for (auto box = texts.constBegin(); box != texts.constEnd(); ++box) {
        if (!box.value().isString())
            return std::nullopt;
        page.texts.insert(box.key(), box.value().toString());
    }
    return page;
}
