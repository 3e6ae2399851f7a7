#include "app/PayeeCsvDialogs.h"

#include "base/WrittenAmount.h"
#include "desktop/FileChooser.h"
#include "desktop/MessageBoxes.h"
#include "registry/PayeeCsv.h"
#include "registry/PayeeDatabase.h"
#include "registry/PayeeExport.h"
#include "registry/PayeeImport.h"

#include <QDir>
#include <QFileInfo>

namespace PayeeCsvDialogs {

namespace {

const QString kFilter = QStringLiteral("CSV dosyaları (*.csv)");

QString shown(const QString &filePath)
{
    return QDir::toNativeSeparators(QFileInfo(filePath).absoluteFilePath());
}

QString count(qsizetype n)
{
    return WrittenAmount::grouped(QString::number(n));
}

} // namespace

bool exportList(QWidget *parent, PayeeDatabase &database, PaymentCategory category)
{
    const QString file = FileChooser::ask({QStringLiteral("Kişileri CSV dosyası olarak aktar"), kFilter, QStringLiteral("csv"),
                                           true, categoryWord(category) + QStringLiteral(".csv")},
                                          parent);
    return !file.isEmpty() && exportTo(parent, database, category, file);
}

bool importList(QWidget *parent, PayeeDatabase &database, PaymentCategory category)
{
    const QString file = FileChooser::ask({QStringLiteral("CSV dosyasından kişi aktar"), kFilter, QStringLiteral("csv"), false, QString()},
                                          parent);
    return !file.isEmpty() && importFrom(parent, database, category, file);
}

bool exportTo(QWidget *parent, PayeeDatabase &database, PaymentCategory category, const QString &filePath)
{
    const Result<QList<PayeeFields>> payees = PayeeExport::payeesOf(database.connection(), category);
    if (payees.failed()) {
        MessageBoxes::showError(parent, QStringLiteral("Kişiler okunamadı: %1").arg(payees.message()));
        return false;
    }
    if (const Result<> written = PayeeCsv::writeFile(filePath, PayeeCsv::fileBytes(*payees)); written.failed()) {
        MessageBoxes::showError(parent, written.message());
        return false;
    }
    MessageBoxes::information(parent, QStringLiteral("Dışa Aktar"),
                              QStringLiteral("%1: %2 kayıt '%3' dosyasına yazıldı.")
                                  .arg(categoryWord(category), count(payees->size()), shown(filePath)));
    return true;
}

bool importFrom(QWidget *parent, PayeeDatabase &database, PaymentCategory category, const QString &filePath)
{
    const QString caption = QStringLiteral("İçe Aktar");
    const Result<PayeeCsv::Parsed> parsed = PayeeCsv::readFile(filePath, category);
    if (parsed.failed()) {
        MessageBoxes::showError(parent, parsed.message() + QStringLiteral(" Hiçbir kayıt aktarılmadı."));
        return false;
    }
    if (!parsed->badRows.isEmpty()) {
        const QString question = QStringLiteral("'%1' dosyasında %2 hatalı satır var:\n\n%3\n\nHatalı satırlar atlanıp "
                                                "geri kalan %4 kayıt aktarılsın mı? \"Hayır\" derseniz hiçbir kayıt "
                                                "aktarılmaz.")
                                     .arg(shown(filePath), count(parsed->badRows.size()),
                                          PayeeCsv::badRowsText(parsed->badRows), count(parsed->payees.size()));
        if (!MessageBoxes::askYesNoDefaultNo(parent, caption, question, MessageBoxes::Icon::Warning))
            return false;
    }
    PayeeRecords records;
    records[std::size_t(categoryIndex(category))] = parsed->payees;
    const Result<PayeeImport::Counts> counts = PayeeImport::add(database, records);
    if (counts.failed()) {
        MessageBoxes::showError(parent, QStringLiteral("Kişiler veritabanına yazılamadı; hiçbir kayıt aktarılmadı: %1")
                                            .arg(counts.message()));
        return false;
    }
    MessageBoxes::information(parent, caption, PayeeImport::reportLines(*counts).at(categoryIndex(category)));
    return counts->totalAdded() > 0;
}

} // namespace PayeeCsvDialogs
