// The reading of the old program's database: its header, its text, the four
// tables read by the child process, our fixture files checked against
// mdb-export, the real engines' sample files refused, and damaged files,
// crashing, hanging and babbling readers turned into messages.

#include "olddata/JetHeader.h"
#include "olddata/JetText.h"
#include "olddata/OldDatabaseReading.h"
#include "olddata/OldPayeeStreamReader.h"
#include "olddata/OldPayeeStreamWriter.h"
#include "support/JetFixture.h"
#include "support/OldReaderTestMain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using Status = OldDatabaseReading::Outcome::Status;

const QString kSamples = QStringLiteral(MIRVASEL_JET_SAMPLES);

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// mdb-export's view of a table: its rows, NULL as a null text. libmdb's
// binding gives an empty text the length of NULL, so mdb-export shows both
// alike; the comparison takes an empty text for NULL on both sides.
QList<PayeeFields> exported(const QString &file, PaymentCategory category)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("mdb-export"));
    if (program.isEmpty()) {
        QTest::qFail("mdb-export is missing (mdbtools, scripts/install-deps)", __FILE__, __LINE__);
        return {};
    }
    const PayeeTable &table = PayeeTable::of(category);
    QProcess process;
    process.start(program, {QStringLiteral("-d"), QStringLiteral("\x1f"), QStringLiteral("-R"), QStringLiteral("\x1e"),
                            QStringLiteral("-Q"), QStringLiteral("-0"), QStringLiteral("\x01"), file, table.tableName()});
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        QTest::qFail(qPrintable(QStringLiteral("mdb-export failed: ") + QString::fromUtf8(process.readAllStandardError())),
                     __FILE__, __LINE__);
        return {};
    }
    const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split(u'\x1e', Qt::SkipEmptyParts);
    if (lines.isEmpty())
        return {};
    const QStringList header = lines.first().split(u'\x1f');
    QList<PayeeFields> rows;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList values = lines[i].split(u'\x1f');
        PayeeFields fields;
        for (PayeeColumn column : kAllPayeeColumns) {
            const QString value = values.value(header.indexOf(table.columnName(column)));
            fields[std::size_t(column)] = value == QStringLiteral("\x01") ? QString() : value;
        }
        rows.append(fields);
    }
    return rows;
}

QList<PayeeFields> emptyAsNull(QList<PayeeFields> rows)
{
    for (PayeeFields &fields : rows) {
        for (QString &field : fields) {
            if (field.isEmpty())
                field = QString();
        }
    }
    return rows;
}

void compareExactly(const PayeeRecords &read, const PayeeRecords &expected)
{
    for (PaymentCategory category : kAllCategories) {
        const QList<PayeeFields> &got = read[std::size_t(categoryIndex(category))];
        const QList<PayeeFields> &want = expected[std::size_t(categoryIndex(category))];
        QCOMPARE(got.size(), want.size());
        for (qsizetype row = 0; row < got.size(); ++row) {
            for (int column = 0; column < kPayeeColumnCount; ++column) {
                const QString &value = got[row][std::size_t(column)];
                const QString &wanted = want[row][std::size_t(column)];
                if (value != wanted || value.isNull() != wanted.isNull())
                    QFAIL(qPrintable(QStringLiteral("%1 row %2 column %3: read \"%4\"%5, expected \"%6\"%7")
                                         .arg(categoryWord(category))
                                         .arg(row)
                                         .arg(column)
                                         .arg(value, value.isNull() ? QStringLiteral(" (NULL)") : QString(), wanted,
                                              wanted.isNull() ? QStringLiteral(" (NULL)") : QString())));
            }
        }
    }
}

const PayeeRecords &damageFixtureRecords()
{
    static const PayeeRecords records = JetFixture::many(300);
    return records;
}

JetFixture damageFixture()
{
    return JetFixture::payees(damageFixtureRecords());
}

