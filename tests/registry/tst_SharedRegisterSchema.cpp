// The shared register's schema on the private PostgreSQL server, made by
// sql/mirvasel-shared-register.sql and used through psql as the office's
// administrator and its clerks would: what a clerk may and may not do, the
// numbers of orders, the announcements of payee changes, and the Turkish
// order of names next to the local register's own (TurkishCollation).
#include "registry/TurkishCollation.h"
#include "support/ServerDatabase.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

using PrivateServer::PsqlRun;

// A text as an SQL literal that no text of the tests can end.
QString literal(const QString &text)
{
    return QStringLiteral("$t$%1$t$").arg(text);
}

// The payloads of the notifications psql saw on channel, in order.
QList<QJsonObject> notifications(const PsqlRun &run, const QString &channel)
{
    static const QRegularExpression line(
        QStringLiteral("^Asynchronous notification \"([^\"]+)\" with payload \"(.*)\" received from server process"),
        QRegularExpression::MultilineOption);
    QList<QJsonObject> found;
    for (auto match = line.globalMatch(run.output); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        if (m.captured(1) == channel)
            found.append(QJsonDocument::fromJson(m.captured(2).toUtf8()).object());
    }
    return found;
}

const QString kOrder = QStringLiteral(
    "INSERT INTO mirvasel.belge (zaman, tur, adi, kimlik, banka_sube, banka_hesap, vergi_daire, brut, damga, net) "
    "VALUES ('2024-03-05T14:30:00', 0, 'ŞİFA ECZANESİ', NULL, '', 'TR12', 'ÇANKAYA', 100000, 825, 99175)");

} // namespace

class TestSharedRegisterSchema : public QObject
{
    Q_OBJECT

private slots:
    void scriptMakesTheSchemaOnceInAnEmptyDatabase();
    void clerkWritesPayees();
    void refusedToAClerk_data();
    void refusedToAClerk();
    void ordersCannotChangeEvenForTheOwner_data();
    void ordersCannotChangeEvenForTheOwner();
    void orderNumbersHaveNoGaps();
    void clerksAtOnceGetUniqueGaplessNumbers();
    void changesAreAnnounced();
    void turkishOrder_data();
    void turkishOrder();
    void turkishSmallLettersAndSearch();
    void testServerScriptFailsLoudly();

private:
    // One database for all the rows of a table of refusals: each row finds
    // it as the rows before left it, which is unchanged.
    ServerDatabase &sharedDatabase(const QString &setUp, QString *clerk);

    std::unique_ptr<ServerDatabase> m_shared;
    QString m_sharedClerk;
    QString m_sharedSetUp;
};

ServerDatabase &TestSharedRegisterSchema::sharedDatabase(const QString &setUp, QString *clerk)
{
    if (!m_shared || m_sharedSetUp != setUp) {
        m_shared = std::make_unique<ServerDatabase>();
        m_sharedSetUp = setUp;
        m_sharedClerk = m_shared->error().isEmpty() ? m_shared->addRole() : QString();
        if (!m_sharedClerk.isEmpty()) {
            const PsqlRun made = PrivateServer::psql(m_shared->connectionAs(m_sharedClerk), setUp);
            if (!made.succeeded())
                m_sharedClerk.clear();
        }
    }
    *clerk = m_sharedClerk;
    return *m_shared;
}

