// The windowless commands that bring payees into the register and take
// them out: --import-old with good, foreign and damaged files,
// --export-payees and --import-payees with what spreadsheets write; every
// refusal a Turkish message and the register as it was; and the real
// program, whose own executable reads the old file.

#include "base/FolderAccess.h"
#include "base/TurkishText.h"
#include "base/WindowsTurkishCodePage.h"
#include "commands/OldDatabaseCommand.h"
#include "commands/PayeeCsvCommand.h"
#include "registry/PayeeCsv.h"
#include "registry/PayeeDatabase.h"
#include "registry/PayeeExport.h"
#include "registry/PayeeImport.h"
#include "registry/TurkishCollation.h"
#include "support/JetFixture.h"
#include "support/OldReaderTestMain.h"
#include "support/ProgramFolderFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

using namespace std::chrono_literals;

namespace {

const QString kSamples = QStringLiteral(MIRVASEL_JET_SAMPLES);
const QString kEmpty = QString(QLatin1String(""));

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The register's payees, or nothing when it cannot be opened.
std::optional<PayeeRecords> registerPayees()
{
    PayeeDatabase database;
    if (!database.open().isOpened())
        return std::nullopt;
    Result<PayeeRecords> records = PayeeExport::allPayees(database.connection());
    if (records.failed())
        return std::nullopt;
    return std::move(records).value();
}

// Texts and their absence: QString's == takes NULL for "".
QString differences(const QList<PayeeFields> &got, const QList<PayeeFields> &want)
{
    if (got.size() != want.size())
        return QStringLiteral("%1 payees, expected %2").arg(got.size()).arg(want.size());
    for (qsizetype row = 0; row < got.size(); ++row) {
        for (int column = 0; column < kPayeeColumnCount; ++column) {
            const QString &x = got[row][std::size_t(column)];
            const QString &y = want[row][std::size_t(column)];
            if (x != y || x.isNull() != y.isNull())
                return QStringLiteral("row %1 column %2: \"%3\"%4, expected \"%5\"%6")
                    .arg(row)
                    .arg(column)
                    .arg(x, x.isNull() ? QStringLiteral(" (NULL)") : QString(), y,
                         y.isNull() ? QStringLiteral(" (NULL)") : QString());
        }
    }
    return {};
}

// In the register's order: by name, absent names first.
QList<PayeeFields> sortedByName(QList<PayeeFields> payees)
{
    std::stable_sort(payees.begin(), payees.end(), [](const PayeeFields &a, const PayeeFields &b) {
        if (a[0].isNull() != b[0].isNull())
            return a[0].isNull();
        return TurkishCollation::compare(a[0], b[0]) < 0;
    });
    return payees;
}

std::optional<FolderAccess> maintenanceOf(const QString &folder)
{
    Result<FolderAccess> taken = FolderAccess::forMaintenance(folder, 0ms);
    if (taken.failed() || !taken->isLocked())
        return std::nullopt;
    return std::move(taken).value();
}

CommandOutcome importOld(const QString &file, bool otherPassword = false)
{
    QStringList arguments{QStringLiteral("--import-old"), file};
    if (otherPassword)
        arguments.append(QStringLiteral("--other-password"));
    return OldDatabaseCommand::run(arguments);
}

} // namespace

class TestPayeeCommands : public QObject
{
    Q_OBJECT

private slots:
    void importOldMakesTheRegister();
    void importOldAddsToTheRegisterAndSkipsEqualPayees();
    void importOldRefuses_data();
    void importOldRefuses();
    void importOldWithAnotherPassword_data();
    void importOldWithAnotherPassword();
    void importOldIntoARegisterThatCannotBeWritten_data();
    void importOldIntoARegisterThatCannotBeWritten();
    void commandsWaitForMaintenance_data();
    void commandsWaitForMaintenance();
    void exportAndImportBackExactly();
    void importWhatSpreadsheetsWrite_data();
    void importWhatSpreadsheetsWrite();
    void badRowsImportNothingUnlessSkipped();
    void wrongCommandLines_data();
    void wrongCommandLines();
    void realProgram();
};