// A script in place of the reading child, for what a child can do wrong.
QString childScript(const QTemporaryDir &folder, const QString &body)
{
    const QString path = folder.filePath(QStringLiteral("child.sh"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(QByteArrayLiteral("#!/bin/sh\n") + body.toUtf8() + '\n');
    file.close();
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return path;
}

} // namespace

class TestOldDatabaseReading : public QObject
{
    Q_OBJECT

private slots:
    void headerOfRealEngines_data();
    void headerOfRealEngines();
    void headerOfOurFixtures_data();
    void headerOfOurFixtures();
    void textRoundTrip_data();
    void textRoundTrip();
    void textThatIsNotText();
    void readsEveryValueExactly_data();
    void readsEveryValueExactly();
    void agreesWithMdbExport_data();
    void agreesWithMdbExport();
    void largeTablesWithPageMapsOfBothTypes();
    void skipsDeletedRowsAndFollowsMovedRows();
    void refusesFilesThatAreNotTheOldProgramsDatabase_data();
    void refusesFilesThatAreNotTheOldProgramsDatabase();
    void anotherPasswordIsAskedBeforeTheRows_data();
    void anotherPasswordIsAskedBeforeTheRows();
    void streamTakenInAnyPieces();
    void streamRefusesAlteredAnswers();
    void childThatMisbehaves_data();
    void childThatMisbehaves();
    void damagedFilesGiveMessages_data();
    void damagedFilesGiveMessages();
};

void TestOldDatabaseReading::headerOfRealEngines_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("password");
    QTest::newRow("Access 2000 with a password") << QStringLiteral("V2000_with-password.mdb") << QStringLiteral("password");
    QTest::newRow("ADOX over Jet OLE DB, none") << QStringLiteral("adox_jet4.mdb") << QString();
}

void TestOldDatabaseReading::headerOfRealEngines()
{
    QFETCH(QString, file);
    QFETCH(QString, password);
    const JetHeader header = JetHeader::parse(fileBytes(QDir(kSamples).filePath(file)));
    QCOMPARE(header.kind(), JetHeader::Kind::Jet4);
    QCOMPARE(header.password(), password);
    QVERIFY(!header.isEncoded());
}

void TestOldDatabaseReading::headerOfOurFixtures_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<double>("date");
    QTest::addColumn<bool>("encoded");
    QTest::newRow("the old program's") << QStringLiteral("*.417305") << 38412.5 << false;
    QTest::newRow("twenty characters") << QStringLiteral("ÇĞİÖŞÜçğıöşü12345678") << 44000.99 << false;
    QTest::newRow("none, encoded") << QString() << 36526.0 << true;
}

void TestOldDatabaseReading::headerOfOurFixtures()
{
    QFETCH(QString, password);
    QFETCH(double, date);
    QFETCH(bool, encoded);
    JetFixture fixture = JetFixture::payees({});
    fixture.password = password;
    fixture.creationDate = date;
    fixture.encoded = encoded;
    const JetHeader header = JetHeader::parse(fixture.bytes());
    QCOMPARE(header.kind(), JetHeader::Kind::Jet4);
    QCOMPARE(header.password(), password);
    QCOMPARE(header.creationDate(), date);
    QCOMPARE(header.isEncoded(), encoded);
}

void TestOldDatabaseReading::textRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("size");
    QTest::newRow("plain capitals, compressed") << QStringLiteral("ECZANE") << 8;
    QTest::newRow("Turkish letters switch modes") << QStringLiteral("ECZANE ŞİFA") << 2 + 7 + 1 + 4 + 1 + 2;
    QTest::newRow("switching costs more than it saves") << QStringLiteral("ŞİFA") << 8;
    QTest::newRow("Latin-1 Turkish letters stay single") << QStringLiteral("ÇÖÜ") << 5;
    QTest::newRow("a low byte of 0x00 cannot be compressed") << QStringLiteral("AĀ") << 4;
    QTest::newRow("shorter as UCS-2") << QStringLiteral("ŞĞ") << 4;
    QTest::newRow("empty") << QString(QLatin1String("")) << 0;
}

void TestOldDatabaseReading::textRoundTrip()
{
    QFETCH(QString, text);
    QFETCH(int, size);
    const QByteArray bytes = JetText::encode(text);
    QCOMPARE(bytes.size(), size);
    QCOMPARE(JetText::decode(bytes), std::optional<QString>(text));
    QCOMPARE(JetText::decode(JetText::encode(text, false)), std::optional<QString>(text));
}

