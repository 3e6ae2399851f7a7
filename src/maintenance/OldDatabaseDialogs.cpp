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

// The file read with the progress bar showing the rows of each kind; the
// question about another password asked. Nothing when it is not to be
// taken (a message said why, or the user said no).
std::optional<OldDatabaseReading::OldDatabase> readWithProgress(QWidget *parent, QProgressDialog &progress,
                                                                const QString &filePath, bool convert)
{
    OldDatabaseReading::Options options;
    options.progress = [&](PaymentCategory category, qsizetype rows) {
        progress.setLabelText(QStringLiteral("Eski veritabanı okunuyor: %1, %2 kayıt")
                                  .arg(categoryWord(category), WrittenAmount::grouped(QString::number(rows))));
        QCoreApplication::processEvents();
    };
    OldDatabaseReading::Outcome read = OldDatabaseReading::read(filePath, options);
    if (!read.succeeded()) {
        progress.hide();
        MessageBoxes::showError(parent, read.message + QStringLiteral(" Dosya olduğu gibi bırakıldı; hiçbir kayıt "
                                                                      "aktarılmadı."));
        return std::nullopt;
    }
    if (!read.database.hasOldProgramPassword()) {
        progress.hide();
        if (!MessageBoxes::askYesNoDefaultNo(parent, kCaption, otherPasswordQuestion(read.database, filePath, convert),
                                             MessageBoxes::Icon::Warning))
            return std::nullopt;
        progress.show();
    }
    return std::move(read.database);
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
    const std::optional<OldDatabaseReading::OldDatabase> database = readWithProgress(parent, *progress, path, true);
    if (!database)
        return false;
    const Result<OldDatabaseConversion::Converted> converted
        = OldDatabaseConversion::convert(path, *database, writingProgress(*progress, payeeCount(database->records)));
    progress->hide();
    if (converted.failed()) {
        MessageBoxes::showError(parent, converted.message());
        return false;
    }
    MessageBoxes::information(parent, kCaption, PayeeImport::transferredSentence(converted->counts));
    return true;
}

std::optional<PayeeImport::Counts> importFile(QWidget *parent, PayeeDatabase &database, const QString &oldPath)
{
    const std::unique_ptr<QProgressDialog> progress = progressDialog(parent);
    const std::optional<OldDatabaseReading::OldDatabase> old = readWithProgress(parent, *progress, oldPath, false);
    if (!old)
        return std::nullopt;
    const Result<PayeeImport::Counts> counts
        = PayeeImport::add(database, old->records, writingProgress(*progress, payeeCount(old->records)));
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
