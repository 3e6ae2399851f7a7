#include "registry/PayeeList.h"
#include "registry/PayeeListModel.h"
#include "registry/TurkishCollation.h"
#include "support/TemporaryPayeeDatabase.h"
#include "support/TurkishCapitals.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

using State = PayeeList::State;

// A database with some payees of one kind and the list over them.
struct Registry
{
    explicit Registry(const QStringList &names = {}, PaymentCategory category = PaymentCategory::Pharmacy)
        : list(fixture.database(), category)
    {
        if (!names.isEmpty())
            fixture.addNames(category, names);
    }

    QStringList shown() const
    {
        QStringList names;
        for (int row = 0; row < list.rowCount(); ++row)
            names.append(list.nameAt(row));
        return names;
    }

    QStringList stored() { return fixture.tableNames(list.category()); }

    // Another program holding the file's write lock, with a short wait for
    // this one; null when the lock could not be taken.
    std::unique_ptr<PayeeDatabase> lockedByAnotherProgram()
    {
        fixture.database().setBusyTimeout(20);
        std::unique_ptr<PayeeDatabase> other = fixture.openSecondConnection();
        if (other->connection().execute(QStringLiteral("BEGIN IMMEDIATE")).isError())
            return nullptr;
        return other;
    }

    TemporaryPayeeDatabase fixture;
    PayeeList list;
};

const QStringList kAbc = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};

// Names whose beginnings a search must tell apart.
const QStringList kSearchNames = {
    QStringLiteral("ŞİŞLİ MERKEZ ECZANESİ"),
    QStringLiteral("ŞİŞLİ ECZANESİ"),
    QStringLiteral("SİVAS ECZANESİ"),
    QStringLiteral("İZMİR ECZANESİ"),
    QStringLiteral("IĞDIR ECZANESİ"),
    QStringLiteral("ISPARTA ECZANESİ"),
    QStringLiteral("A\"B ECZANESİ"),
    QStringLiteral("100% ECZANE"),
    QStringLiteral("100 ECZANE"),
    QStringLiteral("A_B"),
    QStringLiteral("AXB"),
    QStringLiteral("ÇANKAYA"),
    QStringLiteral("CAN"),
    QStringLiteral("ılgaz eczanesi"), // pasted in small letters
    QStringLiteral("şifa eczanesi"),
    QString(), // no name
    QStringLiteral(""), // a name that is present but empty
};

} // namespace

class TestPayeeList : public QObject
{
    Q_OBJECT

private slots:
    void openSortedListsEveryPayeeInTurkishOrder();
    void openingAnEmptyTableOrWithoutDatabase();
    void search_data();
    void search();
    void searchFindsExactlyThePrefixed();
    void searchAndOpenSaveAPendingEditFirst();
    void editingAndMoving();
    void leavingAnUnchangedEditWritesNothing();
    void newRecordStaysWhereItWasInsertedWhenSaved();
    void unchangedNewRecordIsDroppedOnMove_data();
    void unchangedNewRecordIsDroppedOnMove();
    void typingIntoAnEmptyListStartsANewRecord();
    void emptiedFieldBecomesAbsent();
    void textsComeBackAsStored_data();
    void textsComeBackAsStored();
    void refusedSaveKeepsTheTypedTexts_data();
    void refusedSaveKeepsTheTypedTexts();
    void deleteMakesTheNextRecordCurrent_data();
    void deleteMakesTheNextRecordCurrent();
    void deleteOnAnEmptyListChangesNothing();
    void deleteWhileInsertingDropsOnlyTheNewRecord();
    void deleteRefusedWhileLockedKeepsTheRecord();
    void dataSetLinkMovesAndRefusals();
    void closeSequenceSavesOrDiscards();
    void damagedRecordsAreReportedNotShownEmpty();
    void sortedOpeningKeepsItsRecordWhenOthersChangeTheTable();
    void sortedOpeningThatCannotBeReadWholeSaysSo();
};

void TestPayeeList::openSortedListsEveryPayeeInTurkishOrder()
{
    Registry registry({QStringLiteral("ZONGULDAK"), QStringLiteral("ÇANKAYA"), QStringLiteral("CAN"),
                       QStringLiteral("İZMİR"), QStringLiteral("IĞDIR"), QStringLiteral("ŞİŞLİ"),
                       QStringLiteral("SİVAS"), QString(), QStringLiteral("ÜSKÜDAR"), QStringLiteral("UŞAK")});
    QSignalSpy scrolled(&registry.list, &PayeeList::afterScroll);
    QVERIFY(registry.list.openSorted().succeeded());
    // A payee without a name comes first, shown empty.
    QCOMPARE(registry.shown(), (QStringList{"", "CAN", "ÇANKAYA", "IĞDIR", "İZMİR", "SİVAS", "ŞİŞLİ", "UŞAK",
                                            "ÜSKÜDAR", "ZONGULDAK"}));
    QCOMPARE(registry.list.state(), State::Browsing);
    QCOMPARE(registry.list.recordCount(), 10);
    QCOMPARE(registry.list.currentRecordNumber(), 1);
    QCOMPARE(scrolled.count(), 1);
}