void TestOldDatabaseReading::textThatIsNotText()
{
    QCOMPARE(JetText::decode(QByteArray("ABC", 3)), std::nullopt);
    // Switched to two bytes a character, then only one left.
    QCOMPARE(JetText::decode(QByteArray("\xFF\xFE" "A\0B", 5)), std::nullopt);
}

void TestOldDatabaseReading::readsEveryValueExactly_data()
{
    QTest::addColumn<bool>("compress");
    QTest::addColumn<bool>("encoded");
    QTest::addColumn<bool>("withKey");
    QTest::newRow("as Access writes") << true << false << true;
    QTest::newRow("uncompressed text") << false << false << true;
    QTest::newRow("encoded database") << true << true << true;
    QTest::newRow("no key column") << true << false << false;
}

void TestOldDatabaseReading::readsEveryValueExactly()
{
    QFETCH(bool, compress);
    QFETCH(bool, encoded);
    QFETCH(bool, withKey);
    QTemporaryDir folder;
    const PayeeRecords records = JetFixture::tricky();
    JetFixture fixture = JetFixture::payees(records);
    fixture.compressText = compress;
    fixture.encoded = encoded;
    for (JetFixture::Table &table : fixture.tables)
        table.withKey = withKey;
    const QString file = folder.filePath(QStringLiteral("Data.dat"));
    QVERIFY(fixture.write(file));

    QList<qsizetype> progress;
    OldDatabaseReading::Options options;
    options.progress = [&](PaymentCategory, qsizetype rows) { progress.append(rows); };
    const OldDatabaseReading::Outcome outcome = OldDatabaseReading::read(file, options);
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.message));
    QVERIFY(outcome.database.hasOldProgramPassword());
    QCOMPARE(outcome.database.size, QFileInfo(file).size());
    compareExactly(outcome.database.records, records);
    QVERIFY(!progress.isEmpty());
    // The original is never written to.
    QCOMPARE(fileBytes(file), fixture.bytes());
}

void TestOldDatabaseReading::agreesWithMdbExport_data()
{
    QTest::addColumn<bool>("encoded");
    QTest::newRow("plain") << false;
    QTest::newRow("encoded") << true;
}

void TestOldDatabaseReading::agreesWithMdbExport()
{
    QFETCH(bool, encoded);
    QTemporaryDir folder;
    PayeeRecords records = JetFixture::tricky();
    const PayeeRecords many = JetFixture::many(700);
    for (std::size_t i = 0; i < records.size(); ++i)
        records[i] += many[i];
    JetFixture fixture = JetFixture::payees(records);
    fixture.encoded = encoded;
    const QString file = folder.filePath(QStringLiteral("Data.dat"));
    QVERIFY(fixture.write(file));
    const OldDatabaseReading::Outcome outcome = OldDatabaseReading::read(file);
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.message));
    for (PaymentCategory category : kAllCategories) {
        const QList<PayeeFields> theirs = exported(file, category);
        QCOMPARE(emptyAsNull(outcome.database.records[std::size_t(categoryIndex(category))]), emptyAsNull(theirs));
    }
}

void TestOldDatabaseReading::largeTablesWithPageMapsOfBothTypes()
{
    // Long values fill a page with a dozen rows: 9 000 of them take far
    // more than the 512 pages a map within its row can name.
    QTemporaryDir folder;
    PayeeRecords records;
    for (int i = 0; i < 9000; ++i) {
        const QString long255 = QStringLiteral("%1 ").arg(i).repeated(60).left(250) + QStringLiteral("ŞĞÜİÖ");
        records[0].append({long255, QString::number(i), long255, QString(), long255});
    }
    records[1] = JetFixture::many(3)[1];
    JetFixture fixture = JetFixture::payees(records);
    const QString file = folder.filePath(QStringLiteral("Data.dat"));
    QVERIFY(fixture.write(file));
    QVERIFY(QFileInfo(file).size() > 600 * 4096);
    const OldDatabaseReading::Outcome outcome = OldDatabaseReading::read(file);
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.message));
    compareExactly(outcome.database.records, records);
    QCOMPARE(emptyAsNull(exported(file, PaymentCategory::Pharmacy)), emptyAsNull(records[0]));
}

