// The old program's "Data.dat" made into the register in its place: the
// original kept byte for byte, a kept file of an earlier conversion, a file
// changed since it was read, the question at start with its answers and
// its report, and the conversion killed at any moment.

#include "base/FolderAccess.h"
#include "base/ProgramFolder.h"
#include "desktop/MessageBoxes.h"
#include "maintenance/OldDatabaseConversion.h"
#include "maintenance/OldDatabaseDialogs.h"
#include "maintenance/StartupCleanup.h"
#include "olddata/OldDatabaseChild.h"
#include "registry/PayeeDatabase.h"
#include "registry/PayeeExport.h"
#include "registry/TurkishCollation.h"
#include "support/JetFixture.h"
#include "support/MessageRecorder.h"
#include "support/ProgramFolderFixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <cstring>
#include <optional>

namespace {

// The hidden mode of this test's executable that converts the folder's
// "Data.dat" and ends: what the kill trials kill.
constexpr char kConvertOption[] = "--donusturme-denemesi";

const QString kEmpty = QString(QLatin1String(""));

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entriesOf(const QString &folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    names.removeOne(FolderAccess::fileName());
    return names;
}

std::optional<PayeeRecords> registerPayees(const QString &file)
{
    PayeeDatabase database;
    if (!database.open(file).isOpened())
        return std::nullopt;
    Result<PayeeRecords> records = PayeeExport::allPayees(database.connection());
    if (records.failed())
        return std::nullopt;
    return std::move(records).value();
}

// In the register's order: by name, absent names first.
PayeeRecords sortedByName(PayeeRecords records)
{
    for (QList<PayeeFields> &payees : records) {
        std::stable_sort(payees.begin(), payees.end(), [](const PayeeFields &a, const PayeeFields &b) {
            if (a[0].isNull() != b[0].isNull())
                return a[0].isNull();
            return TurkishCollation::compare(a[0], b[0]) < 0;
        });
    }
    return records;
}

QString differences(const PayeeRecords &got, const PayeeRecords &want)
{
    for (std::size_t kind = 0; kind < got.size(); ++kind) {
        if (got[kind].size() != want[kind].size())
            return QStringLiteral("kind %1: %2 payees, expected %3").arg(kind).arg(got[kind].size()).arg(want[kind].size());
        for (qsizetype row = 0; row < got[kind].size(); ++row) {
            for (int column = 0; column < kPayeeColumnCount; ++column) {
                const QString &x = got[kind][row][std::size_t(column)];
                const QString &y = want[kind][row][std::size_t(column)];
                if (x != y || x.isNull() != y.isNull())
                    return QStringLiteral("kind %1 row %2 column %3: \"%4\", expected \"%5\"").arg(kind).arg(row).arg(column).arg(x, y);
            }
        }
    }
    return {};
}

// 312, 48, 1 204 and 17 payees.
PayeeRecords officeRecords()
{
    PayeeRecords records = JetFixture::many(1204);
    records[0] = records[0].first(312);
    records[1] = records[1].first(48);
    records[3] = records[3].first(17);
    records[0][5] = {QString(), QStringLiteral("1"), kEmpty, QString(), kEmpty};
    return records;
}

} // namespace

class TestOldDatabaseConversion : public QObject
{
    Q_OBJECT

private slots:
    void convertsAndKeepsTheOriginal_data();
    void convertsAndKeepsTheOriginal();
    void refusesAFileChangedSinceItWasRead();
    void questionAtStart_data();
    void questionAtStart();
    void killedAtAnyMoment_data();
    void killedAtAnyMoment();
    void importFromTheMenu_data();
    void importFromTheMenu();
};

void TestOldDatabaseConversion::convertsAndKeepsTheOriginal_data()
{
    QTest::addColumn<QString>("earlier");
    QTest::addColumn<bool>("earlierIsTheSame");
    QTest::addColumn<QString>("kept");
    QTest::newRow("nothing kept before") << QString() << false << QStringLiteral("Data.dat.eski");
    QTest::newRow("another file kept before") << QStringLiteral("Data.dat.eski") << false << QStringLiteral("Data.dat.eski-2");
    QTest::newRow("the same file kept by an interrupted conversion")
        << QStringLiteral("Data.dat.eski") << true << QStringLiteral("Data.dat.eski");
}