void TestPayeeCommands::importOldMakesTheRegister()
{
    ProgramFolderFixture folder;
    const PayeeRecords records = JetFixture::tricky();
    const QString old = folder.filePath(QStringLiteral("Eski.mdb"));
    QVERIFY(JetFixture::payees(records).write(old));
    const CommandOutcome outcome = importOld(old);
    QCOMPARE(outcome.status, ExitStatus::kDone);
    QCOMPARE(outcome.message, QString());
    PayeeImport::Counts counts;
    for (std::size_t i = 0; i < records.size(); ++i)
        counts.added[i] = records[i].size();
    QCOMPARE(outcome.output, PayeeImport::reportLines(counts).join(u'\n'));
    const std::optional<PayeeRecords> there = registerPayees();
    QVERIFY(there);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const QString problem = differences((*there)[i], sortedByName(records[i]));
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
    // The old file is read, never written.
    QCOMPARE(fileBytes(old), JetFixture::payees(records).bytes());
}

void TestPayeeCommands::importOldAddsToTheRegisterAndSkipsEqualPayees()
{
    ProgramFolderFixture folder;
    PayeeRecords first;
    first[0] = {{QStringLiteral("ŞİFA ECZANESİ"), QStringLiteral("1"), QString(), kEmpty, QStringLiteral("ŞİŞLİ")}};
    QVERIFY(PayeeImport::addToFile(PayeeDatabase::defaultFilePath(), first).succeeded());
    PayeeRecords old = first;
    old[0].append({QStringLiteral("ŞİFA ECZANESİ"), QStringLiteral("1"), kEmpty, kEmpty, QStringLiteral("ŞİŞLİ")});
    old[3] = {{QString(), QString(), QString(), QString(), QString()}};
    const QString file = folder.filePath(QStringLiteral("Yedek.mdb"));
    QVERIFY(JetFixture::payees(old).write(file));
    const CommandOutcome outcome = importOld(file);
    QCOMPARE(outcome.status, ExitStatus::kDone);
    QCOMPARE(outcome.output, QStringLiteral("Eczane: 1 kayıt eklendi, 1 kayıt zaten vardı (atlandı).\n"
                                            "Hastane: 0 kayıt eklendi.\n"
                                            "Tedavi: 0 kayıt eklendi.\n"
                                            "Özel: 1 kayıt eklendi."));
    const std::optional<PayeeRecords> there = registerPayees();
    QVERIFY(there);
    QCOMPARE((*there)[0].size(), 2);
    QVERIFY((*there)[3][0][0].isNull());
}

void TestPayeeCommands::importOldRefuses_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("withRegister");
    QTest::addColumn<QString>("said");
    const QByteArray good = JetFixture::payees(JetFixture::many(200)).bytes();
    QTest::newRow("no file") << QByteArray() << true << QStringLiteral("dosya bulunamadı");
    QTest::newRow("a text file") << QByteArray("Adı;Soyadı\r\n").repeated(400) << true
                                 << QStringLiteral("bir Access (Jet) veritabanı değil");
    QTest::newRow("Access sample") << fileBytes(QDir(kSamples).filePath(QStringLiteral("V2000_with-password.mdb")))
                                   << true << QStringLiteral("Eczane tablosu yok");
    QTest::newRow("cut at half, into a register") << good.first(good.size() / 2 / 4096 * 4096) << true
                                                  << QStringLiteral("okunamadı");
    QTest::newRow("cut at half, none there") << good.first(good.size() / 2 / 4096 * 4096) << false
                                             << QStringLiteral("okunamadı");
    QByteArray changed = good;
    for (int at = 2 * 4096; at < 3 * 4096; at += 13)
        changed[at] = char(0xA5);
    QTest::newRow("the catalog overwritten") << changed << true << QStringLiteral("okunamadı");
}