void TestOldDatabaseReading::skipsDeletedRowsAndFollowsMovedRows()
{
    QTemporaryDir folder;
    const PayeeRecords records = JetFixture::many(400);
    JetFixture fixture = JetFixture::payees(records);
    fixture.deletedEvery = 7;
    fixture.overflowEvery = 5;
    const QString file = folder.filePath(QStringLiteral("Data.dat"));
    QVERIFY(fixture.write(file));
    const OldDatabaseReading::Outcome outcome = OldDatabaseReading::read(file);
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.message));
    // The moved rows come where their pointers are found in a scan of the
    // pages, after the others: compared as sets.
    for (PaymentCategory category : kAllCategories) {
        QList<PayeeFields> got = outcome.database.records[std::size_t(categoryIndex(category))];
        QList<PayeeFields> want = records[std::size_t(categoryIndex(category))];
        QCOMPARE(got.size(), want.size());
        const auto before = [](const PayeeFields &a, const PayeeFields &b) { return a[1] < b[1]; };
        std::sort(got.begin(), got.end(), before);
        std::sort(want.begin(), want.end(), before);
        QCOMPARE(got, want);
        for (const PayeeFields &fields : got)
            QVERIFY(!fields[4].contains(QStringLiteral("SİLİNMİŞ")));
    }
}

void TestOldDatabaseReading::refusesFilesThatAreNotTheOldProgramsDatabase_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("said");
    QTest::newRow("Access 2000 sample") << fileBytes(QDir(kSamples).filePath(QStringLiteral("V2000_with-password.mdb")))
                                        << QStringLiteral("Eczane tablosu yok");
    QTest::newRow("ADOX sample") << fileBytes(QDir(kSamples).filePath(QStringLiteral("adox_jet4.mdb")))
                                 << QStringLiteral("Eczane tablosu yok");
    QTest::newRow("a text file") << QByteArray("Adı;Soyadı\r\nA;B\r\n").repeated(500)
                                 << QStringLiteral("bir Access (Jet) veritabanı değil");
    QTest::newRow("an empty file") << QByteArray() << QStringLiteral("bir Access (Jet) veritabanı değil");
    QByteArray jet3 = JetFixture::payees(JetFixture::tricky()).bytes();
    jet3[JetHeader::kVersionOffset] = 0;
    QTest::newRow("Access 97") << jet3 << QStringLiteral("Access 97 (Jet 3) biçiminde");
    QByteArray ace = jet3;
    ace.replace(4, 15, "Standard ACE DB");
    ace[JetHeader::kVersionOffset] = 3;
    QTest::newRow("Access 2010") << ace << QStringLiteral("Access 2007 ya da sonrası (ACE) biçiminde");

    JetFixture withoutColumn = JetFixture::payees(JetFixture::tricky());
    withoutColumn.tables[2].columns[1] = QStringLiteral("TCKimlik");
    QTest::newRow("a column missing") << withoutColumn.bytes() << QStringLiteral("Tedavi tablosunda Vergi sütunu yok");
    JetFixture withoutTable = JetFixture::payees(JetFixture::tricky());
    withoutTable.tables.removeAt(3);
    QTest::newRow("a table missing") << withoutTable.bytes() << QStringLiteral("Ozel tablosu yok");
}

void TestOldDatabaseReading::refusesFilesThatAreNotTheOldProgramsDatabase()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, said);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("Yedek.mdb"));
    QVERIFY(writeBytes(file, bytes));
    const OldDatabaseReading::Outcome outcome = OldDatabaseReading::read(file);
    QCOMPARE(outcome.status, Status::NotOldDatabase);
    QVERIFY2(outcome.message.contains(QStringLiteral("eski programın veritabanı dosyası değil")), qPrintable(outcome.message));
    QVERIFY2(outcome.message.contains(said), qPrintable(outcome.message));
    QVERIFY(outcome.message.contains(QDir::toNativeSeparators(file)));
    QCOMPARE(fileBytes(file), bytes);
}