void TestSharedRegisterSchema::scriptMakesTheSchemaOnceInAnEmptyDatabase()
{
    ServerDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    QCOMPARE(database.rows(QStringLiteral("SELECT string_agg(tablename, ',' ORDER BY tablename) FROM pg_tables "
                                          "WHERE schemaname = 'mirvasel'")),
             QStringList{QStringLiteral("belge,belge_cikis,belge_sayac,belge_sayfa,kisi,sema")});
    QCOMPARE(database.rows(QStringLiteral("SELECT surum FROM mirvasel.sema")), QStringList{QStringLiteral("1")});
    QCOMPARE(database.rows(QStringLiteral(
                 "SELECT c.relname || '.' || a.attname || ' ' || l.collname FROM pg_attribute a "
                 "JOIN pg_class c ON c.oid = a.attrelid JOIN pg_collation l ON l.oid = a.attcollation "
                 "WHERE c.relnamespace = 'mirvasel'::regnamespace AND a.attname = 'adi' AND c.relkind = 'r' "
                 "ORDER BY 1")),
             (QStringList{QStringLiteral("belge.adi tr-TR-x-icu"), QStringLiteral("kisi.adi tr-TR-x-icu")}));
    QCOMPARE(database.rows(QStringLiteral("SELECT rolname || ' ' || rolcanlogin FROM pg_roles "
                                          "WHERE rolname IN ('mirvasel_katip', 'mirvasel_yonetici') ORDER BY 1")),
             (QStringList{QStringLiteral("mirvasel_katip false"), QStringLiteral("mirvasel_yonetici false")}));

    // A second run is refused whole and changes nothing.
    QVERIFY(database.admin(QStringLiteral("INSERT INTO mirvasel.kisi (tur, adi) VALUES (0, 'ŞİFA');\n")).succeeded());
    const PsqlRun again = PrivateServer::psqlFile(database.adminConnection(), PrivateServer::schemaScript());
    QVERIFY(!again.succeeded());
    QVERIFY2(again.errors.contains(QStringLiteral("schema \"mirvasel\" already exists")), qPrintable(again.errors));
    QCOMPARE(database.rows(QStringLiteral("SELECT count(*) FROM mirvasel.sema")), QStringList{QStringLiteral("1")});
    QCOMPARE(database.rows(QStringLiteral("SELECT adi FROM mirvasel.kisi")), QStringList{QStringLiteral("ŞİFA")});
}

void TestSharedRegisterSchema::clerkWritesPayees()
{
    ServerDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    const QString clerk = database.addRole();
    QVERIFY2(!clerk.isEmpty(), qPrintable(database.lastError()));
    const PsqlRun written = PrivateServer::psql(
        database.connectionAs(clerk),
        QStringLiteral("INSERT INTO mirvasel.kisi (tur, adi, kimlik, banka_sube, banka_hesap, vergi_daire) "
                       "VALUES (0, 'ŞİFA', NULL, '', 'TR12', NULL), (3, NULL, '1', NULL, NULL, '');\n"
                       "UPDATE mirvasel.kisi SET banka_sube = 'ZİRAAT' WHERE tur = 0;\n"
                       "UPDATE mirvasel.kisi SET banka_sube = 'HALK' WHERE tur = 0;\n"));
    QVERIFY2(written.succeeded(), qPrintable(written.errors));
    // NULL stays NULL, "" stays ""; every change counted and signed.
    QCOMPARE(database.rows(QStringLiteral(
                 "SELECT tur, no, coalesce(adi, '<NULL>'), coalesce(kimlik, '<NULL>'), coalesce(banka_sube, '<NULL>'), "
                 "coalesce(banka_hesap, '<NULL>'), coalesce(vergi_daire, '<NULL>'), surum, degistiren = '%1', "
                 "degisti <= now() FROM mirvasel.kisi ORDER BY tur")
                                   .arg(clerk)),
             (QStringList{QStringLiteral("0|1|ŞİFA|<NULL>|HALK|TR12|<NULL>|3|t|t"),
                          QStringLiteral("3|2|<NULL>|1|<NULL>|<NULL>||1|t|t")}));

    // A number is never given again, also after a delete.
    const PsqlRun deleted = PrivateServer::psql(
        database.connectionAs(clerk), QStringLiteral("DELETE FROM mirvasel.kisi WHERE tur = 3;\n"
                                                     "INSERT INTO mirvasel.kisi (tur, adi) VALUES (3, 'YENİ') RETURNING no;\n"));
    QVERIFY2(deleted.succeeded(), qPrintable(deleted.errors));
    QCOMPARE(deleted.rows(), QStringList{QStringLiteral("3")});
}

