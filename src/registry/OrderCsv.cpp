#include "registry/OrderCsv.h"

#include "base/CsvText.h"
#include "base/FileProblem.h"
#include "base/KurusAmount.h"
#include "base/TurkishText.h"
#include "registry/OrderList.h"
#include "registry/OrderRegister.h"

#include <QSaveFile>

namespace OrderCsv {

namespace {

// The columns of figures: the numbers and the amounts.
const QList<int> kNumberColumns = {0, 9, 10, 11, 13};

} // namespace

QStringList header(bool withClerk)
{
    QStringList titles = {QStringLiteral("Belge No"),
            QStringLiteral("Tarih"),
            QStringLiteral("Saat"),
            QStringLiteral("Tür"),
            QStringLiteral("Adı Soyadı"),
            QStringLiteral("T.C. Kimlik No"),
            QStringLiteral("Banka Şube Adı"),
            QStringLiteral("Banka Hesap Numarası"),
            QStringLiteral("Bağlı Olduğu Vergi Dairesi"),
            QStringLiteral("Brüt Tutar"),
            QStringLiteral("Damga Vergisi"),
            QStringLiteral("Net Tutar"),
            QStringLiteral("Çıkış"),
            QStringLiteral("Yeniden Basılan Belge No")};
    if (withClerk)
        titles.append(QStringLiteral("Düzenleyen"));
    return titles;
}

QStringList fields(const IssuedOrder &order, bool withClerk)
{
    QStringList row = {QString::number(order.number), TurkishText::shortDate(order.issuedAt.date()),
                       order.issuedAt.toString(QStringLiteral("HH:mm:ss")), categoryWord(order.category)};
    for (const QString &field : order.payee)
        row.append(field);
    row += {KurusAmount::toPlainText(order.gross), KurusAmount::toPlainText(order.stamp),
            KurusAmount::toPlainText(order.net), OrderRegister::waysText(order.ways),
            order.isReprint() ? QString::number(order.reprintOf) : QString()};
    if (withClerk)
        row.append(order.clerk);
    return row;
}

Result<> write(const OrderList &list, const QString &filePath, bool *unreadable)
{
    if (unreadable)
        *unreadable = false;
    const bool withClerk = list.recordsClerks();
    QString text = CsvText::line(header(withClerk));
    for (int row = 0; row < list.rowCount(); ++row) {
        if (!list.isReadable(row)) {
            if (unreadable)
                *unreadable = true;
            return Result<>::failure(QStringLiteral("Belgeler aktarılmadı: %1 numaralı belge kaydı okunamadı.")
                                       .arg(list.numberAt(row)));
        }
        text += CsvText::line(fields(list.orderAt(row), withClerk), kNumberColumns);
    }
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        return Failure(FileProblem::notWritten(filePath, file.error()));
    const QByteArray bytes = CsvText::fileBytes(text);
    if (file.write(bytes) != bytes.size() || !file.commit())
        return Failure(FileProblem::notWritten(filePath, file.error()));
    return Result<>::success();
}

} // namespace OrderCsv
