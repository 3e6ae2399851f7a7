#include "commands/HeadlessPdf.h"

#include "base/AmountText.h"
#include "base/FileProblem.h"
#include "base/FolderAccess.h"
#include "base/ProgramFolder.h"
#include "base/ProfileFile.h"
#include "computation/AttachmentLines.h"
#include "computation/PaymentPreferences.h"
#include "computation/PlainWorksheet.h"
#include "computation/PreferenceSettings.h"
#include "computation/WorksheetDefinition.h"
#include "issuing/OrderRecording.h"
#include "issuing/DocumentName.h"
#include "issuing/PagePainter.h"
#include "issuing/PaymentOrderPage.h"
#include "referencedata/AutomaticDates.h"
#include "referencedata/CodeSheetSettings.h"
#include "referencedata/InstitutionSettings.h"
#include "registry/OrderRegister.h"
#include "registry/PayeeDatabase.h"
#include "registry/PayeeTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QRegularExpression>
#include <QTextStream>

#include <cmath>
#include <cstring>

namespace HeadlessPdf {

namespace {

const QString kUsage = QStringLiteral("Kullanım: Zenparol --pdf ÇIKTI.pdf ÖDEME.json");

// The largest amount an amount field holds: 13 whole digits.
constexpr int kWholeDigits = 13;

ParsedPayment failure(const QString &message)
{
    return {std::nullopt, message};
}

QString quoted(const QString &text)
{
    return u'"' + text + u'"';
}

// An amount as a person types it into an amount field, in display form or
// without the thousands points: "1.234,50", "1234,50", "1234,5", "1234".
// Gives its display form, or nothing for a text that is not such an amount.
std::optional<QString> amountText(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,3}(\\.\\d{3})+|\\d+)(,\\d{1,2})?$"));
    if (!form.match(text).hasMatch())
        return std::nullopt;
    QString whole = text.section(u',', 0, 0);
    whole.remove(u'.');
    while (whole.size() > 1 && whole.startsWith(u'0'))
        whole.remove(0, 1);
    if (whole.size() > kWholeDigits)
        return std::nullopt;
    const std::optional<long double> value = AmountText::TextToValue(text);
    if (!value)
        return std::nullopt;
    return AmountText::format(*value, 2);
}

// Opens the register's database, creating it where there is none; what the
// user must know goes to notes.
Result<> openDatabase(PayeeDatabase &database, QStringList &notes)
{
    PayeeDatabase::OpenResult opened = database.open();
    if (opened.status == PayeeDatabase::OpenStatus::Missing) {
        opened = database.create();
        if (opened.isOpened())
            notes.append(QStringLiteral("Veritabanı dosyası yoktu; yeni, boş bir veritabanı oluşturuldu: %1")
                             .arg(QDir::toNativeSeparators(database.filePath())));
    }
    if (!opened.isOpened())
        return Result<>::failure(opened.message);
    return Result<>::success();
}

QString amountError(const QString &text)
{
    return QStringLiteral("Okunamayan tutar %1: tutar 1.234,56 biçiminde, en çok %2 basamaklı olmalı.")
        .arg(quoted(text))
        .arg(kWholeDigits);
}

} // namespace

bool requested(int argc, char **argv)
{
    return argc >= 2 && std::strcmp(argv[1], "--pdf") == 0;
}