void TestOldDatabaseConversion::convertsAndKeepsTheOriginal()
{
    QFETCH(QString, earlier);
    QFETCH(bool, earlierIsTheSame);
    QFETCH(QString, kept);
    ProgramFolderFixture folder;
    const PayeeRecords records = JetFixture::tricky();
    const QByteArray original = JetFixture::payees(records).bytes();
    folder.writeFile(QStringLiteral("Data.dat"), original);
    const QByteArray earlierBytes = earlierIsTheSame ? original : QByteArray("daha önce saklanan");
    if (!earlier.isEmpty())
        folder.writeFile(earlier, earlierBytes);

    const QString database = folder.filePath(QStringLiteral("Data.dat"));
    const OldDatabaseConversion::Outcome converted = OldDatabaseConversion::convert(database);
    QVERIFY2(converted.status == OldDatabaseConversion::Outcome::Status::Converted, qPrintable(converted.message));
    QCOMPARE(converted.keptPath, folder.filePath(kept));
    QCOMPARE(converted.counts.added, (std::array<qsizetype, kCategoryCount>{8, 3, 3, 2}));

    QCOMPARE(fileBytes(folder.filePath(kept)), original);
    if (!earlier.isEmpty())
        QCOMPARE(fileBytes(folder.filePath(earlier)), earlierBytes);
    QStringList expected{QStringLiteral("Data.dat"), kept};
    if (!earlier.isEmpty())
        expected.append(earlier);
    expected.removeDuplicates();
    expected.sort();
    QCOMPARE(entriesOf(folder.path()), expected);

    QVERIFY(!OldDatabaseReading::looksLikeJet4(database));
    const std::optional<PayeeRecords> there = registerPayees(database);
    QVERIFY(there);
    const QString problem = differences(*there, sortedByName(records));
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void TestOldDatabaseConversion::refusesAFileChangedSinceItWasRead()
{
    ProgramFolderFixture folder;
    const QString database = folder.filePath(QStringLiteral("Data.dat"));
    QVERIFY(JetFixture::payees(JetFixture::many(10)).write(database));
    // The old program, still running, writes to it while the copy is read.
    const QByteArray changed = JetFixture::payees(JetFixture::many(11)).bytes();
    bool written = false;
    OldDatabaseReading::Options options;
    options.progress = [&](PaymentCategory, qsizetype) {
        if (!written)
            folder.writeFile(QStringLiteral("Data.dat"), changed);
        written = true;
    };
    const OldDatabaseConversion::Outcome converted = OldDatabaseConversion::convert(database, options);
    QVERIFY(written);
    QCOMPARE(converted.status, OldDatabaseConversion::Outcome::Status::NotConverted);
    QVERIFY2(converted.message.contains(QStringLiteral("okunduktan sonra değişti")), qPrintable(converted.message));
    QCOMPARE(fileBytes(database), changed);
    // No kept file of bytes the database no longer holds.
    QCOMPARE(entriesOf(folder.path()), QStringList{QStringLiteral("Data.dat")});
}

void TestOldDatabaseConversion::questionAtStart_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QList<MessageBoxes::Button>>("answers");
    QTest::addColumn<bool>("converts");
    using MessageBoxes::Button;
    QTest::newRow("Evet") << QStringLiteral("good") << QList<Button>{Button::Yes, Button::Ok} << true;
    QTest::newRow("Hayır") << QStringLiteral("good") << QList<Button>{Button::No} << false;
    QTest::newRow("damaged") << QStringLiteral("damaged") << QList<Button>{Button::Yes, Button::Ok} << false;
    QTest::newRow("another password, Hayır") << QStringLiteral("password") << QList<Button>{Button::Yes, Button::No} << false;
    QTest::newRow("another password, Evet") << QStringLiteral("password")
                                            << QList<Button>{Button::Yes, Button::Yes, Button::Ok} << true;
    // Asked before the rows are read: rows only a reading finds damaged
    // are never met.
    QTest::newRow("another password, damaged rows, Hayır") << QStringLiteral("password, damaged rows")
                                                          << QList<Button>{Button::Yes, Button::No} << false;
}