void TestPayeeCommands::importOldRefuses()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, withRegister);
    QFETCH(QString, said);
    ProgramFolderFixture folder;
    const QString registerPath = PayeeDatabase::defaultFilePath();
    if (withRegister) {
        PayeeRecords there;
        there[1] = {{QStringLiteral("ANKARA HASTANESİ"), QString(), QString(), QString(), QString()}};
        QVERIFY(PayeeImport::addToFile(registerPath, there).succeeded());
    }
    const QByteArray before = fileBytes(registerPath);
    const QString old = folder.filePath(QStringLiteral("Eski.mdb"));
    if (!bytes.isEmpty())
        folder.writeFile(QStringLiteral("Eski.mdb"), bytes);
    const CommandOutcome outcome = importOld(old);
    QCOMPARE(outcome.status, ExitStatus::kBadInput);
    QVERIFY2(outcome.message.contains(said), qPrintable(outcome.message));
    QVERIFY2(outcome.message.startsWith(QStringLiteral("'%1' ").arg(QDir::toNativeSeparators(old))),
             qPrintable(outcome.message));
    QVERIFY(outcome.message.endsWith(QStringLiteral("Hiçbir kayıt aktarılmadı.")));
    QCOMPARE(outcome.output, QString());
    QCOMPARE(QFileInfo::exists(registerPath), withRegister);
    QCOMPARE(fileBytes(registerPath), before);
    if (!bytes.isEmpty())
        QCOMPARE(fileBytes(old), bytes);
}

void TestPayeeCommands::importOldWithAnotherPassword_data()
{
    // Refused after a look at the tables, before a row is read: damaged
    // rows show only with --other-password.
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("damagedRows");
    QTest::addColumn<bool>("otherPassword");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said");
    QTest::newRow("another, refused") << QStringLiteral("başka") << false << false << ExitStatus::kBadInput
                                      << QStringLiteral("başka bir parolayla korunuyor");
    QTest::newRow("none, refused") << QString() << false << false << ExitStatus::kBadInput << QStringLiteral("parolasız");
    QTest::newRow("another, damaged rows, refused") << QStringLiteral("başka") << true << false << ExitStatus::kBadInput
                                                    << QStringLiteral("başka bir parolayla korunuyor");
    QTest::newRow("another, imported") << QStringLiteral("başka") << false << true << ExitStatus::kDone << QString();
    QTest::newRow("none, imported") << QString() << false << true << ExitStatus::kDone << QString();
    QTest::newRow("another, damaged rows, taken") << QStringLiteral("başka") << true << true << ExitStatus::kBadInput
                                                  << QStringLiteral("okunamadı");
}

void TestPayeeCommands::importOldWithAnotherPassword()
{
    QFETCH(QString, password);
    QFETCH(bool, damagedRows);
    QFETCH(bool, otherPassword);
    QFETCH(int, status);
    QFETCH(QString, said);
    ProgramFolderFixture folder;
    JetFixture fixture = JetFixture::payees(JetFixture::many(3));
    fixture.password = password;
    QByteArray bytes = fixture.bytes();
    if (damagedRows)
        bytes = JetFixture::withDamagedRows(bytes);
    const QString old = folder.filePath(QStringLiteral("Eski.mdb"));
    folder.writeFile(QStringLiteral("Eski.mdb"), bytes);
    const CommandOutcome outcome = importOld(old, otherPassword);
    QCOMPARE(outcome.status, status);
    if (status == ExitStatus::kDone) {
        const std::optional<PayeeRecords> there = registerPayees();
        QVERIFY(there);
        QCOMPARE(payeeCount(*there), 12);
    } else {
        QVERIFY2(outcome.message.contains(said), qPrintable(outcome.message));
        QVERIFY2(outcome.message.contains(QStringLiteral("Hiçbir kayıt aktarılmadı")), qPrintable(outcome.message));
        if (!otherPassword)
            QVERIFY(outcome.message.contains(QStringLiteral("--other-password")));
        QVERIFY(!QFileInfo::exists(PayeeDatabase::defaultFilePath()));
    }
    QCOMPARE(fileBytes(old), bytes);
}