void TestSharedRegisterSchema::refusedToAClerk_data()
{
    QTest::addColumn<QString>("sql");
    QTest::newRow("change an order") << QStringLiteral("UPDATE mirvasel.belge SET brut = 1");
    QTest::newRow("delete an order") << QStringLiteral("DELETE FROM mirvasel.belge");
    QTest::newRow("empty the register") << QStringLiteral("TRUNCATE mirvasel.belge");
    QTest::newRow("change a page") << QStringLiteral("UPDATE mirvasel.belge_sayfa SET sayfa = ''");
    QTest::newRow("delete a page") << QStringLiteral("DELETE FROM mirvasel.belge_sayfa");
    QTest::newRow("take a way out back") << QStringLiteral("DELETE FROM mirvasel.belge_cikis");
    QTest::newRow("change a way out") << QStringLiteral("UPDATE mirvasel.belge_cikis SET yol = 1");
    QTest::newRow("choose an order's number")
        << QStringLiteral("INSERT INTO mirvasel.belge (no, zaman, tur, brut, damga, net) VALUES (50, now(), 0, 1, 0, 1)");
    QTest::newRow("sign an order for another clerk")
        << QStringLiteral("INSERT INTO mirvasel.belge (zaman, tur, brut, damga, net, duzenleyen) "
                          "VALUES (now(), 0, 1, 0, 1, 'ayse')");
    QTest::newRow("move the counter") << QStringLiteral("UPDATE mirvasel.belge_sayac SET son = 0");
    QTest::newRow("read the counter") << QStringLiteral("SELECT son FROM mirvasel.belge_sayac");
    QTest::newRow("change the schema version") << QStringLiteral("UPDATE mirvasel.sema SET surum = 2");
    QTest::newRow("move a payee to another kind") << QStringLiteral("UPDATE mirvasel.kisi SET tur = 1");
    QTest::newRow("set a payee's version") << QStringLiteral("UPDATE mirvasel.kisi SET surum = 1");
    QTest::newRow("choose a payee's number")
        << QStringLiteral("INSERT INTO mirvasel.kisi (tur, no, adi) VALUES (0, 77, 'X')");
    QTest::newRow("make a table") << QStringLiteral("CREATE TABLE mirvasel.baska (x int)");
}

void TestSharedRegisterSchema::refusedToAClerk()
{
    QFETCH(QString, sql);
    // An order with its page and way, so that a refusal is not "no rows".
    QString clerk;
    ServerDatabase &database = sharedDatabase(
        kOrder + QStringLiteral(";\nINSERT INTO mirvasel.belge_sayfa VALUES (1, '\\x25504446');\n"
                                "INSERT INTO mirvasel.belge_cikis (no, yol) VALUES (1, 1);\n"
                                "INSERT INTO mirvasel.kisi (tur, adi) VALUES (0, 'ŞİFA');\n"),
        &clerk);
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    QVERIFY(!clerk.isEmpty());

    const PsqlRun refused = PrivateServer::psql(database.connectionAs(clerk), sql + QStringLiteral(";\n"));
    QVERIFY(!refused.succeeded());
    QVERIFY2(refused.errors.contains(QStringLiteral("permission denied")), qPrintable(refused.errors));
    QCOMPARE(database.rows(QStringLiteral("SELECT no, brut, duzenleyen = '%1', (SELECT count(*) FROM mirvasel.belge_sayfa), "
                                          "(SELECT count(*) FROM mirvasel.belge_cikis), (SELECT son FROM mirvasel.belge_sayac), "
                                          "(SELECT surum FROM mirvasel.sema), (SELECT tur || ' ' || no FROM mirvasel.kisi) "
                                          "FROM mirvasel.belge")
                                   .arg(clerk)),
             QStringList{QStringLiteral("1|100000|t|1|1|1|1|0 1")});
}

void TestSharedRegisterSchema::ordersCannotChangeEvenForTheOwner_data()
{
    QTest::addColumn<QString>("sql");
    QTest::newRow("change an order") << QStringLiteral("UPDATE mirvasel.belge SET brut = 1");
    QTest::newRow("delete an order") << QStringLiteral("DELETE FROM mirvasel.belge");
    QTest::newRow("empty the register") << QStringLiteral("TRUNCATE mirvasel.belge CASCADE");
    QTest::newRow("change a page") << QStringLiteral("UPDATE mirvasel.belge_sayfa SET sayfa = ''");
    QTest::newRow("delete a page") << QStringLiteral("DELETE FROM mirvasel.belge_sayfa");
    QTest::newRow("empty the pages") << QStringLiteral("TRUNCATE mirvasel.belge_sayfa");
    QTest::newRow("take a way out back") << QStringLiteral("DELETE FROM mirvasel.belge_cikis");
    QTest::newRow("empty the ways out") << QStringLiteral("TRUNCATE mirvasel.belge_cikis");
    QTest::newRow("renumber") << QStringLiteral("UPDATE mirvasel.belge SET no = no + 10");
}

