#include "maintenance/OldDatabaseStart.h"

#include "base/WrittenAmount.h"
#include "desktop/MessageBoxes.h"
#include "maintenance/OldDatabaseConversion.h"
#include "olddata/OldDatabaseReading.h"
#include "registry/PayeeDatabase.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProgressDialog>

namespace OldDatabaseStart {

namespace {

const QString kCaption = QStringLiteral("Eski Veritabanı");

QString question(const QString &databasePath)
{
    const QString name = QFileInfo(databasePath).fileName();
    return QStringLiteral("Program klasöründeki %1 eski programın veritabanı. İçindeki kişiler (eczane, hastane, "
                          "tedavi ve özel) bu programın veritabanına aktarılsın mı?\n\n"
                          "Eski dosya olduğu gibi %1.eski adıyla saklanır.")
        .arg(name);
}

QString otherPasswordQuestion(const OldDatabaseReading::OldDatabase &database, const QString &databasePath)
{
    const QString protection = database.header.password().isEmpty()
        ? QStringLiteral("parolasız")
        : QStringLiteral("eski programınkinden başka bir parolayla korunuyor");
    return QStringLiteral("%1 kişi tablolarını taşıyor, ancak %2; eski programın dosyası olmayabilir.\n\n"
                          "Yine de dönüştürülsün mü?")
        .arg(QFileInfo(databasePath).fileName(), protection);
}

} // namespace

bool offer(QWidget *parent, const QString &databasePath)
{
    const QString path = databasePath.isEmpty() ? PayeeDatabase::defaultFilePath() : databasePath;
    if (!OldDatabaseReading::looksLikeJet4(path))
        return false;
    if (!MessageBoxes::askYesNo(parent, kCaption, question(path), MessageBoxes::Icon::Question))
        return false;

    QProgressDialog progress(parent);
    progress.setWindowTitle(kCaption);
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setCancelButton(nullptr);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setRange(0, 0);
    progress.setLabelText(QStringLiteral("Eski veritabanı okunuyor..."));
    progress.show();
    QCoreApplication::processEvents();

    OldDatabaseReading::Options options;
    options.progress = [&](PaymentCategory category, qsizetype rows) {
        progress.setLabelText(QStringLiteral("Eski veritabanı okunuyor: %1, %2 kayıt")
                                  .arg(categoryWord(category), WrittenAmount::grouped(QString::number(rows))));
        QCoreApplication::processEvents();
    };
    const OldDatabaseReading::Outcome read = OldDatabaseReading::read(path, options);
    if (!read.succeeded()) {
        progress.hide();
        MessageBoxes::showError(parent, read.message + QStringLiteral(" Dosya olduğu gibi bırakıldı."));
        return false;
    }
    if (!read.database.hasOldProgramPassword()) {
        progress.hide();
        if (!MessageBoxes::askYesNoDefaultNo(parent, kCaption, otherPasswordQuestion(read.database, path),
                                             MessageBoxes::Icon::Warning))
            return false;
        progress.show();
    }

    const qsizetype total = payeeCount(read.database.records);
    progress.setLabelText(QStringLiteral("Kişiler yeni veritabanına yazılıyor..."));
    progress.setRange(0, int(std::min<qsizetype>(total, std::numeric_limits<int>::max())));
    progress.setValue(0);
    const Result<OldDatabaseConversion::Converted> converted = OldDatabaseConversion::convert(
        path, read.database, [&](qsizetype done, qsizetype) {
            progress.setValue(int(std::min<qsizetype>(done, progress.maximum())));
            QCoreApplication::processEvents();
        });
    progress.hide();
    if (converted.failed()) {
        MessageBoxes::showError(parent, converted.message());
        return false;
    }
    MessageBoxes::information(parent, kCaption, PayeeImport::transferredSentence(converted->counts));
    return true;
}

} // namespace OldDatabaseStart