void TestPayeeCommands::importOldIntoARegisterThatCannotBeWritten_data()
{
    QTest::addColumn<QByteArray>("registerBytes");
    QTest::addColumn<QString>("said");
    QTest::newRow("not a register") << QByteArray("bozuk").repeated(2000) << QStringLiteral("Data.dat");
    QTest::newRow("still the old program's") << JetFixture::payees(JetFixture::many(2)).bytes()
                                             << QStringLiteral("henüz eski programın veritabanı");
}

void TestPayeeCommands::importOldIntoARegisterThatCannotBeWritten()
{
    QFETCH(QByteArray, registerBytes);
    QFETCH(QString, said);
    ProgramFolderFixture folder;
    folder.writeFile(QStringLiteral("Data.dat"), registerBytes);
    const QString old = folder.filePath(QStringLiteral("Eski.mdb"));
    QVERIFY(JetFixture::payees(JetFixture::many(5)).write(old));
    const CommandOutcome outcome = importOld(old);
    QCOMPARE(outcome.status, ExitStatus::kNotRecorded);
    QVERIFY2(outcome.message.contains(said), qPrintable(outcome.message));
    QVERIFY(outcome.message.endsWith(QStringLiteral("Hiçbir kayıt aktarılmadı.")));
    QCOMPARE(folder.readFile(QStringLiteral("Data.dat")), registerBytes);
}

void TestPayeeCommands::commandsWaitForMaintenance_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("--import-old") << QStringList{QStringLiteral("--import-old"), QStringLiteral("Eski.mdb")};
    QTest::newRow("--export-payees") << QStringList{QStringLiteral("--export-payees"), QStringLiteral("out.csv")};
    QTest::newRow("--import-payees") << QStringList{QStringLiteral("--import-payees"), QStringLiteral("in.csv"),
                                                    QStringLiteral("--kind"), QStringLiteral("Eczane")};
}

void TestPayeeCommands::commandsWaitForMaintenance()
{
    QFETCH(QStringList, arguments);
    ProgramFolderFixture folder;
    QVERIFY(JetFixture::payees(JetFixture::many(2)).write(folder.filePath(QStringLiteral("Eski.mdb"))));
    folder.writeFile(QStringLiteral("in.csv"), PayeeCsv::fileBytes(JetFixture::many(2)[0]));
    arguments[1] = folder.filePath(arguments[1]);
    std::optional<FolderAccess> maintenance = maintenanceOf(folder.path());
    QVERIFY(maintenance);
    const auto shortWait = FolderAccess::overrideWait(200ms);
    const bool old = arguments[0] == QLatin1String("--import-old");
    const CommandOutcome outcome = old ? OldDatabaseCommand::run(arguments) : PayeeCsvCommand::run(arguments);
    QCOMPARE(outcome.status, ExitStatus::kBusy);
    QVERIFY(!QFileInfo::exists(PayeeDatabase::defaultFilePath()));
    QVERIFY(!QFileInfo::exists(folder.filePath(QStringLiteral("out.csv"))));
}