void TestPayeeList::openingAnEmptyTableOrWithoutDatabase()
{
    Registry registry;
    QSignalSpy scrolled(&registry.list, &PayeeList::afterScroll);
    QVERIFY(registry.list.openSorted().succeeded());
    QCOMPARE(registry.list.state(), State::Browsing);
    QCOMPARE(registry.list.recordCount(), 0);
    QCOMPARE(registry.list.currentRecordNumber(), 0);
    QCOMPARE(registry.list.currentRow(), -1);
    QCOMPARE(scrolled.count(), 0);

    registry.fixture.database().close();
    QCOMPARE(registry.list.openSorted().message(), QStringLiteral("Liste açılamadı: veritabanı açık değil."));
    QCOMPARE(registry.list.state(), State::Closed);
    QVERIFY(!registry.list.isActive());
}

void TestPayeeList::search_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("Turkish prefix") << "ŞİŞ" << QStringList{"ŞİŞLİ ECZANESİ", "ŞİŞLİ MERKEZ ECZANESİ"};
    QTest::newRow("typed on into the blank") << "ŞİŞLİ ECZ" << QStringList{"ŞİŞLİ ECZANESİ"};
    QTest::newRow("S is not Ş") << "S" << QStringList{"SİVAS ECZANESİ"};
    QTest::newRow("C is not Ç") << "C" << QStringList{"CAN"};
    QTest::newRow("dotless I") << "I" << QStringList{"IĞDIR ECZANESİ", "ılgaz eczanesi", "ISPARTA ECZANESİ"};
    QTest::newRow("dotted İ") << "İ" << QStringList{"İZMİR ECZANESİ"};
    QTest::newRow("double quote is a character") << "A\"" << QStringList{"A\"B ECZANESİ"};
    QTest::newRow("lone double quote") << "\"" << QStringList{};
    QTest::newRow("percent is no wildcard") << "100%" << QStringList{"100% ECZANE"};
    QTest::newRow("digits, blank before percent") << "100" << QStringList{"100 ECZANE", "100% ECZANE"};
    QTest::newRow("underscore is no wildcard") << "A_" << QStringList{"A_B"};
    QTest::newRow("prefix, not contains") << "ECZANE" << QStringList{};
    QTest::newRow("quote injection") << "\" OR \"\"=\"" << QStringList{};
    QTest::newRow("capitals find small letters") << "IL" << QStringList{"ılgaz eczanesi"};
    QTest::newRow("small letters find both") << "şi" << QStringList{"şifa eczanesi", "ŞİŞLİ ECZANESİ", "ŞİŞLİ MERKEZ ECZANESİ"};
    QTest::newRow("small dotted i is not I") << "ıs" << QStringList{"ISPARTA ECZANESİ"};
    QTest::newRow("empty: every present name, none absent")
        << "" << QStringList{"", "100 ECZANE", "100% ECZANE", "A\"B ECZANESİ", "A_B", "AXB", "CAN", "ÇANKAYA",
                             "IĞDIR ECZANESİ", "ılgaz eczanesi", "ISPARTA ECZANESİ", "İZMİR ECZANESİ",
                             "SİVAS ECZANESİ", "şifa eczanesi", "ŞİŞLİ ECZANESİ", "ŞİŞLİ MERKEZ ECZANESİ"};
}

void TestPayeeList::search()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, found);
    Registry registry(kSearchNames);
    QVERIFY(registry.list.openSorted().succeeded());
    QSignalSpy scrolled(&registry.list, &PayeeList::afterScroll);
    QCOMPARE(registry.list.search(typed).message(), QString());
    QCOMPARE(registry.shown(), found);
    QCOMPARE(registry.list.state(), State::Browsing);
    QCOMPARE(registry.list.currentRecordNumber(), found.isEmpty() ? 0 : 1);
    // The status follows only a search that found something.
    QCOMPARE(scrolled.count(), found.isEmpty() ? 0 : 1);
    QCOMPARE(registry.stored().size(), kSearchNames.size());
}

void TestPayeeList::searchFindsExactlyThePrefixed()
{
    const QStringList characters = {"A", "a", "C", "Ç", "ç", "I", "ı", "İ", "i", "S", "Ş", "Z", " ", "0", "%", "_", "\"", "'", "É"};
    QRandomGenerator random(7);
    QStringList names;
    for (int i = 0; i < 400; ++i) {
        QString name;
        for (int length = 1 + random.bounded(4); length > 0; --length)
            name += characters[random.bounded(int(characters.size()))];
        names.append(name);
    }
    Registry registry(names);
    QStringList prefixes = characters;
    for (const QString first : {"A", "Ş", "%", "\""}) {
        for (const QString &second : characters)
            prefixes.append(first + second);
    }
    for (const QString &prefix : prefixes) {
        QStringList expected;
        std::copy_if(names.cbegin(), names.cend(), std::back_inserter(expected),
                     [&](const QString &name) { return turkishCapitals(name).startsWith(turkishCapitals(prefix)); });
        std::stable_sort(expected.begin(), expected.end(),
                         [](const QString &a, const QString &b) { return TurkishCollation::compare(a, b) < 0; });
        QCOMPARE(registry.list.search(prefix).message(), QString());
        QVERIFY2(registry.shown() == expected, qPrintable(prefix));
    }
}