void TestSharedRegisterSchema::ordersCannotChangeEvenForTheOwner()
{
    QFETCH(QString, sql);
    QString clerk;
    ServerDatabase &database = sharedDatabase(
        kOrder + QStringLiteral(";\nINSERT INTO mirvasel.belge_sayfa VALUES (1, '\\x25504446');\n"
                                "INSERT INTO mirvasel.belge_cikis (no, yol) VALUES (1, 2);\n"),
        &clerk);
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    QVERIFY(!clerk.isEmpty());
    const PsqlRun refused = database.admin(sql + QStringLiteral(";\n"));
    QVERIFY(!refused.succeeded());
    QVERIFY2(refused.errors.contains(QStringLiteral("Belge kaydı değiştirilemez ve silinemez")), qPrintable(refused.errors));
    QCOMPARE(database.rows(QStringLiteral("SELECT b.no || ' ' || b.brut || ' ' || s.sayfa || ' ' || c.yol FROM mirvasel.belge b "
                                          "JOIN mirvasel.belge_sayfa s USING (no) JOIN mirvasel.belge_cikis c USING (no)")),
             QStringList{QStringLiteral("1 100000 \\x25504446 2")});
}

void TestSharedRegisterSchema::orderNumbersHaveNoGaps()
{
    ServerDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    const QString clerk = database.addRole();
    QVERIFY(!clerk.isEmpty());
    const PsqlRun run = PrivateServer::psql(
        database.connectionAs(clerk),
        kOrder + QStringLiteral(" RETURNING no, duzenleyen = current_user, zaman;\n"
                                "BEGIN;\n")
            + kOrder + QStringLiteral(" RETURNING no;\nROLLBACK;\n") + kOrder + QStringLiteral(" RETURNING no;\n")
            // A failed insert gives its number back too.
            + QStringLiteral("INSERT INTO mirvasel.belge (zaman, tur, brut, damga, net) VALUES (now(), 9, 1, 0, 1);\n"));
    QVERIFY(!run.succeeded());
    QVERIFY2(run.errors.contains(QStringLiteral("check constraint")), qPrintable(run.errors));
    // The rolled back order's number is given again.
    QCOMPARE(run.rows(), (QStringList{QStringLiteral("1|t|2024-03-05 14:30:00"), QStringLiteral("2"), QStringLiteral("2")}));
    const PsqlRun next = PrivateServer::psql(database.connectionAs(clerk), kOrder + QStringLiteral(" RETURNING no;\n"));
    QCOMPARE(next.rows(), QStringList{QStringLiteral("3")});

    // The administrator's copy gives numbers of its own, after the last one.
    const QString administrator = database.addRole(QStringLiteral("mirvasel_yonetici"));
    QVERIFY(!administrator.isEmpty());
    const QString given = QStringLiteral(
        "INSERT INTO mirvasel.belge (no, zaman, tur, brut, damga, net) VALUES (%1, '2024-01-01T00:00:00', 1, 5, 0, 5);\n");
    const PsqlRun copied = PrivateServer::psql(database.connectionAs(administrator), given.arg(7));
    QVERIFY2(copied.succeeded(), qPrintable(copied.errors));
    const PsqlRun behind = PrivateServer::psql(database.connectionAs(administrator), given.arg(5));
    QVERIFY(!behind.succeeded());
    QVERIFY2(behind.errors.contains(QStringLiteral("Belge numarası 5 verilmiş numaralardan (en son 7) sonra gelmeli")),
             qPrintable(behind.errors));
    QCOMPARE(PrivateServer::psql(database.connectionAs(clerk), kOrder + QStringLiteral(" RETURNING no;\n")).rows(),
             QStringList{QStringLiteral("8")});
}