void TestOldDatabaseReading::anotherPasswordIsAskedBeforeTheRows_data()
{
    // Rows that only a reading of them finds damaged tell a question asked
    // after the rows from one asked before.
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("damagedRows");
    QTest::addColumn<int>("answer"); // -1: no one to ask; 0 no; 1 yes
    QTest::addColumn<int>("status");
    QTest::newRow("none, yes") << QString() << false << 1 << int(Status::Read);
    QTest::newRow("another, yes") << QStringLiteral("başka") << false << 1 << int(Status::Read);
    QTest::newRow("another, no") << QStringLiteral("başka") << false << 0 << int(Status::Declined);
    QTest::newRow("another, no one to ask") << QStringLiteral("başka") << false << -1 << int(Status::Declined);
    QTest::newRow("another, damaged rows, no") << QStringLiteral("başka") << true << 0 << int(Status::Declined);
    QTest::newRow("none, damaged rows, yes") << QString() << true << 1 << int(Status::Unreadable);
    QTest::newRow("the old program's: never asked") << QStringLiteral("*.417305") << false << 0 << int(Status::Read);
}

void TestOldDatabaseReading::anotherPasswordIsAskedBeforeTheRows()
{
    QFETCH(QString, password);
    QFETCH(bool, damagedRows);
    QFETCH(int, answer);
    QFETCH(int, status);
    QTemporaryDir folder;
    const PayeeRecords records = JetFixture::many(700);
    JetFixture fixture = JetFixture::payees(records);
    fixture.password = password;
    QByteArray bytes = fixture.bytes();
    if (damagedRows)
        bytes = JetFixture::withDamagedRows(bytes);
    const QString file = folder.filePath(QStringLiteral("Data.dat"));
    QVERIFY(writeBytes(file, bytes));

    int asked = 0;
    int rowsBeforeTheQuestion = 0;
    int rowsSeen = 0;
    OldDatabaseReading::Options options;
    options.progress = [&](PaymentCategory, qsizetype) { ++rowsSeen; };
    if (answer >= 0) {
        options.acceptOtherPassword = [&](const OldDatabaseReading::OldDatabase &database) {
            ++asked;
            rowsBeforeTheQuestion = rowsSeen;
            [&] { QCOMPARE(database.header.password(), password); }();
            return answer == 1;
        };
    }
    const OldDatabaseReading::Outcome outcome = OldDatabaseReading::read(file, options);
    QCOMPARE(int(outcome.status), status);
    QCOMPARE(asked, password == QLatin1String("*.417305") || answer < 0 ? 0 : 1);
    QCOMPARE(rowsBeforeTheQuestion, 0);
    if (outcome.status == Status::Read)
        compareExactly(outcome.database.records, records);
    else
        QCOMPARE(payeeCount(outcome.database.records), 0);
    if (outcome.status == Status::Declined)
        QCOMPARE(rowsSeen, 0);
    if (outcome.status == Status::Unreadable)
        QVERIFY2(outcome.message.contains(QStringLiteral("satır tablosu geçersiz")), qPrintable(outcome.message));
}