void TestPayeeCommands::exportAndImportBackExactly()
{
    ProgramFolderFixture folder;
    // Written as typed, in capitals: an import raises every value so.
    PayeeRecords records = JetFixture::tricky();
    for (QList<PayeeFields> &payees : records) {
        for (PayeeFields &fields : payees) {
            for (QString &field : fields) {
                if (!field.isNull())
                    field = TurkishText::upperCaseTyped(field);
            }
        }
    }
    // Text a spreadsheet would run as a formula, and one that begins with
    // the quote that keeps such text text.
    records[3] += QList<PayeeFields>{{QStringLiteral("=1+2"), QStringLiteral("+90"), QStringLiteral("-5"),
                                      QStringLiteral("@A"), QStringLiteral("'X")}};
    QVERIFY(PayeeImport::addToFile(PayeeDatabase::defaultFilePath(), records).succeeded());
    const std::optional<PayeeRecords> written = registerPayees();
    QVERIFY(written);

    const QString all = folder.filePath(QStringLiteral("hepsi.csv"));
    CommandOutcome outcome = PayeeCsvCommand::run({QStringLiteral("--export-payees"), all});
    QCOMPARE(outcome.status, ExitStatus::kDone);
    QVERIFY(fileBytes(all).startsWith("\xEF\xBB\xBFTür;Adı Soyadı;"));
    QVERIFY(!fileBytes(all).contains("\n=") && !fileBytes(all).contains(";=") && !fileBytes(all).contains(";+"));

    const QString hospitals = folder.filePath(QStringLiteral("hastane.csv"));
    outcome = PayeeCsvCommand::run({QStringLiteral("--export-payees"), hospitals, QStringLiteral("--kind"), QStringLiteral("Hastane")});
    QCOMPARE(outcome.status, ExitStatus::kDone);
    QCOMPARE(fileBytes(hospitals), PayeeCsv::fileBytes((*written)[1]));

    // Into an empty register, kind by kind, from the file of all four: the
    // rows of the other kinds are skipped as bad rows.
    QVERIFY(QFile::remove(PayeeDatabase::defaultFilePath()));
    for (PaymentCategory category : kAllCategories) {
        outcome = PayeeCsvCommand::run({QStringLiteral("--import-payees"), all, QStringLiteral("--kind"),
                                        categoryWord(category), QStringLiteral("--skip-bad-rows")});
        QCOMPARE(outcome.status, ExitStatus::kDone);
        QVERIFY(outcome.output.startsWith(categoryWord(category) + QStringLiteral(": ")));
        // The old database's hospital with values longer than the fields
        // is reported, never cut.
        QCOMPARE(outcome.message.contains(QStringLiteral("\"Adı Soyadı\" alanı en çok 100 karakter alabilir")),
                 category == PaymentCategory::Hospital);
    }
    const std::optional<PayeeRecords> back = registerPayees();
    QVERIFY(back);
    for (std::size_t i = 0; i < records.size(); ++i) {
        QList<PayeeFields> fitting;
        for (const PayeeFields &fields : (*written)[i]) {
            bool fits = true;
            for (PayeeColumn column : kAllPayeeColumns)
                fits = fits && fields[std::size_t(column)].size() <= PayeeTable::maxLength(column);
            if (fits)
                fitting.append(fields);
        }
        QCOMPARE(fitting.size(), (*written)[i].size() - (i == 1 ? 1 : 0));
        const QString problem = differences((*back)[i], fitting);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
}

void TestPayeeCommands::importWhatSpreadsheetsWrite_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QString text = QStringLiteral("Adı Soyadı,T.C. Kimlik No,Banka Şube Adı,Banka Hesap Numarası,Bağlı Olduğu Vergi Dairesi\r\n"
                                        "şifa eczanesi,123,\"ziraat, ışıklar\",,\"\"\r\n"
                                        "\"çok \"\"iyi\"\" ilaç\",1,2,3,4\r\n");
    QTest::newRow("UTF-8 without a mark, \",\"") << text.toUtf8();
    QTest::newRow("UTF-8 with a mark, \";\"")
        << QByteArray("\xEF\xBB\xBF") + QString(text).replace(u',', u';').replace(QStringLiteral("ziraat; ışıklar"), QStringLiteral("ziraat, ışıklar")).toUtf8();
    QTest::newRow("Windows-1254, \",\"") << WindowsTurkishCodePage::encode(text);
}

