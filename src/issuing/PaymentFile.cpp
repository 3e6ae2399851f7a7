#include "issuing/PaymentFile.h"

#include "base/KurusAmount.h"
#include "computation/AttachmentLines.h"
#include "computation/PlainWorksheet.h"
#include "computation/WorksheetDefinition.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <cmath>

namespace PaymentFile {

namespace {

// The largest amount an amount field holds: 13 whole digits.
constexpr qint64 kLargestKurus = 999'999'999'999'999;

QString quoted(const QString &text)
{
    return u'"' + text + u'"';
}

// An amount as a person types it into an amount field, in display form or
// without the thousands points: "1.234,50", "1234,50", "1234,5", "1234".
// Gives its display form.
Result<QString> amountText(const QString &text)
{
    const std::optional<qint64> kurus = KurusAmount::fromText(text);
    if (!kurus || text.trimmed() != text || text.isEmpty())
        return Failure(QStringLiteral("Okunamayan tutar %1: tutar 1.234,56 biçiminde yazılmalı.").arg(quoted(text)));
    if (*kurus < 0 || text.startsWith(u'-'))
        return Failure(QStringLiteral("Eksi tutar %1: tutarlar sıfır ya da sıfırdan büyük olmalı.").arg(quoted(text)));
    if (*kurus > kLargestKurus)
        return Failure(QStringLiteral("Çok büyük tutar %1: bir tutar en çok 13 basamaklı olabilir "
                                      "(9.999.999.999.999,99).")
                           .arg(quoted(text)));
    return KurusAmount::toText(*kurus);
}

} // namespace

Result<Payment> parse(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        return Failure(QStringLiteral("Ödeme dosyası geçerli bir JSON belgesi değil (%1. karakterde hata).")
                           .arg(error.offset + 1));
    if (!document.isObject())
        return Failure(QStringLiteral("Ödeme dosyası bir JSON nesnesi olmalı: {\"kind\": ..., \"payee\": ..., "
                                      "\"amounts\": ..., \"stamp\": ...}."));
    const QJsonObject object = document.object();
    for (const char *field : {"kind", "payee", "amounts", "stamp"}) {
        if (!object.contains(QLatin1String(field)))
            return Failure(QStringLiteral("Ödeme dosyasında %1 alanı eksik.").arg(quoted(QLatin1String(field))));
    }

    Payment payment;
    // "kind" names the category as its payee table is named.
    const QJsonValue kind = object.value(QLatin1String("kind"));
    bool known = false;
    for (PaymentCategory category : kAllCategories) {
        if (kind.isString() && kind.toString() == PayeeTable::of(category).tableName()) {
            payment.category = category;
            known = true;
        }
    }
    if (!known)
        return Failure(QStringLiteral("Bilinmeyen ödeme türü %1: \"Eczane\", \"Hastane\", \"Tedavi\" ya da \"Ozel\" "
                                      "olmalı.")
                           .arg(kind.isString() ? quoted(kind.toString()) : QStringLiteral("(yazı değil)")));
    const WorksheetDefinition &definition = worksheetDefinition(payment.category);

    const QJsonValue payee = object.value(QLatin1String("payee"));
    const QJsonArray payeeFields = payee.toArray();
    bool payeeTexts = payee.isArray() && payeeFields.size() == kPayeeColumnCount;
    for (qsizetype i = 0; payeeTexts && i < payeeFields.size(); ++i)
        payeeTexts = payeeFields[i].isString();
    if (!payeeTexts)
        return Failure(QStringLiteral("\"payee\" beş yazılık bir liste olmalı: adı, T.C. kimlik no, banka şubesi, "
                                      "banka hesabı, vergi dairesi."));
    for (qsizetype i = 0; i < payeeFields.size(); ++i)
        payment.payee[std::size_t(i)] = payeeFields[i].toString();
    // A record without a name could not be found again, nor told from others.
    if (payment.payee[std::size_t(PayeeColumn::Name)].trimmed().isEmpty())
        return Failure(QStringLiteral("\"payee\" listesinin ilk yazısı, ilgilinin adı, boş olamaz."));

    const std::vector<int> amountLines = definition.amountLines();
    const QJsonValue amounts = object.value(QLatin1String("amounts"));
    const QJsonArray amountList = amounts.toArray();
    if (!amounts.isArray() || amountList.size() != qsizetype(amountLines.size()))
        return Failure(amountLines.size() == 1
                           ? QStringLiteral("\"amounts\" bu ödeme türünde tek tutarlık bir liste olmalı.")
                           : QStringLiteral("\"amounts\" Tedavi ödemesinde iki tutarlık bir liste olmalı: tedavi "
                                            "ve sağlık malzemesi, ilaç (girilmeyen tutar \"\")."));
    bool anyAmount = false;
    for (const QJsonValue &amount : amountList) {
        if (!amount.isString())
            return Failure(QStringLiteral("\"amounts\" içindeki tutarlar yazı olmalı (\"1.234,56\" gibi)."));
        const QString text = amount.toString();
        if (text.isEmpty()) {
            payment.amounts.append(QString());
            continue;
        }
        const Result<QString> shown = amountText(text);
        if (shown.failed())
            return shown.error();
        payment.amounts.append(*shown);
        anyAmount = true;
    }
    if (!anyAmount)
        return Failure(QStringLiteral("Ödeme dosyasında tutar yok: \"amounts\" en az bir tutar içermeli."));

    const QJsonValue stamp = object.value(QLatin1String("stamp"));
    if (!stamp.isBool())
        return Failure(QStringLiteral("\"stamp\" true ya da false olmalı."));
    payment.stamp = stamp.toBool();
    if (definition.stampAlwaysApplies && !payment.stamp)
        return Failure(QStringLiteral("Eczane ödemesinde damga vergisi her zaman kesilir: \"stamp\" true olmalı."));

    if (object.contains(QLatin1String("stampText"))) {
        const QJsonValue stampText = object.value(QLatin1String("stampText"));
        if (!stampText.isString())
            return Failure(QStringLiteral("\"stampText\" bir tutar yazısı olmalı (\"8,25\" gibi)."));
        if (!payment.stamp)
            return Failure(QStringLiteral("\"stampText\" yalnızca damga vergisi kesilen ödemede (\"stamp\": true) "
                                          "verilebilir."));
        const Result<QString> shown = amountText(stampText.toString());
        if (shown.failed())
            return shown.error();
        payment.stampText = *shown;
    }

    if (object.contains(QLatin1String("attachments"))) {
        const QJsonValue attachments = object.value(QLatin1String("attachments"));
        const int lines = AttachmentLines::lineCount(payment.category);
        if (!attachments.isArray() || attachments.toArray().size() > lines)
            return Failure(QStringLiteral("\"attachments\" en çok %1 satırlık bir liste olmalı: "
                                          "[{\"count\": 3, \"description\": \"Adet Fatura\"}, ...].")
                               .arg(lines));
        for (const QJsonValue &line : attachments.toArray()) {
            const QJsonObject fields = line.toObject();
            const QJsonValue count = fields.value(QLatin1String("count"));
            const QJsonValue description = fields.value(QLatin1String("description"));
            const double number = count.toDouble(-1);
            if (!line.isObject() || !count.isDouble() || number < 0 || number > 2147483647.0
                || std::floor(number) != number || !description.isString())
                return Failure(QStringLiteral("Her ek satırı bir sayı (\"count\", 0 ya da daha büyük) ve bir "
                                              "açıklama (\"description\") içermeli."));
            payment.attachments.append({int(number), description.toString()});
        }
    }
    return payment;
}

DocumentFilling::PaymentInputs compute(const Payment &payment, const PaymentPreferences &preferences,
                                       const CodeSheet &codes)
{
    const WorksheetDefinition &definition = worksheetDefinition(payment.category);
    PlainWorksheet worksheet(definition, preferences);
    worksheet.pressClear();
    worksheet.setStampSwitch(payment.stamp);
    const std::vector<int> amountLines = definition.amountLines();
    for (std::size_t i = 0; i < amountLines.size(); ++i)
        worksheet.enter(amountLines[i], payment.amounts.value(qsizetype(i)));
    if (payment.stampText)
        worksheet.enter(definition.stampLine(), *payment.stampText);
    worksheet.pressCompute();
    return {worksheet.entry(payment.attachments), payment.payee, codes};
}

} // namespace PaymentFile