void TestOldDatabaseConversion::questionAtStart()
{
    QFETCH(QString, kind);
    QFETCH(QList<MessageBoxes::Button>, answers);
    QFETCH(bool, converts);
    ProgramFolderFixture folder;
    JetFixture fixture = JetFixture::payees(officeRecords());
    if (kind.startsWith(QLatin1String("password")))
        fixture.password = QString();
    QByteArray original = fixture.bytes();
    if (kind == QLatin1String("damaged"))
        original.truncate(original.size() / 2 / 4096 * 4096);
    if (kind.endsWith(QLatin1String("damaged rows")))
        original = JetFixture::withDamagedRows(original);
    folder.writeFile(QStringLiteral("Data.dat"), original);

    MessageRecorder recorder(answers);
    QCOMPARE(OldDatabaseDialogs::offerConversion(), converts);
    const QList<MessageBoxes::Request> &asked = recorder.requests();
    QCOMPARE(asked.size(), answers.size());
    // "Evet" is the default of the first question.
    QCOMPARE(asked[0].buttons, (QList<MessageBoxes::Button>{MessageBoxes::Button::Yes, MessageBoxes::Button::No}));
    QVERIFY(!asked[0].defaultButton || *asked[0].defaultButton == MessageBoxes::Button::Yes);
    QVERIFY2(asked[0].text.contains(QStringLiteral("Data.dat eski programın veritabanı")), qPrintable(asked[0].text));
    const QString database = PayeeDatabase::defaultFilePath();
    if (converts) {
        QCOMPARE(asked.last().text, QStringLiteral("Eczane: 312, Hastane: 48, Tedavi: 1.204, Özel: 17 kayıt aktarıldı."));
        QCOMPARE(fileBytes(folder.filePath(QStringLiteral("Data.dat.eski"))), original);
        const std::optional<PayeeRecords> there = registerPayees(database);
        QVERIFY(there);
        QCOMPARE(payeeCount(*there), 312 + 48 + 1204 + 17);
    } else {
        QCOMPARE(fileBytes(database), original);
        QCOMPARE(entriesOf(folder.path()), QStringList{QStringLiteral("Data.dat")});
    }
    if (kind == QLatin1String("damaged")) {
        QCOMPARE(asked[1].icon, MessageBoxes::Icon::Stop);
        QVERIFY2(asked[1].text.contains(QStringLiteral("okunamadı")) && asked[1].text.contains(QStringLiteral("olduğu gibi bırakıldı")),
                 qPrintable(asked[1].text));
    }
    if (kind.startsWith(QLatin1String("password"))) {
        QCOMPARE(asked[1].defaultButton, std::optional<MessageBoxes::Button>(MessageBoxes::Button::No));
        QVERIFY2(asked[1].text.contains(QStringLiteral("parolasız")), qPrintable(asked[1].text));
    }
    // Converted or not, the next start asks only while the old file is there.
    MessageRecorder again({MessageBoxes::Button::No});
    OldDatabaseDialogs::offerConversion();
    QCOMPARE(again.requests().size(), converts ? 0 : 1);
}

void TestOldDatabaseConversion::killedAtAnyMoment_data()
{
    // When in a whole conversion of this machine the kill comes, per mille.
    QTest::addColumn<int>("perMille");
    for (int perMille : {0, 30, 100, 200, 300, 400, 500, 600, 700, 800, 900, 950, 990})
        QTest::addRow("at %d per mille", perMille) << perMille;
}

void TestOldDatabaseConversion::killedAtAnyMoment()
{
    QFETCH(int, perMille);
    ProgramFolderFixture folder;
    const PayeeRecords records = JetFixture::many(2500);
    const QByteArray original = JetFixture::payees(records).bytes();
    // How long a whole conversion takes here, once: the kills are spread over it.
    static const qint64 whole = [&] {
        QTemporaryDir measured;
        QFile file(measured.filePath(QStringLiteral("Data.dat")));
        if (!file.open(QIODevice::WriteOnly) || file.write(original) != original.size())
            return qint64(-1);
        file.close();
        QElapsedTimer timer;
        timer.start();
        QProcess run;
        run.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kConvertOption), measured.path()});
        if (!run.waitForFinished(120000) || run.exitCode() != 0)
            return qint64(-1);
        return timer.elapsed();
    }();
    QVERIFY2(whole >= 0, "an uninterrupted conversion failed");
    const int delay = int(whole * perMille / 1000);
    folder.writeFile(QStringLiteral("Data.dat"), original);

    QProcess trial;
    trial.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kConvertOption), folder.path()});
    QVERIFY(trial.waitForStarted());
    QThread::msleep(ulong(delay));
    trial.kill();
    QVERIFY(trial.waitForFinished());

    // The next start: the clean-up, then what the folder holds.
    StartupCleanup::run(folder.path());
    const QString database = folder.filePath(QStringLiteral("Data.dat"));
    const QStringList entries = entriesOf(folder.path());
    for (const QString &name : entries)
        QVERIFY2(name == QLatin1String("Data.dat") || name == QLatin1String("Data.dat.eski"), qPrintable(entries.join(u' ')));
    if (entries.contains(QStringLiteral("Data.dat.eski")))
        QCOMPARE(fileBytes(folder.filePath(QStringLiteral("Data.dat.eski"))), original);
    if (fileBytes(database) == original) {
        // Not yet converted: the next start does it, with the kept file it finds.
        const OldDatabaseConversion::Outcome converted = OldDatabaseConversion::convert(database);
        QVERIFY2(converted.status == OldDatabaseConversion::Outcome::Status::Converted, qPrintable(converted.message));
        QCOMPARE(entriesOf(folder.path()), (QStringList{QStringLiteral("Data.dat"), QStringLiteral("Data.dat.eski")}));
    } else {
        QVERIFY(entries.contains(QStringLiteral("Data.dat.eski")));
    }
    const std::optional<PayeeRecords> there = registerPayees(database);
    QVERIFY(there);
    QCOMPARE(payeeCount(*there), payeeCount(records));
    QCOMPARE(fileBytes(folder.filePath(QStringLiteral("Data.dat.eski"))), original);
}