ParsedPayment parsePayment(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        return failure(QStringLiteral("Ödeme dosyası geçerli bir JSON belgesi değil (%1. karakterde hata).")
                           .arg(error.offset + 1));
    if (!document.isObject())
        return failure(QStringLiteral("Ödeme dosyası bir JSON nesnesi olmalı: {\"kind\": ..., \"payee\": ..., "
                                      "\"amounts\": ..., \"stamp\": ...}."));
    const QJsonObject object = document.object();
    for (const char *field : {"kind", "payee", "amounts", "stamp"}) {
        if (!object.contains(QLatin1String(field)))
            return failure(QStringLiteral("Ödeme dosyasında %1 alanı eksik.").arg(quoted(QLatin1String(field))));
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
        return failure(QStringLiteral("Bilinmeyen ödeme türü %1: \"Eczane\", \"Hastane\", \"Tedavi\" ya da \"Ozel\" "
                                      "olmalı.")
                           .arg(kind.isString() ? quoted(kind.toString()) : QStringLiteral("(yazı değil)")));
    const WorksheetDefinition &definition = worksheetDefinition(payment.category);

    const QJsonValue payee = object.value(QLatin1String("payee"));
    const QJsonArray payeeFields = payee.toArray();
    bool payeeTexts = payee.isArray() && payeeFields.size() == kPayeeColumnCount;
    for (qsizetype i = 0; payeeTexts && i < payeeFields.size(); ++i)
        payeeTexts = payeeFields[i].isString();
    if (!payeeTexts)
        return failure(QStringLiteral("\"payee\" beş yazılık bir liste olmalı: adı, T.C. kimlik no, banka şubesi, "
                                      "banka hesabı, vergi dairesi."));
    for (qsizetype i = 0; i < payeeFields.size(); ++i)
        payment.payee[std::size_t(i)] = payeeFields[i].toString();

    const std::vector<int> amountLines = definition.amountLines();
    const QJsonValue amounts = object.value(QLatin1String("amounts"));
    const QJsonArray amountList = amounts.toArray();
    if (!amounts.isArray() || amountList.size() != qsizetype(amountLines.size()))
        return failure(amountLines.size() == 1
                           ? QStringLiteral("\"amounts\" bu ödeme türünde tek tutarlık bir liste olmalı.")
                           : QStringLiteral("\"amounts\" Tedavi ödemesinde iki tutarlık bir liste olmalı: tedavi "
                                            "ve sağlık malzemesi, ilaç (girilmeyen tutar \"\")."));
    bool anyAmount = false;
    for (const QJsonValue &amount : amountList) {
        if (!amount.isString())
            return failure(QStringLiteral("\"amounts\" içindeki tutarlar yazı olmalı (\"1.234,56\" gibi)."));
        const QString text = amount.toString();
        if (text.isEmpty()) {
            payment.amounts.append(QString());
            continue;
        }
        const std::optional<QString> shown = amountText(text);
        if (!shown)
            return failure(amountError(text));
        payment.amounts.append(*shown);
        anyAmount = true;
    }
    if (!anyAmount)
        return failure(QStringLiteral("Ödeme dosyasında tutar yok: \"amounts\" en az bir tutar içermeli."));

    const QJsonValue stamp = object.value(QLatin1String("stamp"));
    if (!stamp.isBool())
        return failure(QStringLiteral("\"stamp\" true ya da false olmalı."));
    payment.stamp = stamp.toBool();
    if (definition.stampAlwaysApplies && !payment.stamp)
        return failure(QStringLiteral("Eczane ödemesinde damga vergisi her zaman kesilir: \"stamp\" true olmalı."));

    if (object.contains(QLatin1String("stampText"))) {
        const QJsonValue stampText = object.value(QLatin1String("stampText"));
        if (!stampText.isString())
            return failure(QStringLiteral("\"stampText\" bir tutar yazısı olmalı (\"8,25\" gibi)."));
        if (!payment.stamp)
            return failure(QStringLiteral("\"stampText\" yalnızca damga vergisi kesilen ödemede (\"stamp\": true) "
                                          "verilebilir."));
        const std::optional<QString> shown = amountText(stampText.toString());
        if (!shown)
            return failure(amountError(stampText.toString()));
        payment.stampText = *shown;
    }

    if (object.contains(QLatin1String("attachments"))) {
        const QJsonValue attachments = object.value(QLatin1String("attachments"));
        const int lines = AttachmentLines::lineCount(payment.category);
        if (!attachments.isArray() || attachments.toArray().size() > lines)
            return failure(QStringLiteral("\"attachments\" en çok %1 satırlık bir liste olmalı: "
                                          "[{\"count\": 3, \"description\": \"Adet Fatura\"}, ...].")
                               .arg(lines));
        for (const QJsonValue &line : attachments.toArray()) {
            const QJsonObject fields = line.toObject();
            const QJsonValue count = fields.value(QLatin1String("count"));
            const QJsonValue description = fields.value(QLatin1String("description"));
            const double number = count.toDouble(-1);
            if (!line.isObject() || !count.isDouble() || number < 0 || number > 2147483647.0
                || std::floor(number) != number || !description.isString())
                return failure(QStringLiteral("Her ek satırı bir sayı (\"count\", 0 ya da daha büyük) ve bir "
                                              "açıklama (\"description\") içermeli."));
            payment.attachments.append({int(number), description.toString()});
        }
    }
    return {payment, QString()};
}

Outcome run(const QStringList &arguments, const QDate &today)
{
    if (arguments.size() != 3 || arguments[0] != QLatin1String("--pdf") || arguments[1].isEmpty()
        || arguments[2].isEmpty())
        return {BadInput, kUsage};
    const QString outputPath = arguments[1];
    const QString paymentPath = arguments[2];
    const Result<FolderAccess> access = FolderAccess::forCommand(ProgramFolder::path());
    if (access.failed())
        return {Busy, access.message()};

    QFile paymentFile(paymentPath);
    if (!paymentFile.open(QIODevice::ReadOnly))
        return {BadInput, QStringLiteral("'%1' ödeme dosyası okunamadı: %2.")
                              .arg(QDir::toNativeSeparators(paymentPath),
                                   FileProblem::reading(paymentPath, paymentFile.error()))};
    const ParsedPayment parsed = parsePayment(paymentFile.readAll());
    if (!parsed.payment)
        return {BadInput, QStringLiteral("%1: %2").arg(QFileInfo(paymentPath).fileName(), parsed.error)};
    const Payment &payment = *parsed.payment;

    // The settings as the windows hold them after start-up.
    const QString settingsPath = ProfileFile::settingsFilePath();
    if (QFileInfo::exists(settingsPath)) {
        QFile settings(settingsPath);
        if (!settings.open(QIODevice::ReadOnly))
            return {Failed, QStringLiteral("Ayar dosyası '%1' okunamadı: %2.")
                                .arg(QDir::toNativeSeparators(settingsPath),
                                     FileProblem::reading(settingsPath, settings.error()))};
    }
    const ProfileFile settings(settingsPath);
    CodeSheets codes = defaultCodeSheets();
    CodeSheetSettings::load(settings, codes);
    InstitutionValues institution = InstitutionSettings::defaults();
    InstitutionSettings::load(settings, institution);
    // The idle pass keeps these two in step with their "Otm." boxes.
    institution.texts.insert(QStringLiteral("EdButceYili"), institution.isTicked(QStringLiteral("CheckBox1"))
                                                                ? AutomaticDates::budgetYear(today)
                                                                : QString());
    institution.texts.insert(QStringLiteral("EdTarih"), institution.isTicked(QStringLiteral("CheckBox2"))
                                                            ? AutomaticDates::shortDate(today)
                                                            : QString());
    Preferences values;
    PreferenceSettings::load(settings, values);
    const StoredPaymentPreferences preferences(values);

    // HESAPLA on a worksheet that the kind selector has just cleared.
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

    const DocumentFilling::PaymentInputs inputs = DocumentFilling::paymentInputs(
        worksheet, payment.payee, codes[std::size_t(categoryIndex(payment.category))], payment.attachments);

    DocumentFilling::CommonInputs common;
    common.institution = institution;
    common.currencyChoice = preferences.currencyChoice();
    common.fillApprovalDates = preferences.fillApprovalDates();
    common.today = today;

    Raporlar raporlar;
    raporlar.apply(DocumentFilling::commonFields(common));
    raporlar.apply(DocumentFilling::paymentFields(inputs));
    const PaymentOrderPage page = raporlar.prepare(today);
    const QString name = documentName(payment.category, payment.payee[std::size_t(PayeeColumn::Name)]);

    QStringList notes;
    PayeeDatabase database;
    OrderRegister orders(database);
    const Result<> databaseOpened = openDatabase(database, notes);
    const IssuedOrder order = OrderRecording::describe(inputs, OrderRecording::issueMoment(today));
    std::optional<IssuedOrder> earlier;
    if (databaseOpened.succeeded()
        && orders.findSame(order.category, order.name(), order.gross, OrderRegister::recentSince(today), &earlier)
               .succeeded()
        && earlier)
        notes.append(OrderRecording::duplicateWarning(*earlier));

    if (const Result<> saved = PagePainter::savePdf(page, outputPath, name); saved.failed()) {
        notes.append(saved.message());
        return {Failed, notes.join(u'\n')};
    }
    qint64 number = 0;
    const Result<> recorded = databaseOpened.succeeded()
        ? orders.record([&] {
              IssuedOrder issued = order;
              issued.ways = int(OrderWay::Pdf);
              return issued;
          }(), storedPage(page), &number)
        : databaseOpened;
    if (recorded.failed()) {
        notes.append(QStringLiteral("PDF yazıldı, ancak belge kaydına işlenemedi. %1").arg(recorded.message()));
        return {NotRecorded, notes.join(u'\n')};
    }
    return {Printed, notes.join(u'\n')};
}

int main(int argc, char **argv)
{
    // No window is ever shown: no display is needed. Standard error carries
    // our one line and nothing of the toolkit's.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    QGuiApplication application(argc, argv);
    const Outcome outcome = run(QGuiApplication::arguments().mid(1));
    if (!outcome.message.isEmpty()) {
        QTextStream error(stderr);
        error << outcome.message << Qt::endl;
    }
    return outcome.status;
}

} // namespace HeadlessPdf
