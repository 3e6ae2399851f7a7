#pragma once

// Payees that look like an office's: Turkish pharmacy, hospital, person and
// company names, identity numbers, banks and tax offices, from a fixed seed.
#include "registry/PayeeDatabase.h"
#include "registry/PayeeTable.h"

#include <QRandomGenerator>
#include <QStringList>

#include <cstdio>

namespace BenchPayees {

inline const QStringList kDistricts = {
    "ŞİŞLİ", "ÇANKAYA", "KADIKÖY", "ÜSKÜDAR", "BEŞİKTAŞ", "KEÇİÖREN", "ALTINDAĞ", "BORNOVA", "KARŞIYAKA",
    "ÇİĞLİ", "SELÇUKLU", "ŞAHİNBEY", "İLKADIM", "ODUNPAZARI", "MERKEZEFENDİ", "ÖDEMİŞ", "IĞDIR", "İNEGÖL",
    "GÖLBAŞI", "YENİMAHALLE", "ETİMESGUT", "SİNCAN", "PURSAKLAR", "MAMAK", "BAĞCILAR", "ESENYURT", "ÜMRANİYE",
    "PENDİK", "ATAŞEHİR", "MALTEPE", "SARIYER", "BAKIRKÖY", "FATİH", "EYÜPSULTAN", "ZEYTİNBURNU", "OSMANGAZİ",
    "NİLÜFER", "YILDIRIM", "MURATPAŞA", "KEPEZ", "KONAK", "BUCA", "SEYHAN", "ÇUKUROVA", "TEPEBAŞI", "ŞEHİTKAMİL",
};
inline const QStringList kSurnames = {
    "YILMAZ", "KAYA", "DEMİR", "ŞAHİN", "ÇELİK", "YILDIZ", "YILDIRIM", "ÖZTÜRK", "AYDIN", "ÖZDEMİR", "ARSLAN",
    "DOĞAN", "KILIÇ", "ASLAN", "ÇETİN", "KARA", "KOÇ", "KURT", "ÖZKAN", "ŞİMŞEK", "POLAT", "ÖZCAN", "KORKMAZ",
    "ÇAKIR", "ERDOĞAN", "YAVUZ", "CAN", "ACAR", "ŞEN", "AKTAŞ", "GÜLER", "YALÇIN", "GÜNEŞ", "BOZKURT", "BULUT",
    "KESKİN", "ÜNAL", "TURAN", "GÜL", "ÖZER", "IŞIK", "KAPLAN", "AVCI", "SARI", "TAŞ", "AKSOY", "ALTUN", "İPEK",
};
inline const QStringList kGivenNames = {
    "AYŞE", "FATMA", "EMİNE", "HATİCE", "ZEYNEP", "ELİF", "MERVE", "ŞERİFE", "SULTAN", "ÖZLEM", "GÜLŞEN",
    "MEHMET", "MUSTAFA", "AHMET", "ALİ", "HÜSEYİN", "HASAN", "İBRAHİM", "İSMAİL", "OSMAN", "YUSUF", "MURAT",
    "ÖMER", "RAMAZAN", "HALİL", "SÜLEYMAN", "ABDULLAH", "MAHMUT", "SALİH", "ŞÜKRÜ", "ÇAĞLA", "İREM", "ÜMİT",
};
inline const QStringList kPharmacyWords = {"ŞİFA", "HAYAT", "YENİ", "MERKEZ", "SAĞLIK", "DEVA", "ÇINAR", "GÜVEN",
                                     "UMUT", "PARK", "ÇARŞI", "İSTASYON", "DOĞA", "LOKMAN", "İLKE"};
inline const QStringList kHospitalKinds = {"DEVLET HASTANESİ", "EĞİTİM VE ARAŞTIRMA HASTANESİ", "ŞEHİR HASTANESİ",
                                     "AĞIZ VE DİŞ SAĞLIĞI MERKEZİ", "ÖZEL TIP MERKEZİ", "ÖZEL HASTANESİ"};
inline const QStringList kCompanyKinds = {"İNŞAAT LTD. ŞTİ.", "GIDA SAN. TİC. A.Ş.", "TEMİZLİK HİZMETLERİ",
                                    "OTOMOTİV", "KIRTASİYE", "BİLGİSAYAR LTD. ŞTİ.", "ÇİÇEKÇİLİK"};
inline const QStringList kBanks = {"ZİRAAT", "HALKBANK", "VAKIFBANK", "İŞ BANKASI", "GARANTİ", "YAPI KREDİ"};

inline QString pick(QRandomGenerator &random, const QStringList &words)
{
    return words[random.bounded(int(words.size()))];
}

inline QString payeeName(PaymentCategory category, QRandomGenerator &random)
{
    switch (category) {
    case PaymentCategory::Pharmacy:
        switch (random.bounded(3)) {
        case 0:
            return pick(random, kDistricts) + QStringLiteral(" ECZANESİ");
        case 1:
            return pick(random, kDistricts) + ' ' + pick(random, kPharmacyWords) + QStringLiteral(" ECZANESİ");
        default:
            return pick(random, kSurnames) + ' ' + pick(random, kPharmacyWords) + QStringLiteral(" ECZANESİ");
        }
    case PaymentCategory::Hospital:
        return random.bounded(2) ? pick(random, kDistricts) + ' ' + pick(random, kHospitalKinds)
                                 : QStringLiteral("ÖZEL ") + pick(random, kSurnames) + QStringLiteral(" HASTANESİ");
    case PaymentCategory::Treatment:
        return pick(random, kGivenNames) + ' ' + pick(random, kGivenNames) + ' ' + pick(random, kSurnames);
    case PaymentCategory::Private:
        return pick(random, kSurnames) + ' ' + pick(random, kCompanyKinds);
    }
    return {};
}

inline PayeeFields payee(PaymentCategory category, QRandomGenerator &random)
{
    const QString district = pick(random, kDistricts);
    return {payeeName(category, random),
            QString::number(10000000000LL + qint64(random.bounded(899999999)) * 100 + random.bounded(100)),
            pick(random, kBanks) + ' ' + district + QStringLiteral(" ŞUBESİ"),
            QStringLiteral("TR%1 0001 0000 %2").arg(random.bounded(10, 99)).arg(random.bounded(100000000, 999999999)),
            district + QStringLiteral(" VERGİ DAİRESİ")};
}

// Creates a new database at path; on failure says why on standard error.
inline bool create(PayeeDatabase &database, const QString &path)
{
    const PayeeDatabase::OpenResult created = database.create(path);
    if (!created.isOpened())
        std::fprintf(stderr, "%s\n", qPrintable(created.message));
    return created.isOpened();
}

// Fills the four tables of an open database with payeesPerCategory payees
// each, the same ones on every run.
inline bool fill(PayeeDatabase &database, int payeesPerCategory)
{
    QRandomGenerator random(1923);
    SqlCipherConnection &connection = database.connection();
    for (PaymentCategory category : kAllCategories) {
        connection.execute(QStringLiteral("BEGIN"));
        SqlCipherConnection::Statement insert = connection.prepare(PayeeTable::of(category).insertSql());
        for (int i = 0; i < payeesPerCategory; ++i) {
            const PayeeFields fields = payee(category, random);
            for (int column = 0; column < kPayeeColumnCount; ++column)
                insert.bindText(column + 1, fields[size_t(column)]);
            const SqlCipherConnection::Error error = insert.run();
            if (error.isError()) {
                std::fprintf(stderr, "insert failed: %s\n", qPrintable(error.detail));
                return false;
            }
        }
        connection.execute(QStringLiteral("COMMIT"));
    }
    return true;
}

} // namespace BenchPayees
