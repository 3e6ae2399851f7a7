#include "issuing/OrderRecording.h"

#include "base/KurusAmount.h"
#include "base/TurkishText.h"
#include "computation/WorksheetDefinition.h"

namespace OrderRecording {

namespace {

qint64 kurusOfLine(const DocumentFilling::PaymentInputs &inputs, int line)
{
    // The fields hold display forms the computation wrote; an empty one
    // (no stamp duty) is nothing.
    if (line <= 0)
        return 0;
    return KurusAmount::fromText(inputs.lines.value(line - 1)).value_or(0);
}

} // namespace

IssuedOrder describe(const DocumentFilling::PaymentInputs &inputs, const QDateTime &issuedAt)
{
    const WorksheetDefinition &definition = worksheetDefinition(inputs.category);
    IssuedOrder order;
    order.issuedAt = issuedAt;
    order.category = inputs.category;
    order.payee = inputs.payee;
    order.gross = kurusOfLine(inputs, definition.grossLine);
    order.stamp = kurusOfLine(inputs, definition.stampLine());
    order.net = kurusOfLine(inputs, definition.netLine);
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

QString notRecordedText(const Result<> &failure)
{
    return QStringLiteral("Belgenin çıktısı alındı, ancak belge kaydına işlenemedi.\n\n%1").arg(failure.message());
}

QDateTime issueMoment(const QDate &day)
{
    const QTime now = QTime::currentTime();
    return QDateTime(day, QTime(now.hour(), now.minute(), now.second()));
}

} // namespace OrderRecording
