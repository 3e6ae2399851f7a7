#include "issuing/OrderRecording.h"

#include "base/KurusAmount.h"
#include "base/TurkishText.h"
#include "computation/WorksheetDefinition.h"

namespace OrderRecording {

namespace {

// The fields hold display forms the computation wrote; an empty one (no
// stamp duty) is nothing. Anything else that is not an amount would be
// recorded as a wrong sum: it stops the order.
Result<qint64> kurusOfLine(const DocumentFilling::PaymentInputs &inputs, int line, const QString &what)
{
    if (line <= 0)
        return qint64(0);
    const QString text = inputs.entry.lines.value(line - 1);
    if (const std::optional<qint64> kurus = KurusAmount::fromText(text))
        return *kurus;
    return Failure(QStringLiteral("Belge yazdırılmadı: %1 tutarı \"%2\" okunamadı. Ödemeyi HESAPLA ile yeniden "
                                  "hesaplayın.")
                       .arg(what, text));
}

} // namespace

Result<IssuedOrder> describe(const DocumentFilling::PaymentInputs &inputs, const QDateTime &issuedAt)
{
    const WorksheetDefinition &definition = worksheetDefinition(inputs.category());
    const Result<qint64> gross = kurusOfLine(inputs, definition.grossLine, QStringLiteral("brüt"));
    const Result<qint64> stamp = kurusOfLine(inputs, definition.stampLine(), QStringLiteral("damga vergisi"));
    const Result<qint64> net = kurusOfLine(inputs, definition.netLine, QStringLiteral("net"));
    for (const Result<qint64> *amount : {&gross, &stamp, &net}) {
        if (amount->failed())
            return amount->error();
    }
    IssuedOrder order;
    order.issuedAt = issuedAt;
    order.category = inputs.category();
    order.payee = inputs.payee;
    order.gross = *gross;
    order.stamp = *stamp;
    order.net = *net;
    return order;
}

QString duplicateQuestion(const IssuedOrder &earlier)
{
    return QStringLiteral("Bu kişiye aynı tutarda %1 tarihinde %2 numaralı belge düzenlenmiş. "
                          "Yine de yazdırılsın mı?")
        .arg(TurkishText::shortDate(earlier.issuedAt.date()))
        .arg(earlier.number);
}

QString duplicateWarning(const IssuedOrder &earlier)
{
    return QStringLiteral("Uyarı: bu kişiye aynı tutarda %1 tarihinde %2 numaralı belge düzenlenmiş; belge yine "
                          "de yazıldı.")
        .arg(TurkishText::shortDate(earlier.issuedAt.date()))
        .arg(earlier.number);
}

QString notRecordedText(const QString &reason)
{
    return QStringLiteral("Belgenin çıktısı alındı, ancak belge kaydına işlenemedi.\n\n%1").arg(reason);
}


} // namespace OrderRecording
