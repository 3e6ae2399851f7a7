#include "maintenance/OldDatabaseDialogs.h"

#include "base/WrittenAmount.h"
#include "desktop/MessageBoxes.h"
#include "maintenance/OldDatabaseConversion.h"
#include "olddata/OldDatabaseReading.h"
#include "registry/PayeeDatabase.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProgressDialog>

#include <limits>
#include <memory>

namespace OldDatabaseDialogs {

namespace {

const QString kCaption = QStringLiteral("Eski Veritabanı");

QString conversionQuestion(const QString &databasePath)
{
    const QString name = QFileInfo(databasePath).fileName();
    return QStringLiteral("Program klasöründeki %1 eski programın veritabanı. İçindeki kişiler (eczane, hastane, "
                          "tedavi ve özel) bu programın veritabanına aktarılsın mı?\n\n"
                          "Eski dosya olduğu gibi %1.eski adıyla saklanır.")
        .arg(name);
}

QString otherPasswordQuestion(const OldDatabaseReading::OldDatabase &database, const QString &filePath, bool convert)
{
    const QString protection = database.header.password().isEmpty()
        ? QStringLiteral("parolasız")
        : QStringLiteral("eski programınkinden başka bir parolayla korunuyor");
    return QStringLiteral("%1 kişi tablolarını taşıyor, ancak %2; eski programın dosyası olmayabilir.\n\n"
                          "Yine de %3?")
        .arg(QFileInfo(filePath).fileName(), protection,
             convert ? QStringLiteral("dönüştürülsün mü") : QStringLiteral("içindeki kişiler aktarılsın mı"));
}

std::unique_ptr<QProgressDialog> progressDialog(QWidget *parent)
{
    auto progress = std::make_unique<QProgressDialog>(parent);
    progress->setWindowTitle(kCaption);
    progress->setWindowModality(Qt::ApplicationModal);
    progress->setCancelButton(nullptr);
    progress->setMinimumDuration(0);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    progress->setMinimumWidth(360);
    progress->setRange(0, 0);
    progress->setLabelText(QStringLiteral("Eski veritabanı okunuyor..."));
    progress->show();
    QCoreApplication::processEvents();
    return progress;
}

// The reading's options for the progress bar, which shows the rows of
// each kind, and for the question about another password, asked after the
// first look at the file and before its rows are read.
OldDatabaseReading::Options readingOptions(QWidget *parent, QProgressDialog &progress, const QString &filePath,
                                           const QString &label, bool convert)
{
    OldDatabaseReading::Options options;
    options.progress = [&progress, label](PaymentCategory category, qsizetype rows) {
        progress.setLabelText(QStringLiteral("%1: %2, %3 kayıt")
                                  .arg(label, categoryWord(category), WrittenAmount::grouped(QString::number(rows))));
        QCoreApplication::processEvents();
    };
    options.acceptOtherPassword = [parent, &progress, filePath, convert](const OldDatabaseReading::OldDatabase &database) {
        progress.hide();
        const bool accepted = MessageBoxes::askYesNoDefaultNo(parent, kCaption,
                                                              otherPasswordQuestion(database, filePath, convert),
                                                              MessageBoxes::Icon::Warning);
        if (accepted)
            progress.show();
        return accepted;
    };
    return options;
}

QString notReadText(const QString &message)
{
    return message + QStringLiteral(" Dosya olduğu gibi bırakıldı; hiçbir kayıt aktarılmadı.");
}

PayeeImport::Progress writingProgress(QProgressDialog &progress, qsizetype total)
{
    progress.setLabelText(QStringLiteral("Kişiler veritabanına yazılıyor..."));
    progress.setRange(0, int(std::min<qsizetype>(total, std::numeric_limits<int>::max())));
    progress.setValue(0);
    return [&progress](qsizetype done, qsizetype) {
        progress.setValue(int(std::min<qsizetype>(done, progress.maximum())));
        QCoreApplication::processEvents();
    };
}

} // namespace

bool offerConversion(QWidget *parent, const QString &databasePath)
{
    const QString path = databasePath.isEmpty() ? PayeeDatabase::defaultFilePath() : databasePath;
    if (!OldDatabaseReading::looksLikeJet4(path))
        return false;
    if (!MessageBoxes::askYesNo(parent, kCaption, conversionQuestion(path), MessageBoxes::Icon::Question))
        return false;

    const std::unique_ptr<QProgressDialog> progress = progressDialog(parent);
    const OldDatabaseConversion::Outcome converted = OldDatabaseConversion::convert(
        path, readingOptions(parent, *progress, path, QStringLiteral("Eski veritabanı dönüştürülüyor"), true));
    progress->hide();
    using Status = OldDatabaseConversion::Outcome::Status;
    switch (converted.status) {
    case Status::Converted:
        break;
    case Status::Declined:
        return false;
    case Status::NotRead:
        MessageBoxes::showError(parent, notReadText(converted.message));
        return false;
    case Status::NotConverted:
        MessageBoxes::showError(parent, converted.message);
        return false;
    }
    MessageBoxes::information(parent, kCaption, PayeeImport::transferredSentence(converted.counts));
    return true;
}

std::optional<PayeeImport::Counts> importFile(QWidget *parent, PayeeDatabase &database, const QString &oldPath)
{
    const std::unique_ptr<QProgressDialog> progress = progressDialog(parent);
    OldDatabaseReading::Outcome read = OldDatabaseReading::read(
        oldPath, readingOptions(parent, *progress, oldPath, QStringLiteral("Eski veritabanı okunuyor"), false));
    if (read.status == OldDatabaseReading::Outcome::Status::Declined)
        return std::nullopt;
    if (!read.succeeded()) {
        progress->hide();
        MessageBoxes::showError(parent, notReadText(read.message));
        return std::nullopt;
    }
    const PayeeRecords &records = read.database.records;
    const Result<PayeeImport::Counts> counts
        = PayeeImport::add(database, records, writingProgress(*progress, payeeCount(records)));
    progress->hide();
    if (counts.failed()) {
        MessageBoxes::showError(parent, QStringLiteral("Kişiler veritabanına yazılamadı; hiçbir kayıt aktarılmadı: %1")
                                            .arg(counts.message()));
        return std::nullopt;
    }
    MessageBoxes::information(parent, kCaption, PayeeImport::reportLines(*counts).join(u'\n'));
    return *counts;
}

} // namespace OldDatabaseDialogs
