// The start of a run on a system that speaks no Turkish (LANG=C): Qt's
// widgets show numbers and dates the Turkish way, and not one byte of what
// the program writes into its files changes by it.
#include "app/MainWindowSettings.h"
#include "app/ProgramStart.h"
#include "base/ProfileFile.h"
#include "computation/PreferenceSettings.h"
#include "referencedata/CodeSheetSettings.h"
#include "referencedata/InstitutionSettings.h"
#include "registry/OrderCsv.h"
#include "registry/OrderList.h"
#include "registry/OrderRegister.h"
#include "support/DatabaseFiles.h"
#include "support/TemporaryPayeeDatabase.h"

#include <QApplication>
#include <QDoubleSpinBox>
#include <QFile>
#include <QtTest>

namespace {

struct Written
{
    QByteArray settings;
    QByteArray csv;
    QStringList orders; // the register's rows as the file holds them
};

// What the windows write: the settings file's sections, an order into the
// register, and the register as CSV.
void writeEverything(Written &written)
{
    TemporaryPayeeDatabase database;
    QVERIFY2(database.error().isEmpty(), qPrintable(database.error()));
    ProfileFile file;
    MainWindowSettings window;
    window.privateAmountCaption = QStringLiteral("Kira Bedeli");
    window.leftPaneWidth = 1234;
    window.attachments.descriptions[0] = QStringLiteral("Adet Fatura");
    window.attachments.counts[0] = 12345;
    QVERIFY(window.save(file).succeeded());
    Preferences preferences;
    preferences.stampDutyRateText = QStringLiteral("7,59");
    QVERIFY(PreferenceSettings::save(file, preferences).succeeded());
    QVERIFY(CodeSheetSettings::save(file, defaultCodeSheets()).succeeded());
    QVERIFY(InstitutionSettings::save(file, InstitutionSettings::defaults()).succeeded());
    QFile settings(ProfileFile::settingsFilePath());
    QVERIFY(settings.open(QIODevice::ReadOnly));
    written.settings = settings.readAll();

    IssuedOrder order;
    order.issuedAt = QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9));
    order.ways = int(OrderWay::Printer);
    order.payee = {QStringLiteral("ŞİFA ECZANESİ"), QStringLiteral("12345678901"), QStringLiteral("ZİRAAT"),
                   QStringLiteral("TR12 0001"), QStringLiteral("ÇANKAYA")};
    order.gross = 123456789;
    order.stamp = 1018519;
    order.net = order.gross - order.stamp;
    QVERIFY(OrderRegister(database.database()).record(order, QByteArrayLiteral("sayfa")).succeeded());
    OrderRegister listRegister(database.database());
    OrderList list(listRegister);
    QVERIFY(list.open({}).succeeded());
    const QString csv = database.folder() + QStringLiteral("/Belgeler.csv");
    QVERIFY(OrderCsv::write(list, csv).succeeded());
    written.csv = TemporaryPayeeDatabase::fileContents(csv);
    database.database().close();
    written.orders = DatabaseFiles::allRows(database.filePath()).value(QStringLiteral("Belge"));
    QVERIFY(!written.orders.isEmpty());
}

} // namespace

class TestProgramStart : public QObject
{
    Q_OBJECT

private slots:
    void turkishDefaultLocaleWritesTheSameFiles();
};

void TestProgramStart::turkishDefaultLocaleWritesTheSameFiles()
{
    QCOMPARE(QLocale().toString(1234.5), QStringLiteral("1,234.5"));
    Written before;
    writeEverything(before);
    if (QTest::currentTestFailed())
        return;

    ProgramStart::configure(*qApp);
    QCOMPARE(QLocale().toString(1234.5), QStringLiteral("1.234,5"));
    QCOMPARE(QLocale().toString(QDate(2024, 3, 5), QStringLiteral("d MMMM yyyy")), QStringLiteral("5 Mart 2024"));
    // The page set-up's margins are such fields.
    QDoubleSpinBox margin;
    margin.setValue(12.5);
    QCOMPARE(margin.text(), QStringLiteral("12,50"));

    Written after;
    writeEverything(after);
    QCOMPARE(after.settings, before.settings);
    QCOMPARE(after.csv, before.csv);
    QCOMPARE(after.orders, before.orders);
}

int main(int argc, char **argv)
{
    // A system that speaks no Turkish.
    qputenv("LANG", "C");
    qputenv("LC_ALL", "C");
    QApplication application(argc, argv);
    TestProgramStart test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ProgramStart.moc"
