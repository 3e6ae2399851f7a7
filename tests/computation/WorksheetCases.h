#pragma once

// The worked examples of the four worksheets, shared by the tests of the
// plain arithmetic and of the panels, so that both must give the same texts.
// A case starts from a cleared worksheet (as the kind selector leaves it),
// sets the switch, enters the amounts in order, optionally overwrites the
// stamp duty by hand, and presses HESAPLA.

#include "base/PaymentCategory.h"

#include <QStringList>
#include <QtTest>

namespace WorksheetCases {

inline const QString kFirst = QStringLiteral("Yukarıda yazılı  YALNIZ: ");
inline const QString kFirstEnd = QStringLiteral(" zenparol ettirilmiştir. Ödenmesi / Mahsubu gerekir.");

inline QString first(const QString &words)
{
    return kFirst + words + kFirstEnd;
}

inline QString second(const QString &words)
{
    return QStringLiteral("YALNIZ: ") + words + QStringLiteral(" aldım.");
}

inline void addColumns()
{
    QTest::addColumn<QStringList>("amounts"); // typed into the amount fields in order
    QTest::addColumn<QString>("rate");
    QTest::addColumn<bool>("switchOn");
    QTest::addColumn<int>("currency");
    QTest::addColumn<QString>("stampByHand"); // empty: keep the computed duty
    QTest::addColumn<QStringList>("lines"); // every line of the entry
    QTest::addColumn<QString>("debitTotal");
    QTest::addColumn<QString>("creditTotal");
    QTest::addColumn<QString>("firstSentence");
    QTest::addColumn<QString>("secondSentence");
    QTest::addColumn<QString>("liveWords");
}

inline void pharmacy()
{
    addColumns();
    QTest::newRow("thousand")
        << QStringList{"1.000,00"} << "8,25" << false << 1 << ""
        << QStringList{"1.000,00", "8,25", "991,75", "1.000,00", "1.000,00", "8,25", "8,25"}
        << "2.008,25" << "2.008,25" << first("Bin TL.")
        << second("DokuzYüzDoksanBir TL. YetmişBeş Kr.") << "Bin TL.";
    QTest::newRow("0,825 rounds up")
        << QStringList{"100,00"} << "8,25" << false << 1 << ""
        << QStringList{"100,00", "0,83", "99,17", "100,00", "100,00", "0,83", "0,83"}
        << "200,83" << "200,83" << first("Yüz TL.") << second("DoksanDokuz TL. OnYedi Kr.")
        << "Yüz TL.";
    QTest::newRow("zero")
        << QStringList{"0,00"} << "8,25" << false << 1 << ""
        << QStringList{"0,00", "0,00", "0,00", "0,00", "0,00", "0,00", "0,00"}
        << "0,00" << "0,00" << first("Sıfır TL.") << second("Sıfır TL.") << "Sıfır TL.";
    QTest::newRow("YTL")
        << QStringList{"12,50"} << "8,25" << false << 0 << ""
        << QStringList{"12,50", "0,10", "12,40", "12,50", "12,50", "0,10", "0,10"}
        << "25,10" << "25,10" << first("Onİki YTL. Elli YKr.") << second("Onİki YTL. Kırk YKr.")
        << "Onİki YTL. Elli YKr.";
    QTest::newRow("stamp duty by hand above the amount")
        << QStringList{"10,00"} << "8,25" << false << 1 << "15,00"
        << QStringList{"10,00", "15,00", "-5,00", "10,00", "10,00", "15,00", "15,00"}
        << "35,00" << "35,00" << first("On TL.") << QStringLiteral("YALNIZ:  aldım.") << "On TL.";
    QTest::newRow("largest amount")
        << QStringList{"9.999.999.999.999,99"} << "8,25" << false << 1 << ""
        << QStringList{"9.999.999.999.999,99", "82.500.000.000,00", "9.917.499.999.999,99",
                       "9.999.999.999.999,99", "9.999.999.999.999,99", "82.500.000.000,00",
                       "82.500.000.000,00"}
        << "20.082.499.999.999,98" << "20.082.499.999.999,98"
        << first("DokuzTrilyonDokuzYüzDoksanDokuzMilyarDokuzYüzDoksanDokuzMilyon"
                 "DokuzYüzDoksanDokuzBinDokuzYüzDoksanDokuz TL. DoksanDokuz Kr.")
        << second("DokuzTrilyonDokuzYüzOnYediMilyarDörtYüzDoksanDokuzMilyon"
                  "DokuzYüzDoksanDokuzBinDokuzYüzDoksanDokuz TL. DoksanDokuz Kr.")
        << "DokuzTrilyonDokuzYüzDoksanDokuzMilyarDokuzYüzDoksanDokuzMilyon"
           "DokuzYüzDoksanDokuzBinDokuzYüzDoksanDokuz TL. DoksanDokuz Kr.";
}

inline void hospital()
{
    addColumns();
    QTest::newRow("switch on")
        << QStringList{"1.000,00"} << "8,25" << true << 1 << ""
        << QStringList{"1.000,00", "8,25", "991,75", "1.000,00", "1.000,00", "8,25", "8,25"}
        << "2.008,25" << "2.008,25" << first("Bin TL.")
        << second("DokuzYüzDoksanBir TL. YetmişBeş Kr.") << "Bin TL.";
    // The cleared stamp-duty field stays empty: its lines are blank rows.
    QTest::newRow("switch off after a clear")
        << QStringList{"1.000,00"} << "8,25" << false << 1 << ""
        << QStringList{"1.000,00", "", "1.000,00", "1.000,00", "1.000,00", "", ""}
        << "2.000,00" << "2.000,00" << first("Bin TL.") << second("Bin TL.") << "Bin TL.";
    QTest::newRow("rate 10")
        << QStringList{"250,00"} << "10,00" << true << 1 << ""
        << QStringList{"250,00", "2,50", "247,50", "250,00", "250,00", "2,50", "2,50"}
        << "502,50" << "502,50" << first("İkiYüzElli TL.") << second("İkiYüzKırkYedi TL. Elli Kr.")
        << "İkiYüzElli TL.";
    QTest::newRow("YTL")
        << QStringList{"12,50"} << "8,25" << true << 0 << ""
        << QStringList{"12,50", "0,10", "12,40", "12,50", "12,50", "0,10", "0,10"}
        << "25,10" << "25,10" << first("Onİki YTL. Elli YKr.") << second("Onİki YTL. Kırk YKr.")
        << "Onİki YTL. Elli YKr.";
}

inline void treatment()
{
    addColumns();
    QTest::newRow("both amounts")
        << QStringList{"100,00", "50,00"} << "8,25" << true << 1 << ""
        << QStringList{"100,00", "50,00", "1,24", "148,76", "100,00", "50,00", "150,00", "1,24", "1,24"}
        << "301,24" << "301,24" << first("YüzElli TL.") << second("YüzKırkSekiz TL. YetmişAltı Kr.")
        << "Elli TL."; // the field changed last
    QTest::newRow("second amount empty")
        << QStringList{"100,00", ""} << "8,25" << true << 1 << ""
        << QStringList{"100,00", "", "0,83", "99,17", "100,00", "", "100,00", "0,83", "0,83"}
        << "200,83" << "200,83" << first("Yüz TL.") << second("DoksanDokuz TL. OnYedi Kr.")
        << "Yüz TL.";
    QTest::newRow("first amount empty")
        << QStringList{"", "50,00"} << "8,25" << true << 1 << ""
        << QStringList{"", "50,00", "0,41", "49,59", "", "50,00", "50,00", "0,41", "0,41"}
        << "100,41" << "100,41" << first("Elli TL.") << second("KırkDokuz TL. ElliDokuz Kr.")
        << "Elli TL.";
    QTest::newRow("switch off")
        << QStringList{"200,00", "300,00"} << "8,25" << false << 1 << ""
        << QStringList{"200,00", "300,00", "", "500,00", "200,00", "300,00", "500,00", "", ""}
        << "1.000,00" << "1.000,00" << first("BeşYüz TL.") << second("BeşYüz TL.")
        << "ÜçYüz TL.";
    QTest::newRow("YTL")
        << QStringList{"10,00", "2,50"} << "8,25" << true << 0 << ""
        << QStringList{"10,00", "2,50", "0,10", "12,40", "10,00", "2,50", "12,50", "0,10", "0,10"}
        << "25,10" << "25,10" << first("Onİki YTL. Elli YKr.") << second("Onİki YTL. Kırk YKr.")
        << "İki YTL. Elli YKr.";
}

inline void privateKind()
{
    addColumns();
    QTest::newRow("switch on")
        << QStringList{"1.234,56"} << "8,25" << true << 1 << ""
        << QStringList{"1.234,56", "10,19", "1.224,37", "1.234,56", "1.234,56", "10,19", "10,19"}
        << "2.479,31" << "2.479,31" << first("BinİkiYüzOtuzDört TL. ElliAltı Kr.")
        << second("BinİkiYüzYirmiDört TL. OtuzYedi Kr.") << "BinİkiYüzOtuzDört TL. ElliAltı Kr.";
    QTest::newRow("switch off")
        << QStringList{"0,07"} << "8,25" << false << 1 << ""
        << QStringList{"0,07", "", "0,07", "0,07", "0,07", "", ""}
        << "0,14" << "0,14" << first("Yedi Kr.") << second("Yedi Kr.") << "Yedi Kr.";
    QTest::newRow("stamp duty by hand above the amount")
        << QStringList{"10,00"} << "8,25" << true << 1 << "15,00"
        << QStringList{"10,00", "15,00", "-5,00", "10,00", "10,00", "15,00", "15,00"}
        << "35,00" << "35,00" << first("On TL.") << QStringLiteral("YALNIZ:  aldım.") << "On TL.";
}

// TEMİZLE after HESAPLA of 100,00 and 50,00 (both amounts for Tedavi) with
// the switch on: every change of a field's text, in order, as "name=text".
// The stamp-duty field is written by the amounts' live updates on its way to
// empty.
inline void clearWrites()
{
    QTest::addColumn<PaymentCategory>("category");
    QTest::addColumn<QStringList>("writes");

    QTest::newRow("Eczane") << PaymentCategory::Pharmacy
                            << QStringList{"Edit1=", "Edit4=0,00", "Edit4=", "Edit6=", "Edit7=", "Edit10=",
                                           "Edit11=", "Edit14=", "Edit15=", "Edit16="};
    QTest::newRow("Hastane") << PaymentCategory::Hospital
                             << QStringList{"Edit17=", "Edit20=0,00", "Edit20=", "Edit22=", "Edit23=",
                                            "Edit26=", "Edit27=", "Edit30=", "Edit31=", "Edit32="};
    QTest::newRow("Tedavi") << PaymentCategory::Treatment
                            << QStringList{"Edit50=", "Edit55=0,41", "Edit52=", "Edit55=0,00", "Edit55=",
                                           "Edit57=", "Edit58=", "Edit60=", "Edit63=", "Edit64=",
                                           "Edit67=", "Edit68=", "Edit69="};
    QTest::newRow("Ozel") << PaymentCategory::Private
                          << QStringList{"Edit70=", "Edit73=0,00", "Edit73=", "Edit75=", "Edit76=", "Edit79=",
                                         "Edit80=", "Edit83=", "Edit84=", "Edit85="};
}

} // namespace WorksheetCases