void TestSharedRegisterSchema::clerksAtOnceGetUniqueGaplessNumbers()
{
    ServerDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    constexpr int kClerks = 3;
    constexpr int kOrdersEach = 40;
    QStringList clerks;
    for (int i = 0; i < kClerks; ++i)
        clerks.append(database.addRole());
    QVERIFY(!clerks.contains(QString()));

    // Each order its own transaction, with its page, as the program adds it.
    QString script;
    for (int i = 0; i < kOrdersEach; ++i) {
        script += QStringLiteral("BEGIN;\n") + kOrder
                  + QStringLiteral(";\nINSERT INTO mirvasel.belge_sayfa SELECT max(no), '\\x00' FROM mirvasel.belge "
                                   "WHERE duzenleyen = current_user AND no NOT IN (SELECT no FROM mirvasel.belge_sayfa);\n"
                                   "COMMIT;\n");
    }
    QList<QProcess *> processes;
    for (const QString &clerk : std::as_const(clerks)) {
        auto *process = new QProcess(this);
        process->start(QStringLiteral("psql"), {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"),
                                                QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-d"),
                                                database.connectionAs(clerk), QStringLiteral("-f"), QStringLiteral("-")});
        QVERIFY(process->waitForStarted());
        process->write(script.toUtf8());
        process->closeWriteChannel();
        processes.append(process);
    }
    for (QProcess *process : std::as_const(processes)) {
        QVERIFY(process->waitForFinished(120000));
        QVERIFY2(process->exitCode() == 0, process->readAllStandardError().constData());
        delete process;
    }
    QCOMPARE(database.rows(QStringLiteral("SELECT count(*), count(DISTINCT no), min(no), max(no), "
                                          "(SELECT count(*) FROM mirvasel.belge_sayfa), (SELECT son FROM mirvasel.belge_sayac) "
                                          "FROM mirvasel.belge")),
             QStringList{QStringLiteral("%1|%1|1|%1|%1|%1").arg(kClerks * kOrdersEach)});
    QCOMPARE(database.rows(QStringLiteral("SELECT DISTINCT count(*) FROM mirvasel.belge GROUP BY duzenleyen")),
             QStringList{QString::number(kOrdersEach)});
}

void TestSharedRegisterSchema::changesAreAnnounced()
{
    ServerDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    const QString clerk = database.addRole();
    QVERIFY(!clerk.isEmpty());
    // psql shows the notifications its own session receives, after each
    // statement that commits.
    const PsqlRun run = PrivateServer::psql(
        database.connectionAs(clerk),
        QStringLiteral("LISTEN mirvasel_kisi;\nLISTEN mirvasel_belge;\n"
                       "INSERT INTO mirvasel.kisi (tur, adi) VALUES (2, 'ALİ VELİ');\n"
                       "UPDATE mirvasel.kisi SET kimlik = '1' WHERE tur = 2;\n"
                       "DELETE FROM mirvasel.kisi WHERE tur = 2;\n"
                       // Rolled back: nothing said.
                       "BEGIN;\nINSERT INTO mirvasel.kisi (tur, adi) VALUES (1, 'GERİ');\nROLLBACK;\n"
                       // Only the administrator's copy is quiet.
                       "BEGIN;\nSET LOCAL mirvasel.toplu = 'evet';\nINSERT INTO mirvasel.kisi (tur, adi) VALUES (3, 'SESSİZ DEĞİL');\n"
                       "COMMIT;\n")
            + kOrder + QStringLiteral(";\n"));
    QVERIFY2(run.succeeded(), qPrintable(run.errors));
    const QList<QJsonObject> payees = notifications(run, QStringLiteral("mirvasel_kisi"));
    QCOMPARE(payees.size(), 4);
    const QStringList expected = {QStringLiteral("ekle 2 1 1"), QStringLiteral("degistir 2 1 2"),
                                  QStringLiteral("sil 2 1 2"), QStringLiteral("ekle 3 3 1")};
    for (int i = 0; i < payees.size(); ++i) {
        const QJsonObject &payload = payees[i];
        QCOMPARE(QStringLiteral("%1 %2 %3 %4")
                     .arg(payload.value(QStringLiteral("islem")).toString())
                     .arg(payload.value(QStringLiteral("tur")).toInt())
                     .arg(payload.value(QStringLiteral("no")).toInt())
                     .arg(payload.value(QStringLiteral("surum")).toInt()),
                 expected[i]);
        QCOMPARE(payload.value(QStringLiteral("rol")).toString(), clerk);
    }
    const QList<QJsonObject> orders = notifications(run, QStringLiteral("mirvasel_belge"));
    QCOMPARE(orders.size(), 1);
    QCOMPARE(orders[0].value(QStringLiteral("no")).toInt(), 1);
    QCOMPARE(orders[0].value(QStringLiteral("rol")).toString(), clerk);

    const QString administrator = database.addRole(QStringLiteral("mirvasel_yonetici"));
    QVERIFY(!administrator.isEmpty());
    const PsqlRun quiet = PrivateServer::psql(
        database.connectionAs(administrator),
        QStringLiteral("LISTEN mirvasel_kisi;\nLISTEN mirvasel_belge;\nBEGIN;\nSET LOCAL mirvasel.toplu = 'evet';\n"
                       "INSERT INTO mirvasel.kisi (tur, no, adi) VALUES (0, 40, 'KOPYA'), (0, 41, 'KOPYA');\n")
            + kOrder + QStringLiteral(";\nCOMMIT;\n"));
    QVERIFY2(quiet.succeeded(), qPrintable(quiet.errors));
    QVERIFY2(!quiet.output.contains(QStringLiteral("Asynchronous notification")), qPrintable(quiet.output));
}