namespace {

// The stream the child writes of these records.
QByteArray streamOf(const PayeeRecords &records, OldDatabaseFile::Status status = OldDatabaseFile::Status::Read)
{
    OldPayeeStreamWriter writer;
    OldDatabaseFile::Outcome outcome;
    outcome.status = status;
    for (PaymentCategory category : kAllCategories) {
        for (const PayeeFields &fields : records[std::size_t(categoryIndex(category))]) {
            std::array<QByteArray, kPayeeColumnCount> utf8;
            PayeeUtf8Fields views;
            for (int i = 0; i < kPayeeColumnCount; ++i) {
                if (fields[std::size_t(i)].isNull())
                    continue;
                utf8[std::size_t(i)] = fields[std::size_t(i)].toUtf8();
                views[std::size_t(i)] = QByteArrayView(utf8[std::size_t(i)]);
            }
            writer.row(category, views);
            ++outcome.rows[std::size_t(categoryIndex(category))];
        }
    }
    writer.end(outcome);
    return writer.bytes();
}

// The records of a stream taken in pieces of at most piece bytes (0: at
// once); nothing unless it ended whole.
std::optional<PayeeRecords> recordsOf(const QByteArray &stream, int piece = 0, quint32 seed = 1)
{
    PayeeRecords records;
    OldPayeeStreamReader reader([&](PaymentCategory category, const PayeeUtf8Fields &fields) {
        PayeeFields record;
        for (int i = 0; i < kPayeeColumnCount; ++i) {
            const std::optional<QByteArrayView> &field = fields[std::size_t(i)];
            if (field)
                record[std::size_t(i)] = field->isEmpty() ? QString(QLatin1String("")) : QString::fromUtf8(*field);
        }
        records[std::size_t(categoryIndex(category))].append(record);
        return true;
    });
    QRandomGenerator random(seed);
    for (qsizetype at = 0; at < stream.size();) {
        const qsizetype size = piece > 0 ? qsizetype(1 + random.bounded(piece)) : stream.size();
        if (!reader.feed(QByteArrayView(stream).sliced(at, std::min(size, stream.size() - at))))
            return std::nullopt;
        at += size;
    }
    if (reader.state() != OldPayeeStreamReader::State::Ended)
        return std::nullopt;
    return records;
}

} // namespace

void TestOldDatabaseReading::streamTakenInAnyPieces()
{
    const PayeeRecords records = JetFixture::tricky();
    const QByteArray stream = streamOf(records);
    for (int piece : {0, 1, 7, 300}) {
        const std::optional<PayeeRecords> back = recordsOf(stream, piece, quint32(piece));
        QVERIFY2(back.has_value(), qPrintable(QStringLiteral("pieces of %1").arg(piece)));
        compareExactly(*back, records);
    }
}

void TestOldDatabaseReading::streamRefusesAlteredAnswers()
{
    const QByteArray answer = streamOf(JetFixture::tricky());
    QVERIFY(recordsOf(answer).has_value());
    QVERIFY(!recordsOf(answer.chopped(1)).has_value());
    QVERIFY(!recordsOf(answer + 'x').has_value());
    QVERIFY(!recordsOf(answer + answer).has_value());
    QVERIFY(!recordsOf(QByteArray("==1== ERROR: AddressSanitizer\n") + answer).has_value());
    QVERIFY(!recordsOf(QByteArray()).has_value());
    QRandomGenerator random(17);
    for (int i = 0; i < 300; ++i) {
        QByteArray altered = answer;
        const qsizetype at = qsizetype(random.bounded(quint32(altered.size())));
        altered[at] = char(altered[at] ^ char(1 + random.bounded(255)));
        QVERIFY2(!recordsOf(altered, 64, quint32(i)).has_value(), qPrintable(QStringLiteral("byte %1").arg(at)));
    }
}

void TestOldDatabaseReading::childThatMisbehaves_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("said");
    QTest::newRow("crashes") << QStringLiteral("kill -SEGV $$") << 0
                             << QStringLiteral("beklenmedik biçimde durdu");
    QTest::newRow("fails") << QStringLiteral("echo '==1==ERROR: AddressSanitizer' >&2; exit 1") << 0
                           << QStringLiteral("beklenmedik biçimde durdu");
    QTest::newRow("hangs") << QStringLiteral("exec sleep 60") << 1500 << QStringLiteral("okuma 1 saniyede bitmedi");
    QTest::newRow("babbles") << QStringLiteral("head -c 100000 /dev/urandom") << 0
                             << QStringLiteral("eksik ya da bozuk bir yanıt");
    QTest::newRow("says nothing") << QStringLiteral("exit 0") << 0 << QStringLiteral("eksik ya da bozuk bir yanıt");
    QTest::newRow("half an answer, then killed") << QStringLiteral("printf 'MIRVASEL-ESKI-VERI 2\\n'; kill -KILL $$") << 0
                                                  << QStringLiteral("beklenmedik biçimde durdu");
    QTest::newRow("cannot be started") << QString() << 0 << QStringLiteral("okuma işlemi başlatılamadı");
}