void TestPayeeList::searchAndOpenSaveAPendingEditFirst()
{
    Registry registry(kAbc);
    QVERIFY(registry.list.openSorted().succeeded());
    QVERIFY(registry.list.setField(PayeeColumn::BankBranch, QStringLiteral("KIZILAY")).succeeded());
    QVERIFY(registry.list.search(QStringLiteral("B")).succeeded());
    QCOMPARE(registry.fixture.tableContents(PaymentCategory::Pharmacy)[0][2], QStringLiteral("KIZILAY"));
    QCOMPARE(registry.list.state(), State::Browsing);

    // An unchanged new record is not worth keeping.
    QVERIFY(registry.list.insert().succeeded());
    QVERIFY(registry.list.openSorted().succeeded());
    QCOMPARE(registry.shown(), kAbc);
    QCOMPARE(registry.stored(), kAbc);
}

void TestPayeeList::editingAndMoving()
{
    Registry registry(kAbc);
    PayeeList &list = registry.list;
    QVERIFY(list.openSorted().succeeded());
    QSignalSpy states(&list, &PayeeList::stateChanged);

    // "Düzenle" without typing: a move simply leaves the edit.
    QVERIFY(list.canEdit());
    QVERIFY(list.edit().succeeded());
    QCOMPARE(list.state(), State::Editing);
    QVERIFY(!list.canEdit());
    QVERIFY(list.canPost());
    QVERIFY(!list.isModified());
    QVERIFY(list.next().succeeded());
    QCOMPARE(list.state(), State::Browsing);
    QCOMPARE(list.currentRecordNumber(), 2);

    // Typing starts the edit; cancel restores what was saved.
    QVERIFY(list.setField(PayeeColumn::Name, QStringLiteral("BEE")).succeeded());
    QCOMPARE(list.state(), State::Editing);
    QVERIFY(list.isModified());
    QCOMPARE(list.field(PayeeColumn::Name), QStringLiteral("BEE"));
    QCOMPARE(list.nameAt(1), QStringLiteral("BEE"));
    list.cancel();
    QCOMPARE(list.state(), State::Browsing);
    QCOMPARE(list.field(PayeeColumn::Name), QStringLiteral("B"));

    // A move saves the changes, then moves.
    QVERIFY(list.setField(PayeeColumn::Name, QStringLiteral("BEE")).succeeded());
    QVERIFY(list.setField(PayeeColumn::TaxOffice, QStringLiteral("ÇANKAYA")).succeeded());
    QVERIFY(list.prior().succeeded());
    QCOMPARE(list.state(), State::Browsing);
    QCOMPARE(list.field(PayeeColumn::Name), QStringLiteral("A"));
    QCOMPARE(registry.stored(), (QStringList{"A", "BEE", "C"}));
    QCOMPARE(registry.fixture.tableContents(PaymentCategory::Pharmacy)[1][4], QStringLiteral("ÇANKAYA"));
    // Saved in place, not sorted in.
    QCOMPARE(registry.shown(), (QStringList{"A", "BEE", "C"}));

    // "Kaydet".
    QVERIFY(list.setField(PayeeColumn::IdentityNumber, QStringLiteral("11111111110")).succeeded());
    QVERIFY(list.post().succeeded());
    QCOMPARE(list.state(), State::Browsing);
    QCOMPARE(registry.fixture.tableContents(PaymentCategory::Pharmacy)[0][1], QStringLiteral("11111111110"));
    QCOMPARE(states.count(), 8);
}

void TestPayeeList::leavingAnUnchangedEditWritesNothing()
{
    Registry registry(kAbc);
    PayeeList &list = registry.list;
    QVERIFY(list.openSorted().succeeded());
    std::unique_ptr<PayeeDatabase> other = registry.lockedByAnotherProgram();
    QVERIFY(other);

    // Another program holds the file: nothing to save must not fail.
    QVERIFY(list.edit().succeeded());
    QCOMPARE(list.post().message(), QString());
    QCOMPARE(list.state(), State::Browsing);
    QVERIFY(list.setField(PayeeColumn::Name, QStringLiteral("A")).succeeded());
    QCOMPARE(list.next().message(), QString());
    QCOMPARE(list.state(), State::Browsing);
    QVERIFY(list.insert().succeeded());
    QCOMPARE(list.prior().message(), QString());
    QCOMPARE(registry.shown(), kAbc);
}