void TestPayeeCommands::importWhatSpreadsheetsWrite()
{
    QFETCH(QByteArray, bytes);
    ProgramFolderFixture folder;
    folder.writeFile(QStringLiteral("in.csv"), bytes);
    const CommandOutcome outcome = PayeeCsvCommand::run(
        {QStringLiteral("--import-payees"), folder.filePath(QStringLiteral("in.csv")), QStringLiteral("--kind"), QStringLiteral("ozel")});
    QVERIFY2(outcome.status == ExitStatus::kDone, qPrintable(outcome.message));
    QCOMPARE(outcome.output, QStringLiteral("Özel: 2 kayıt eklendi."));
    const std::optional<PayeeRecords> there = registerPayees();
    QVERIFY(there);
    // Raised to Turkish capitals as typed values are; absent and empty apart.
    const QList<PayeeFields> expected{
        {QStringLiteral("ÇOK \"İYİ\" İLAÇ"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")},
        {QStringLiteral("ŞİFA ECZANESİ"), QStringLiteral("123"), QStringLiteral("ZİRAAT, IŞIKLAR"), QString(), kEmpty}};
    const QString problem = differences((*there)[3], expected);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void TestPayeeCommands::badRowsImportNothingUnlessSkipped()
{
    ProgramFolderFixture folder;
    PayeeRecords there;
    there[0] = {{QStringLiteral("VAR OLAN"), QString(), QString(), QString(), QString()}};
    QVERIFY(PayeeImport::addToFile(PayeeDatabase::defaultFilePath(), there).succeeded());
    const QByteArray before = fileBytes(PayeeDatabase::defaultFilePath());
    const QString tooLong = QStringLiteral("A").repeated(PayeeTable::maxLength(PayeeColumn::IdentityNumber) + 1);
    const QString text = QStringLiteral("Adı Soyadı;T.C. Kimlik No;Banka Şube Adı;Banka Hesap Numarası;Bağlı Olduğu Vergi Dairesi\n"
                                        "İYİ;1;2;3;4\n"
                                        "EKSİK;1;2\n"
                                        "UZUN;%1;2;3;4\n"
                                        "SON;1;2;3;4\n")
                             .arg(tooLong);
    folder.writeFile(QStringLiteral("in.csv"), text.toUtf8());
    const QStringList arguments{QStringLiteral("--import-payees"), folder.filePath(QStringLiteral("in.csv")),
                                QStringLiteral("--kind"), QStringLiteral("Eczane")};
    const CommandOutcome refused = PayeeCsvCommand::run(arguments);
    QCOMPARE(refused.status, ExitStatus::kBadInput);
    QVERIFY2(refused.message.contains(QStringLiteral("hiçbir kayıt aktarılmadı")), qPrintable(refused.message));
    QVERIFY2(refused.message.contains(QStringLiteral("3. satır: 3 alan var, başlıkta 5 sütun var.")), qPrintable(refused.message));
    QVERIFY2(refused.message.contains(QStringLiteral("4. satır: \"T.C. Kimlik No\" alanı en çok %1 karakter alabilir")
                                          .arg(PayeeTable::maxLength(PayeeColumn::IdentityNumber))),
             qPrintable(refused.message));
    QCOMPARE(fileBytes(PayeeDatabase::defaultFilePath()), before);

    const CommandOutcome skipped = PayeeCsvCommand::run(arguments + QStringList{QStringLiteral("--skip-bad-rows")});
    QCOMPARE(skipped.status, ExitStatus::kDone);
    QCOMPARE(skipped.output, QStringLiteral("Eczane: 2 kayıt eklendi."));
    QVERIFY(skipped.message.contains(QStringLiteral("3. satır")) && skipped.message.contains(QStringLiteral("4. satır")));
    const std::optional<PayeeRecords> now = registerPayees();
    QVERIFY(now);
    QCOMPARE((*now)[0].size(), 3);
}

void TestPayeeCommands::wrongCommandLines_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("said");
    // A usage line names the command as it was started: here, this test.
    const QString usage = QStringLiteral("Kullanım: %1 ").arg(QFileInfo(QCoreApplication::arguments().constFirst()).fileName());
    QTest::newRow("--import-old alone") << QStringList{QStringLiteral("--import-old")} << usage + "--import-old";
    QTest::newRow("--import-old, unknown option")
        << QStringList{QStringLiteral("--import-old"), QStringLiteral("a.mdb"), QStringLiteral("--force")}
        << usage + "--import-old";
    QTest::newRow("--import-payees without a kind")
        << QStringList{QStringLiteral("--import-payees"), QStringLiteral("in.csv")} << QStringLiteral("--kind ile verilmeli");
    QTest::newRow("--export-payees, unknown kind")
        << QStringList{QStringLiteral("--export-payees"), QStringLiteral("o.csv"), QStringLiteral("--kind"), QStringLiteral("Eczaneler")}
        << QStringLiteral("Bilinmeyen tür \"Eczaneler\"");
    QTest::newRow("--export-payees, the kind twice")
        << QStringList{QStringLiteral("--export-payees"), QStringLiteral("o.csv"), QStringLiteral("--kind"), QStringLiteral("Ozel"),
                       QStringLiteral("--kind"), QStringLiteral("Ozel")}
        << usage + "--export-payees";
}

void TestPayeeCommands::wrongCommandLines()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, said);
    ProgramFolderFixture folder;
    const CommandOutcome outcome = arguments[0] == QLatin1String("--import-old") ? OldDatabaseCommand::run(arguments)
                                                                                 : PayeeCsvCommand::run(arguments);
    QCOMPARE(outcome.status, ExitStatus::kBadInput);
    QVERIFY2(outcome.message.contains(said), qPrintable(outcome.message));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList());
}