void TestOldDatabaseConversion::importFromTheMenu_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QList<MessageBoxes::Button>>("answers");
    QTest::addColumn<bool>("adds");
    using MessageBoxes::Button;
    QTest::newRow("a backup copy") << QStringLiteral("good") << QList<Button>{Button::Ok} << true;
    QTest::newRow("damaged") << QStringLiteral("damaged") << QList<Button>{Button::Ok} << false;
    QTest::newRow("a foreign Access file") << QStringLiteral("foreign") << QList<Button>{Button::Ok} << false;
    QTest::newRow("another password, Hayır") << QStringLiteral("password") << QList<Button>{Button::No} << false;
    QTest::newRow("another password, Evet") << QStringLiteral("password") << QList<Button>{Button::Yes, Button::Ok} << true;
    QTest::newRow("another password, damaged rows, Hayır") << QStringLiteral("password, damaged rows")
                                                          << QList<Button>{Button::No} << false;
}

void TestOldDatabaseConversion::importFromTheMenu()
{
    QFETCH(QString, kind);
    QFETCH(QList<MessageBoxes::Button>, answers);
    QFETCH(bool, adds);
    ProgramFolderFixture folder;
    PayeeDatabase database;
    QVERIFY(database.create().isOpened());
    PayeeRecords there;
    there[2] = {{QStringLiteral("AHMET YILMAZ"), QStringLiteral("1"), QString(), QString(), kEmpty}};
    QVERIFY(PayeeImport::add(database, there).succeeded());
    database.close();
    const QByteArray before = fileBytes(PayeeDatabase::defaultFilePath());
    QVERIFY(database.open().isOpened());

    PayeeRecords old = JetFixture::many(40);
    old[2].append(there[2]);
    JetFixture fixture = JetFixture::payees(old);
    if (kind.startsWith(QLatin1String("password")))
        fixture.password = QStringLiteral("başka");
    QByteArray bytes = fixture.bytes();
    if (kind == QLatin1String("damaged"))
        bytes.truncate(bytes.size() / 2 / 4096 * 4096);
    if (kind.endsWith(QLatin1String("damaged rows")))
        bytes = JetFixture::withDamagedRows(bytes);
    if (kind == QLatin1String("foreign"))
        bytes = fileBytes(QStringLiteral(MIRVASEL_JET_SAMPLES "/V2000_with-password.mdb"));
    const QString file = folder.filePath(QStringLiteral("USB/Data.dat"));
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("USB")));
    folder.writeFile(QStringLiteral("USB/Data.dat"), bytes);

    MessageRecorder recorder(answers);
    const std::optional<PayeeImport::Counts> counts = OldDatabaseDialogs::importFile(nullptr, database, file);
    QCOMPARE(counts.has_value(), adds);
    QCOMPARE(recorder.requests().size(), answers.size());
    if (adds) {
        QCOMPARE(recorder.requests().last().text, QStringLiteral("Eczane: 40 kayıt eklendi.\nHastane: 40 kayıt eklendi.\n"
                                                                 "Tedavi: 40 kayıt eklendi, 1 kayıt zaten vardı (atlandı).\n"
                                                                 "Özel: 40 kayıt eklendi."));
        const Result<PayeeRecords> now = PayeeExport::allPayees(database.connection());
        QVERIFY(now.succeeded());
        QCOMPARE(payeeCount(*now), 161);
    } else {
        database.close();
        QCOMPARE(fileBytes(PayeeDatabase::defaultFilePath()), before);
        if (kind.startsWith(QLatin1String("password")))
            QVERIFY2(recorder.requests().last().text.contains(QStringLiteral("başka bir parolayla korunuyor")),
                     qPrintable(recorder.requests().last().text));
        else
            QVERIFY2(recorder.requests().last().text.contains(QStringLiteral("hiçbir kayıt aktarılmadı")),
                     qPrintable(recorder.requests().last().text));
    }
    // The chosen file is read, never written.
    QCOMPARE(fileBytes(file), bytes);
}

int main(int argc, char *argv[])
{
    if (OldDatabaseChild::requested(argc, argv))
        OldDatabaseChild::run(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], kConvertOption) == 0) {
        QCoreApplication application(argc, argv);
        const QString database = QDir(QString::fromLocal8Bit(argv[2])).filePath(QStringLiteral("Data.dat"));
        return OldDatabaseConversion::convert(database).status == OldDatabaseConversion::Outcome::Status::Converted ? 0 : 1;
    }
    QApplication application(argc, argv);
    TestOldDatabaseConversion test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_OldDatabaseConversion.moc"