void TestPayeeList::newRecordStaysWhereItWasInsertedWhenSaved()
{
    Registry registry(kAbc);
    PayeeList &list = registry.list;
    QVERIFY(list.openSorted().succeeded());
    QVERIFY(list.next().succeeded());
    QVERIFY(list.setField(PayeeColumn::Name, QStringLiteral("BB")).succeeded());
    QSignalSpy scrolled(&list, &PayeeList::afterScroll);

    // An edit in progress is saved before the insert.
    QVERIFY(list.insert().succeeded());
    QCOMPARE(registry.stored(), (QStringList{"A", "BB", "C"}));
    QCOMPARE(list.state(), State::Inserting);
    QCOMPARE(scrolled.count(), 1);
    QCOMPARE(list.currentRow(), 1);
    QCOMPARE(list.rowCount(), 4);
    QCOMPARE(list.recordCount(), 3);
    QCOMPARE(list.currentRecordNumber(), 0);
    QCOMPARE(list.recordNumber(0), 1);
    QCOMPARE(list.recordNumber(2), 2);
    QCOMPARE(list.recordNumber(3), 3);
    QCOMPARE(list.fields(), PayeeFields{});

    QVERIFY(list.setField(PayeeColumn::Name, QStringLiteral("ZEYNEP ECZANESİ")).succeeded());
    QCOMPARE(list.state(), State::Inserting);
    QVERIFY(list.post().succeeded());
    QCOMPARE(list.state(), State::Browsing);
    QCOMPARE(registry.shown(), (QStringList{"A", "ZEYNEP ECZANESİ", "BB", "C"}));
    QCOMPARE(list.currentRecordNumber(), 2);
    QCOMPARE(list.recordNumber(3), 4);
    QCOMPARE(list.rowCount(), 4);
    QCOMPARE(list.currentRow() + 1, 2);
    QCOMPARE(registry.stored(), (QStringList{"A", "BB", "C", "ZEYNEP ECZANESİ"}));

    // Only a reopen sorts it in.
    QVERIFY(list.openSorted().succeeded());
    QCOMPARE(registry.shown(), (QStringList{"A", "BB", "C", "ZEYNEP ECZANESİ"}));
}

void TestPayeeList::unchangedNewRecordIsDroppedOnMove_data()
{
    QTest::addColumn<QString>("move");
    QTest::addColumn<QString>("current");
    // The new record sits on row 1, between A and B.
    QTest::newRow("next") << "next" << "B";
    QTest::newRow("prior") << "prior" << "A";
    QTest::newRow("first") << "first" << "A";
    QTest::newRow("last") << "last" << "C";
    QTest::newRow("row of C") << "row 3" << "C";
    QTest::newRow("cancel") << "cancel" << "B";
}

void TestPayeeList::unchangedNewRecordIsDroppedOnMove()
{
    QFETCH(QString, move);
    QFETCH(QString, current);
    Registry registry(kAbc);
    PayeeList &list = registry.list;
    QVERIFY(list.openSorted().succeeded());
    QVERIFY(list.moveTo(1).succeeded());
    QVERIFY(list.insert().succeeded());
    QSignalSpy scrolled(&list, &PayeeList::afterScroll);
    QSignalSpy removed(&list, &PayeeList::rowRemoved);

    Result<> error = Result<>::success();
    if (move == "next")
        error = list.next();
    else if (move == "prior")
        error = list.prior();
    else if (move == "first")
        error = list.first();
    else if (move == "last")
        error = list.last();
    else if (move == "row 3")
        error = list.moveTo(3);
    else
        list.cancel();
    QCOMPARE(error.message(), QString());
    QCOMPARE(list.state(), State::Browsing);
    QCOMPARE(registry.shown(), kAbc);
    QCOMPARE(list.field(PayeeColumn::Name), current);
    QCOMPARE(list.currentRecordNumber(), int(kAbc.indexOf(current)) + 1);
    QCOMPARE(removed.count(), 1);
    QCOMPARE(scrolled.count(), 1);
    QCOMPARE(registry.stored(), kAbc);
}

void TestPayeeList::typingIntoAnEmptyListStartsANewRecord()
{
    Registry registry;
    PayeeList &list = registry.list;
    QVERIFY(list.openSorted().succeeded());
    QCOMPARE(list.rowCount(), 0);
    QCOMPARE(list.currentRow() + 1, 0);
    QVERIFY(list.setField(PayeeColumn::Name, QStringLiteral("İLK ECZANE")).succeeded());
    QCOMPARE(list.state(), State::Inserting);
    QCOMPARE(list.rowCount(), 1);
    QCOMPARE(list.currentRow() + 1, 1);
    QVERIFY(list.post().succeeded());
    QCOMPARE(registry.stored(), QStringList{"İLK ECZANE"});
    QCOMPARE(list.rowCount(), 1);
    QCOMPARE(list.currentRow() + 1, 1);

    // A new record may be saved empty on purpose; "Kaydet" is explicit.
    QVERIFY(list.insert().succeeded());
    QVERIFY(list.post().succeeded());
    QCOMPARE(registry.stored(), (QStringList{"İLK ECZANE", QString()}));
}

void TestPayeeList::textsComeBackAsStored_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("byte order mark first") << QStringLiteral("\uFEFFŞİFA ECZANESİ");
    QTest::newRow("byte order mark alone") << QStringLiteral("\uFEFF");
    QTest::newRow("blanks around") << QStringLiteral("  DEVA  ");
    QTest::newRow("combining dot") << QStringLiteral("I\u0307ZMI\u0307R");
}