void TestSharedRegisterSchema::turkishOrder_data()
{
    // Pairs in the server's order: before sorts ahead of after under
    // "tr-TR-x-icu". ours: whether TurkishCollation, the local register's
    // order, agrees.
    struct Pair
    {
        const char *row;
        QString before;
        QString after;
        bool ours;
    };
    const Pair pairs[] = {
        {"C, Ç", "CAN", "ÇELİK", true},
        {"C, Ç by the first letter", "CEM", "ÇAĞ", true},
        {"Ç, D", "ÇELİK", "DEMİR", true},
        {"G, Ğ", "GÜL", "ĞANİ", true},
        {"Ğ, H", "ĞANİ", "HAN", true},
        {"H, I", "HAN", "ILGAZ", true},
        {"I, İ", "IŞIK", "İNCE", true},
        {"ı, İ", "ılık", "İNCE", true},
        {"I, i", "ILIK", "ince", true},
        {"ı, i in a name", "ALI", "ALİ", true},
        {"İ, J", "İŞÇİ", "JALE", true},
        {"O, Ö", "OZAN", "ÖZ", true},
        {"Ö, P", "ÖZ", "PİR", true},
        {"S, Ş", "SU", "ŞU", true},
        {"Ş, T", "ŞU", "TAN", true},
        {"U, Ü", "UZ", "ÜZ", true},
        {"Ü, V", "ÜZ", "VAR", true},
        {"P, Q", "PİR", "QUE", true},
        {"V, W", "VAR", "WEB", true},
        {"W, X", "WEB", "XER", true},
        {"X, Y", "XER", "YAŞ", true},
        {"digits before letters", "9 EYLÜL", "AKSU", true},
        {"digit by digit", "10 KASIM", "9 EYLÜL", true},
        {"a blank before a letter", "ŞİFA NUR", "ŞİFAHANE", true},
        {"a blank before an apostrophe", "ŞİFA NUR", "ŞİFA'NIN", true},
        {"a prefix first", "ŞİFA", "ŞİFA ECZANESİ", true},
        {"small letters found among capitals", "şifa", "ŞİFA ECZANESİ", true},
        {"Latin before Cyrillic", "ZEKİ", "ЖУК", true},
        // Where the two orders part.
        {"case alone: small letter first", "ali", "ALİ", false},
        {"case alone: ı before I", "ılık", "ILIK", false},
        {"Â weighs as A, after the rest of the name", "ÂLİ AKSU", "ALİ BEK", false},
        {"é weighs as e", "élan", "FİLİZ", false},
        {"symbols before digits", "€URO", "1 A", false},
        {"emoji before letters", "😀", "AKSU", false},
    };
    // The server's answers for every pair at once: before < after and
    // after < before under the collation.
    QStringList comparisons;
    for (const Pair &pair : pairs) {
        comparisons.append(QStringLiteral("SELECT %1 COLLATE \"tr-TR-x-icu\" < %2, %2 COLLATE \"tr-TR-x-icu\" < %1;\n")
                               .arg(literal(pair.before), literal(pair.after)));
    }
    const QString unavailable = PrivateServer::unavailable();
    const PsqlRun run = unavailable.isEmpty() ? PrivateServer::psql(PrivateServer::connectionString(), comparisons.join(QString()))
                                              : PsqlRun{-1, {}, unavailable};
    const QStringList answers = run.rows();
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("ours");
    QTest::addColumn<QString>("server");
    for (std::size_t i = 0; i < std::size(pairs); ++i) {
        const QString server = run.succeeded() && answers.size() == qsizetype(std::size(pairs)) ? answers[qsizetype(i)]
                                                                                               : run.errors;
        QTest::newRow(pairs[i].row) << pairs[i].before << pairs[i].after << pairs[i].ours << server;
    }
}

void TestSharedRegisterSchema::turkishOrder()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(bool, ours);
    QFETCH(QString, server);
    QCOMPARE(server, QStringLiteral("t|f"));
    QCOMPARE(TurkishCollation::compare(before, after) < 0, ours);
    QCOMPARE(TurkishCollation::compare(after, before) > 0, ours);
}