void TestOldDatabaseReading::childThatMisbehaves()
{
    QFETCH(QString, body);
    QFETCH(int, limit);
    QFETCH(QString, said);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("Data.dat"));
    QVERIFY(JetFixture::payees(JetFixture::tricky()).write(file));
    OldDatabaseReading::Options options;
    // No body: a program that is not there.
    options.program = body.isEmpty() ? folder.filePath(QStringLiteral("yok")) : childScript(folder, body);
    options.timeLimit = std::chrono::milliseconds(limit);
    QElapsedTimer timer;
    timer.start();
    const OldDatabaseReading::Outcome outcome = OldDatabaseReading::read(file, options);
    QCOMPARE(outcome.status, Status::Unreadable);
    QVERIFY2(outcome.message.contains(said), qPrintable(outcome.message));
    QVERIFY(outcome.message.startsWith(QStringLiteral("'%1' okunamadı: ").arg(QDir::toNativeSeparators(file))));
    QVERIFY(timer.elapsed() < 30000);
}

void TestOldDatabaseReading::damagedFilesGiveMessages_data()
{
    // Truncations and random byte changes of a fixture, read by the real
    // child. Under the sanitizers a fault in libmdb ends the child, which
    // is a message here too.
    QTest::addColumn<QByteArray>("damaged");
    const QByteArray whole = damageFixture().bytes();
    const qsizetype page = JetHeader::kPageSize;
    const struct
    {
        const char *name;
        qsizetype size;
    } cuts[] = {
        {"cut in the header page", page / 2},
        {"only the header page", page},
        {"cut in the catalog", 2 * page + 100},
        {"cut in a table definition", 4 * page + 7},
        {"cut at half", (whole.size() / page / 2) * page},
        {"a page short", whole.size() - page},
        {"a byte short", whole.size() - 1},
    };
    for (const auto &cut : cuts)
        QTest::newRow(cut.name) << whole.first(cut.size);

    const struct
    {
        const char *name;
        int changes;
        bool anywhere;
    } kinds[] = {
        {"a few bytes of the definitions", 3, false},
        {"many bytes of the definitions", 200, false},
        {"bytes anywhere", 50, true},
    };
    for (const auto &kind : kinds) {
        for (quint32 seed = 1; seed <= 4; ++seed) {
            QRandomGenerator random(seed * 7919u + quint32(kind.changes));
            QByteArray damaged = whole;
            for (int i = 0; i < kind.changes; ++i) {
                // The definitions: the catalog, the table definitions and
                // their maps, where libmdb looks first.
                const quint32 span = kind.anywhere ? quint32(whole.size()) : 9u * quint32(page);
                const qsizetype at = qsizetype(page + random.bounded(span - quint32(page)));
                damaged[at] = char(random.bounded(256));
            }
            QTest::addRow("%s, seed %u", kind.name, seed) << damaged;
        }
    }
}

void TestOldDatabaseReading::damagedFilesGiveMessages()
{
    // Each ends in a message that names the file, or in every payee the
    // file holds, never in part of them or in a crash of this process.
    QFETCH(QByteArray, damaged);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("Data.dat"));
    QVERIFY(writeBytes(file, damaged));
    OldDatabaseReading::Options options;
    options.timeLimit = std::chrono::milliseconds(20000);
    const OldDatabaseReading::Outcome outcome = OldDatabaseReading::read(file, options);
    if (outcome.succeeded()) {
        const PayeeRecords &records = damageFixtureRecords();
        for (std::size_t i = 0; i < records.size(); ++i)
            QCOMPARE(outcome.database.records[i].size(), records[i].size());
    } else {
        QVERIFY2(outcome.message.startsWith(QStringLiteral("'%1' ").arg(QDir::toNativeSeparators(file))),
                 qPrintable(outcome.message));
        QVERIFY2(outcome.message.contains(QStringLiteral("okunamadı")) || outcome.message.contains(QStringLiteral("değil")),
                 qPrintable(outcome.message));
    }
    // The damaged file itself is left as it was.
    QCOMPARE(fileBytes(file), damaged);
}

MIRVASEL_OLD_READER_TEST_MAIN(QCoreApplication, TestOldDatabaseReading)

#include "tst_OldDatabaseReading.moc"