// What a field held is what it reads back after the list is opened again,
// character for character.
void TestPayeeList::textsComeBackAsStored()
{
    QFETCH(QString, text);
    Registry registry;
    PayeeList &list = registry.list;
    QVERIFY(list.openSorted().succeeded());
    QVERIFY(list.setField(PayeeColumn::Name, text).succeeded());
    QVERIFY(list.setField(PayeeColumn::TaxOffice, text).succeeded());
    QVERIFY(list.post().succeeded());
    QVERIFY(list.openSorted().succeeded());
    QCOMPARE(list.field(PayeeColumn::Name), text);
    QCOMPARE(list.field(PayeeColumn::TaxOffice), text);
    QCOMPARE(registry.stored(), QStringList{text});
}

void TestPayeeList::emptiedFieldBecomesAbsent()
{
    Registry registry(kAbc);
    PayeeList &list = registry.list;
    QVERIFY(list.openSorted().succeeded());
    QVERIFY(list.setField(PayeeColumn::Name, QStringLiteral("")).succeeded());
    QVERIFY(list.post().succeeded());
    QVERIFY(registry.stored().first().isNull());
    QVERIFY(list.search(QString()).succeeded());
    QCOMPARE(registry.shown(), (QStringList{"B", "C"}));
    QVERIFY(list.openSorted().succeeded());
    QCOMPARE(registry.shown(), (QStringList{"", "B", "C"}));
}

void TestPayeeList::refusedSaveKeepsTheTypedTexts_data()
{
    QTest::addColumn<QString>("cause");
    QTest::addColumn<bool>("inserting");
    QTest::addColumn<QString>("message");
    const QString refused = QStringLiteral("Kayıt kaydedilemedi: veritabanı kaydı kabul etmedi (ad reddedildi).");
    const QString locked = QStringLiteral("Kayıt kaydedilemedi: veritabanı dosyası başka bir program tarafından "
                                          "kilitlenmiş. Biraz sonra yeniden deneyin.");
    const QString tooLong = QStringLiteral("Kayıt kaydedilemedi: \"Adı Soyadı\" alanı en çok 100 karakter "
                                           "alabilir; yazılan metin 101 karakter.");
    // What a folder the user may not write into does: the engine cannot make
    // its journal beside the file.
    const QString noJournal = QStringLiteral("Kayıt kaydedilemedi: dosya ya da yanındaki geçici günlük dosyası "
                                             "açılamadı; klasörün ve dosyanın izinlerini denetleyin.");
    for (bool inserting : {false, true}) {
        const char *what = inserting ? "new record, " : "edited record, ";
        QTest::addRow("%sdatabase refuses", what) << "refuse" << inserting << refused;
        QTest::addRow("%sfile locked", what) << "lock" << inserting << locked;
        QTest::addRow("%sname too long", what) << "long" << inserting << tooLong;
        QTest::addRow("%sno journal beside the file", what) << "journal" << inserting << noJournal;
    }
}

void TestPayeeList::refusedSaveKeepsTheTypedTexts()
{
    QFETCH(QString, cause);
    QFETCH(bool, inserting);
    QFETCH(QString, message);
    Registry registry(kAbc);
    PayeeList &list = registry.list;
    QVERIFY(list.openSorted().succeeded());
    QVERIFY(list.moveTo(1).succeeded());
    if (inserting)
        QVERIFY(list.insert().succeeded());
    const State state = inserting ? State::Inserting : State::Editing;

    std::unique_ptr<PayeeDatabase> other;
    QString name = QStringLiteral("DENİZ ECZANESİ");
    if (cause == "refuse") {
        registry.fixture.refuseName(PaymentCategory::Pharmacy, QStringLiteral("RED"));
        name = QStringLiteral("RED");
    } else if (cause == "lock") {
        other = registry.lockedByAnotherProgram();
        QVERIFY(other);
    } else if (cause == "journal") {
        // A link to nowhere stands where the journal would be made, as a
        // folder without write permission does for anyone but root.
        QVERIFY(QFile::link(QStringLiteral("/nonexistent/folder/journal"),
                            registry.fixture.filePath() + QStringLiteral("-journal")));
    } else {
        name = QString(101, QLatin1Char('D'));
    }
    QVERIFY(list.setField(PayeeColumn::Name, name).succeeded());
    QVERIFY(list.setField(PayeeColumn::BankBranch, QStringLiteral("GÖZTEPE")).succeeded());
    const PayeeFields typed = list.fields();

    // Every way of leaving the record meets the same refusal and keeps it.
    QCOMPARE(list.post().message(), message);
    QVERIFY2(!message.contains(QStringLiteral("unable")), qPrintable(message));
    QCOMPARE(list.next().message(), message);
    QCOMPARE(list.insert().message(), message);
    QCOMPARE(list.search(QStringLiteral("A")).message(), message);
    QCOMPARE(list.close().message(), message);
    QSignalSpy refusals(&list, &PayeeList::errorOccurred);
    QVERIFY(!list.moveToRow(0));
    QCOMPARE(refusals.count(), 1);
    QCOMPARE(refusals.first().first().toString(), message);
    QCOMPARE(list.lastError(), message);

    QCOMPARE(list.state(), state);
    QCOMPARE(list.currentRow(), 1);
    QCOMPARE(list.fields(), typed);
    QCOMPARE(list.rowCount(), inserting ? 4 : 3);
    other.reset();
    QCOMPARE(registry.stored(), kAbc);

    // Once the cause is gone the same record saves.
    if (cause == "refuse")
        registry.fixture.stopRefusing();
    else if (cause == "journal")
        QVERIFY(QFile::remove(registry.fixture.filePath() + QStringLiteral("-journal")));
    else if (cause == "long")
        QVERIFY(list.setField(PayeeColumn::Name, QString(100, QLatin1Char('D'))).succeeded());
    QCOMPARE(list.post().message(), QString());
    QCOMPARE(list.state(), State::Browsing);
    const QStringList stored = registry.stored();
    QCOMPARE(stored.size(), inserting ? 4 : 3);
    QVERIFY(stored.contains(list.field(PayeeColumn::Name)));
}