void TestPayeeCommands::realProgram()
{
    // The program in a folder of its own: its register is made there, and
    // its own executable reads the old file.
    QTemporaryDir folder;
    const QString program = folder.filePath(QStringLiteral("Zenparol"));
    QVERIFY(QFile::copy(QStringLiteral(MIRVASEL_PROGRAM), program));
    const QString old = folder.filePath(QStringLiteral("Eski.mdb"));
    QVERIFY(JetFixture::payees(JetFixture::many(1300)).write(old));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("DISPLAY"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(QDir::tempPath());
    process.start(program, {QStringLiteral("--import-old"), old});
    QVERIFY(process.waitForFinished(120000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(QString::fromUtf8(process.readAllStandardError()), QString());
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()),
             QStringLiteral("Eczane: 1.300 kayıt eklendi.\nHastane: 1.300 kayıt eklendi.\n"
                            "Tedavi: 1.300 kayıt eklendi.\nÖzel: 1.300 kayıt eklendi.\n"));
    QVERIFY(QFileInfo::exists(folder.filePath(QStringLiteral("Data.dat"))));

    // A foreign file: exit status 2, the message on standard error.
    process.start(program, {QStringLiteral("--import-old"), QDir(kSamples).filePath(QStringLiteral("adox_jet4.mdb"))});
    QVERIFY(process.waitForFinished(120000));
    QCOMPARE(process.exitCode(), 2);
    QCOMPARE(process.readAllStandardOutput(), QByteArray());
    QVERIFY(QString::fromUtf8(process.readAllStandardError()).contains(QStringLiteral("eski programın veritabanı dosyası değil")));

    // Another password without --other-password: exit status 2, the
    // register as it was.
    const QByteArray registerBefore = fileBytes(folder.filePath(QStringLiteral("Data.dat")));
    JetFixture other = JetFixture::payees(JetFixture::many(5));
    other.password = QStringLiteral("başka");
    QVERIFY(other.write(old));
    process.start(program, {QStringLiteral("--import-old"), old});
    QVERIFY(process.waitForFinished(120000));
    QCOMPARE(process.exitCode(), 2);
    QCOMPARE(process.readAllStandardOutput(), QByteArray());
    const QString refusal = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(refusal.contains(QStringLiteral("başka bir parolayla korunuyor")) && refusal.contains(QStringLiteral("--other-password")),
             qPrintable(refusal));
    QCOMPARE(fileBytes(folder.filePath(QStringLiteral("Data.dat"))), registerBefore);
    process.start(program, {QStringLiteral("--import-old"), old, QStringLiteral("--other-password")});
    QVERIFY(process.waitForFinished(120000));
    QCOMPARE(process.exitCode(), 0);
    // The same five payees as the first file's first five: all there already.
    QVERIFY(QString::fromUtf8(process.readAllStandardOutput())
                .startsWith(QStringLiteral("Eczane: 0 kayıt eklendi, 5 kayıt zaten vardı (atlandı).")));
}

MIRVASEL_OLD_READER_TEST_MAIN(QCoreApplication, TestPayeeCommands)

#include "tst_PayeeCommands.moc"
