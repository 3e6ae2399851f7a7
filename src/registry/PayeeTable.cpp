#include "registry/PayeeTable.h"

#include "registry/TurkishCollation.h"

#include <QStringList>

namespace {

struct CategoryTexts
{
    const char *table;
    std::array<const char *, kPayeeColumnCount> columns;
    const char *gridTitle;
};

// Column names are those of the old database, kept so that its data and the
// people who know it find them again (the identity number's column is
// EczaciAdi in the pharmacy table and VergiNo in the hospital table).
constexpr std::array<CategoryTexts, kCategoryCount> kCategoryTexts = {{
    {"Eczane",
     {"EczaneAdi", "EczaciAdi", "BankaSube", "BankaHesap", "VergiDaire"},
     " Eczane Adı"},
    {"Hastane",
     {"HastaneAdi", "VergiNo", "BankaSube", "BankaHesap", "VergiDaire"},
     " Hastane Adı"},
    {"Tedavi",
     {"Adi", "Vergi", "BankaSube", "BankaHesap", "VergiDaire"},
     " Adı Soyadı"},
    {"Ozel",
     {"OzelAdi", "Vergi", "BankaSube", "BankaHesap", "VergiDaire"},
     " Başlıklar"},
}};

// Wide enough for the longest hospital names and IBANs with blanks.
constexpr std::array<int, kPayeeColumnCount> kMaxLengths = {100, 20, 60, 40, 60};

constexpr std::array<const char *, kPayeeColumnCount> kFieldLabels = {
    "Adı Soyadı", "T.C. Kimlik No", "Banka Şube Adı", "Banka Hesap Numarası", "Bağlı Olduğu Vergi Dairesi"};

const CategoryTexts &texts(PaymentCategory category)
{
    return kCategoryTexts[size_t(categoryIndex(category))];
}

} // namespace

const PayeeTable &PayeeTable::of(PaymentCategory category)
{
    static const std::array<PayeeTable, kCategoryCount> tables = {
        PayeeTable(PaymentCategory::Pharmacy), PayeeTable(PaymentCategory::Hospital),
        PayeeTable(PaymentCategory::Treatment), PayeeTable(PaymentCategory::Private)};
    return tables[size_t(categoryIndex(category))];
}

QString PayeeTable::tableName() const
{
    return QString::fromUtf8(texts(m_category).table);
}

QString PayeeTable::columnName(PayeeColumn column) const
{
    return QString::fromUtf8(texts(m_category).columns[size_t(column)]);
}

int PayeeTable::maxLength(PayeeColumn column)
{
    return kMaxLengths[size_t(column)];
}

QString PayeeTable::fieldLabel(PayeeColumn column)
{
    return QString::fromUtf8(kFieldLabels[size_t(column)]);
}

QString PayeeTable::gridTitle() const
{
    return QString::fromUtf8(texts(m_category).gridTitle);
}

QString PayeeTable::fieldList() const
{
    QStringList names;
    for (PayeeColumn column : kAllPayeeColumns)
        names.append(columnName(column));
    return names.join(QStringLiteral(", "));
}

QString PayeeTable::createSql() const
{
    const QString table = tableName();
    const QString name = columnName(PayeeColumn::Name);
    // AUTOINCREMENT: a key is never handed out twice, so the keys an open
    // list holds cannot come to mean another payee.
    QString sql = QStringLiteral("CREATE TABLE %1 (Id INTEGER PRIMARY KEY AUTOINCREMENT, %2 TEXT COLLATE %3")
                      .arg(table, name, QString::fromLatin1(TurkishCollation::kName));
    for (PayeeColumn column : kAllPayeeColumns) {
        if (column != PayeeColumn::Name)
            sql += QStringLiteral(", %1 TEXT").arg(columnName(column));
    }
    sql += QStringLiteral(");\nCREATE INDEX %1_%2 ON %1 (%2);\n").arg(table, name);
    return sql;
}

namespace {
// NOT INDEXED keeps the engine off the name index and off any other.
QString indexUse(bool useNameIndex)
{
    return useNameIndex ? QString() : QStringLiteral(" NOT INDEXED");
}
} // namespace

QString PayeeTable::sortedKeysSql(bool useNameIndex) const
{
    return QStringLiteral("SELECT Id FROM %1%3 ORDER BY %2, Id")
        .arg(tableName(), columnName(PayeeColumn::Name), indexUse(useNameIndex));
}

QString PayeeTable::nameRangeKeysSql(bool useNameIndex) const
{
    return QStringLiteral("SELECT Id FROM %1%3 WHERE %2 >= ?1 AND %2 < ?2 ORDER BY %2, Id")
        .arg(tableName(), columnName(PayeeColumn::Name), indexUse(useNameIndex));
}

QString PayeeTable::selectSql() const
{
    return QStringLiteral("SELECT %1 FROM %2 WHERE Id = ?1").arg(fieldList(), tableName());
}

QString PayeeTable::insertSql() const
{
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (?1, ?2, ?3, ?4, ?5)").arg(tableName(), fieldList());
}

QString PayeeTable::insertManySql(int rows) const
{
    QStringList values(rows, QStringLiteral("(?, ?, ?, ?, ?)"));
    return QStringLiteral("INSERT INTO %1 (%2) VALUES %3").arg(tableName(), fieldList(), values.join(QStringLiteral(", ")));
}

QString PayeeTable::updateSql() const
{
    QStringList assignments;
    for (PayeeColumn column : kAllPayeeColumns)
        assignments.append(QStringLiteral("%1 = ?%2").arg(columnName(column)).arg(int(column) + 1));
    return QStringLiteral("UPDATE %1 SET %2 WHERE Id = ?6").arg(tableName(), assignments.join(QStringLiteral(", ")));
}

QString PayeeTable::deleteSql() const
{
    return QStringLiteral("DELETE FROM %1 WHERE Id = ?1").arg(tableName());
}