void TestPayeeList::deleteMakesTheNextRecordCurrent_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("editing");
    QTest::addColumn<QString>("current");
    QTest::newRow("first") << 0 << false << "B";
    QTest::newRow("middle") << 1 << false << "C";
    QTest::newRow("last: the previous one") << 2 << false << "B";
    QTest::newRow("while editing it") << 1 << true << "C";
}

void TestPayeeList::deleteMakesTheNextRecordCurrent()
{
    QFETCH(int, row);
    QFETCH(bool, editing);
    QFETCH(QString, current);
    Registry registry(kAbc);
    PayeeList &list = registry.list;
    QVERIFY(list.openSorted().succeeded());
    QVERIFY(list.moveTo(row).succeeded());
    if (editing)
        QVERIFY(list.setField(PayeeColumn::Name, QStringLiteral("DEĞİŞEN")).succeeded());
    QSignalSpy scrolled(&list, &PayeeList::afterScroll);

    QCOMPARE(list.deleteCurrent().message(), QString());
    QStringList remaining = kAbc;
    remaining.removeAt(row);
    QCOMPARE(registry.shown(), remaining);
    QCOMPARE(registry.stored(), remaining);
    QCOMPARE(list.field(PayeeColumn::Name), current);
    QCOMPARE(list.state(), State::Browsing);
    QCOMPARE(list.recordCount(), 2);
    QCOMPARE(scrolled.count(), 1);
}

void TestPayeeList::deleteOnAnEmptyListChangesNothing()
{
    Registry registry;
    PayeeList &list = registry.list;
    QVERIFY(list.openSorted().succeeded());
    QCOMPARE(list.field(PayeeColumn::Name), QString());
    QSignalSpy scrolled(&list, &PayeeList::afterScroll);
    QCOMPARE(list.deleteCurrent().message(), QStringLiteral("Cannot perform this operation on an empty dataset"));
    QCOMPARE(list.state(), State::Browsing);
    QCOMPARE(list.rowCount(), 0);
    QCOMPARE(scrolled.count(), 0);

    QVERIFY(list.close().succeeded());
    QCOMPARE(list.deleteCurrent().message(), QStringLiteral("Kayıt silinemedi: liste açık değil."));
}

void TestPayeeList::deleteWhileInsertingDropsOnlyTheNewRecord()
{
    Registry registry(kAbc);
    PayeeList &list = registry.list;
    QVERIFY(list.openSorted().succeeded());
    QVERIFY(list.moveTo(1).succeeded());
    QVERIFY(list.insert().succeeded());
    QVERIFY(list.setField(PayeeColumn::Name, QStringLiteral("YARIM")).succeeded());
    QCOMPARE(list.field(PayeeColumn::Name), QStringLiteral("YARIM"));
    QSignalSpy scrolled(&list, &PayeeList::afterScroll);

    QCOMPARE(list.deleteCurrent().message(), QString());
    QCOMPARE(list.state(), State::Browsing);
    QCOMPARE(registry.shown(), kAbc);
    QCOMPARE(registry.stored(), kAbc);
    QCOMPARE(list.field(PayeeColumn::Name), QStringLiteral("B"));
    QCOMPARE(scrolled.count(), 1);
}

void TestPayeeList::deleteRefusedWhileLockedKeepsTheRecord()
{
    Registry registry(kAbc);
    PayeeList &list = registry.list;
    QVERIFY(list.openSorted().succeeded());
    std::unique_ptr<PayeeDatabase> other = registry.lockedByAnotherProgram();
    QVERIFY(other);
    QCOMPARE(list.deleteCurrent().message(), QStringLiteral("Kayıt silinemedi: veritabanı dosyası başka bir program "
                                                  "tarafından kilitlenmiş. Biraz sonra yeniden deneyin."));
    QCOMPARE(registry.shown(), kAbc);
    QCOMPARE(list.field(PayeeColumn::Name), QStringLiteral("A"));
    other.reset();
    QCOMPARE(registry.stored(), kAbc);
}