void TestSharedRegisterSchema::turkishSmallLettersAndSearch()
{
    ServerDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    QVERIFY(database.admin(QStringLiteral("INSERT INTO mirvasel.kisi (tur, adi) VALUES (0, 'IŞIK ECZANESİ'), "
                                          "(0, 'İNCE ECZANESİ'), (0, 'ŞİFA ECZANESİ'), (0, 'SİNAN ECZANESİ'), "
                                          "(0, NULL), (0, ''), (1, 'ŞİFA HASTANESİ');\n"))
                .succeeded());
    // The list's order: no name first, then the empty name, as the local
    // register lists them.
    QCOMPARE(database.rows(QStringLiteral("SELECT coalesce(adi, '<NULL>') FROM mirvasel.kisi WHERE tur = 0 "
                                          "ORDER BY adi NULLS FIRST, no")),
             (QStringList{QStringLiteral("<NULL>"), QString(), QStringLiteral("IŞIK ECZANESİ"),
                          QStringLiteral("İNCE ECZANESİ"), QStringLiteral("SİNAN ECZANESİ"),
                          QStringLiteral("ŞİFA ECZANESİ")}));
    // lower() of the column follows its Turkish collation; of a text
    // without one (a parameter) it does not, so a search must give the
    // typed text the collation.
    QCOMPARE(database.rows(QStringLiteral("SELECT lower(adi) FROM mirvasel.kisi WHERE adi LIKE 'I%';\n"
                                          "SELECT lower('IŞIK İNCE'), lower('IŞIK İNCE' COLLATE \"tr-TR-x-icu\");\n")),
             (QStringList{QStringLiteral("ışık eczanesi"), QStringLiteral("işik ince|ışık ince")}));
    const QString search = QStringLiteral("SELECT string_agg(adi, ',' ORDER BY adi) FROM mirvasel.kisi WHERE tur = 0 "
                                          "AND lower(adi) LIKE lower(%1 COLLATE \"tr-TR-x-icu\") || '%';\n");
    QCOMPARE(database.rows(search.arg(literal(QStringLiteral("şİ")))), QStringList{QStringLiteral("ŞİFA ECZANESİ")});
    QCOMPARE(database.rows(search.arg(literal(QStringLiteral("ı")))), QStringList{QStringLiteral("IŞIK ECZANESİ")});
    QCOMPARE(database.rows(search.arg(literal(QStringLiteral("i")))), QStringList{QStringLiteral("İNCE ECZANESİ")});
}

void TestSharedRegisterSchema::testServerScriptFailsLoudly()
{
    // scripts/test-postgres with a server program that ends at once: exit
    // status 1, the reason and the server's own words on standard error, and
    // nothing left behind by stop.
    QTemporaryDir parent;
    // Run as root the script's server runs as the user postgres, who must
    // reach the folder.
    QVERIFY(QFile::setPermissions(parent.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                     | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther
                                                     | QFile::ExeOther));
    const QString folder = parent.filePath(QStringLiteral("server"));
    QVERIFY(QDir().mkdir(folder));
    QProcess start;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("MIRVASEL_POSTGRES"), QStringLiteral("/bin/false"));
    start.setProcessEnvironment(environment);
    start.start(QStringLiteral(MIRVASEL_TEST_POSTGRES_SCRIPT), {QStringLiteral("start"), folder});
    QVERIFY(start.waitForFinished(120000));
    const QString errors = QString::fromUtf8(start.readAllStandardError());
    QCOMPARE(start.exitCode(), 1);
    QVERIFY2(errors.contains(QStringLiteral("test-postgres: the server did not start")), qPrintable(errors));
    QVERIFY2(errors.contains(QStringLiteral("pg_ctl: could not start server")), qPrintable(errors));
    QCOMPARE(start.readAllStandardOutput(), QByteArray());
    QProcess stop;
    stop.start(QStringLiteral(MIRVASEL_TEST_POSTGRES_SCRIPT), {QStringLiteral("stop"), folder});
    QVERIFY(stop.waitForFinished(60000));
    QCOMPARE(stop.exitCode(), 0);
    QVERIFY(!QFileInfo::exists(folder));
}

QTEST_GUILESS_MAIN(TestSharedRegisterSchema)
#include "tst_SharedRegisterSchema.moc"