void TestPayeeList::dataSetLinkMovesAndRefusals()
{
    Registry registry(kAbc);
    PayeeList &list = registry.list;
    DataSetLink &link = list;
    QVERIFY(!link.isActive());
    QCOMPARE(link.moveBy(1), 0);
    QVERIFY(list.openSorted().succeeded());
    QVERIFY(link.isActive());
    QSignalSpy refusals(&list, &PayeeList::errorOccurred);

    QCOMPARE(link.moveBy(5), 2); // as far as the list goes
    QCOMPARE(link.currentRow(), 2);
    QCOMPARE(link.moveBy(1), 0); // at the end a wheel notch moves nothing
    QCOMPARE(link.moveBy(-1), -1);
    QCOMPARE(link.moveBy(-3), -1);
    QVERIFY(link.moveToRow(2));
    QCOMPARE(list.field(PayeeColumn::Name), QStringLiteral("C"));
    QVERIFY(!link.moveToRow(3));
    QCOMPARE(refusals.count(), 1);
    QCOMPARE(link.currentRow(), 2);

    // A new record has no record number; a move by one from it reaches the
    // record that was shown below it.
    QVERIFY(list.insert().succeeded());
    QCOMPARE(link.recordNumber(2), 0);
    QCOMPARE(link.recordNumber(3), 3);
    QCOMPARE(link.moveBy(1), 1);
    QCOMPARE(list.field(PayeeColumn::Name), QStringLiteral("C"));
    QCOMPARE(link.recordNumber(2), 3);
    QCOMPARE(refusals.count(), 1);
}

void TestPayeeList::closeSequenceSavesOrDiscards()
{
    Registry registry(kAbc);
    PayeeList &list = registry.list;
    QVERIFY(list.openSorted().succeeded());
    QVERIFY(!list.hasUnsavedChanges());
    QVERIFY(list.edit().succeeded());
    QVERIFY(list.hasUnsavedChanges()); // editing counts, changed or not
    list.cancel();

    QVERIFY(list.insert().succeeded());
    QVERIFY(list.setField(PayeeColumn::Name, QStringLiteral("KAYDEDİLECEK")).succeeded());
    QVERIFY(list.hasUnsavedChanges());
    QVERIFY(list.post().succeeded());
    QVERIFY(!list.hasUnsavedChanges());

    QVERIFY(list.setField(PayeeColumn::Name, QStringLiteral("ATILACAK")).succeeded());
    list.cancel();
    QVERIFY(!list.hasUnsavedChanges());
    QCOMPARE(registry.stored(), (QStringList{"A", "B", "C", "KAYDEDİLECEK"}));

    // Closing saves what was typed rather than losing it.
    QVERIFY(list.setField(PayeeColumn::Name, QStringLiteral("SON")).succeeded());
    QVERIFY(list.close().succeeded());
    QCOMPARE(list.state(), State::Closed);
    QCOMPARE(registry.stored(), (QStringList{"A", "B", "C", "SON"}));
}

// A file with damaged pages among its records: the list still opens from
// its intact name index, says once per opening that a record could not be
// read, marks such rows instead of showing them empty, and neither edits
// nor hands out their fields.
void TestPayeeList::damagedRecordsAreReportedNotShownEmpty()
{
    Registry registry;
    TemporaryPayeeDatabase &fixture = registry.fixture;
    SqlCipherConnection &connection = fixture.connection();
    // The records first, the name index after them: the pages in between
    // hold records only.
    QVERIFY(!connection.execute(QStringLiteral("DROP INDEX Eczane_EczaneAdi")).isError());
    const qint64 recordsFrom = connection.queryInt64(QStringLiteral("PRAGMA page_count")) + 2;
    QStringList names;
    for (int i = 0; i < 500; ++i)
        names << QStringLiteral("ECZANE %1 ŞİFA DEVA SAĞLIK").arg(i, 3, 10, QChar(u'0'));
    fixture.addNames(PaymentCategory::Pharmacy, names);
    const qint64 recordsTo = connection.queryInt64(QStringLiteral("PRAGMA page_count")) - 1;
    QVERIFY(!connection.execute(QStringLiteral("CREATE INDEX Eczane_EczaneAdi ON Eczane (EczaneAdi)")).isError());
    const qint64 pageSize = connection.queryInt64(QStringLiteral("PRAGMA cipher_page_size"));
    QVERIFY(recordsTo - recordsFrom > 6);
    fixture.database().close();

    QFile file(fixture.filePath());
    QVERIFY(file.open(QIODevice::ReadWrite));
    for (qint64 page = recordsFrom; page <= recordsTo; page += 3) {
        QVERIFY(file.seek((page - 1) * pageSize + pageSize / 2));
        char byte = 0;
        QVERIFY(file.getChar(&byte));
        QVERIFY(file.seek((page - 1) * pageSize + pageSize / 2));
        QVERIFY(file.putChar(char(byte ^ 0x5A)));
    }
    file.close();

    QVERIFY(fixture.database().open().isOpened());
    PayeeList &list = registry.list;
    QSignalSpy reported(&list, &PayeeList::recordUnreadable);
    QVERIFY(list.openSorted().succeeded());
    QCOMPARE(list.rowCount(), 500);
    int unreadable = 0;
    int firstUnreadable = -1;
    for (int row = 0; row < list.rowCount(); ++row) {
        (void)list.nameAt(row);
        if (!list.isReadable(row)) {
            ++unreadable;
            if (firstUnreadable < 0)
                firstUnreadable = row;
        } else {
            QVERIFY(!list.nameAt(row).isEmpty());
        }
    }
    QVERIFY(unreadable > 0);
    QCOMPARE(reported.count(), 1);
    const QString message = reported.first().first().toString();
    QVERIFY2(message.startsWith(QStringLiteral("Kayıt okunamadı: veritabanı dosyası bozuk.")), qPrintable(message));
    PayeeListModel model(&list);
    QCOMPARE(model.data(model.index(firstUnreadable, 0)).toString(), PayeeListModel::unreadableText());

    QVERIFY(list.moveTo(firstUnreadable).succeeded());
    QVERIFY(!list.isCurrentReadable());
    QCOMPARE(list.readCurrent().message(), message);
    QCOMPARE(list.edit().message(), message);
    QCOMPARE(list.setField(PayeeColumn::Name, QStringLiteral("YENİ")).message(), message);
    QCOMPARE(list.state(), State::Browsing);
    QCOMPARE(reported.count(), 1);

    // Another opening reports it again, once.
    QVERIFY(list.openSorted().succeeded());
    for (int row = 0; row < list.rowCount(); ++row)
        (void)list.nameAt(row);
    QCOMPARE(reported.count(), 2);
}

// A sorted opening reads the rest of its keys when they are first needed; the
// record it showed first stays the current one, whatever another program did
// to the table meanwhile.
void TestPayeeList::sortedOpeningKeepsItsRecordWhenOthersChangeTheTable()
{
    Registry registry(kAbc);
    PayeeList &list = registry.list;
    QVERIFY(list.openSorted().succeeded());
    QCOMPARE(list.field(PayeeColumn::Name), QStringLiteral("A"));
    registry.fixture.addNames(PaymentCategory::Pharmacy, {QStringLiteral("0 ÖNDE")});
    QCOMPARE(list.rowCount(), 4);
    QCOMPARE(list.currentRecordNumber(), 2);
    QCOMPARE(list.field(PayeeColumn::Name), QStringLiteral("A"));
    QCOMPARE(registry.shown(), (QStringList{"0 ÖNDE", "A", "B", "C"}));
    QCOMPARE(list.rowCount(), 4);
    QCOMPARE(list.currentRow() + 1, 2);

    // Deleted by another program: still the current record, and reading it
    // says why it is gone, as for any list that outlived its record.
    QVERIFY(list.openSorted().succeeded());
    QCOMPARE(list.field(PayeeColumn::Name), QStringLiteral("0 ÖNDE"));
    QVERIFY(!registry.fixture.connection()
                 .execute(QStringLiteral("DELETE FROM Eczane WHERE EczaneAdi = '0 ÖNDE'"))
                 .isError());
    QCOMPARE(list.rowCount(), 4);
    QCOMPARE(list.currentRow(), 0);
    QCOMPARE(registry.shown().mid(1), kAbc);
    QVERIFY(list.next().succeeded());
    QCOMPARE(list.field(PayeeColumn::Name), QStringLiteral("A"));
}

// The keys a sorted opening left for later cannot be read (another program
// holds the file): the list says so once, keeps the record it showed, and
// the next opening reads them all.
void TestPayeeList::sortedOpeningThatCannotBeReadWholeSaysSo()
{
    Registry registry(kAbc);
    PayeeList &list = registry.list;
    QSignalSpy reported(&list, &PayeeList::listUnreadable);
    QVERIFY(list.openSorted().succeeded());
    QCOMPARE(list.field(PayeeColumn::Name), QStringLiteral("A"));

    registry.fixture.database().setBusyTimeout(20);
    std::unique_ptr<PayeeDatabase> other = registry.fixture.openSecondConnection();
    QVERIFY(!other->connection().execute(QStringLiteral("BEGIN EXCLUSIVE")).isError());
    QCOMPARE(list.rowCount(), 1);
    QCOMPARE(reported.count(), 1);
    const QString message = reported.first().first().toString();
    QVERIFY2(message.startsWith(QStringLiteral("Liste açılamadı: veritabanı dosyası başka bir program tarafından "
                                               "kilitlenmiş.")),
             qPrintable(message));
    QCOMPARE(list.lastError(), message);
    QCOMPARE(list.state(), State::Browsing);
    QCOMPARE(list.field(PayeeColumn::Name), QStringLiteral("A"));
    QCOMPARE(list.rowCount(), 1);
    QCOMPARE(list.currentRow() + 1, 1);
    QCOMPARE(list.rowCount(), 1);
    QCOMPARE(reported.count(), 1);

    QVERIFY(!other->connection().execute(QStringLiteral("ROLLBACK")).isError());
    QVERIFY(list.openSorted().succeeded());
    QCOMPARE(registry.shown(), kAbc);
    QCOMPARE(reported.count(), 1);
}

QTEST_GUILESS_MAIN(TestPayeeList)
#include "tst_PayeeList.moc"
