#pragma once

#include "base/PaymentCategory.h"

#include <QString>

#include <array>

// The five fields of a payee, in the order of the panel's rows.
enum class PayeeColumn : int {
    Name = 0,
    IdentityNumber = 1,
    BankBranch = 2,
    BankAccount = 3,
    TaxOffice = 4,
};

inline constexpr int kPayeeColumnCount = 5;

inline constexpr std::array<PayeeColumn, kPayeeColumnCount> kAllPayeeColumns = {
    PayeeColumn::Name, PayeeColumn::IdentityNumber, PayeeColumn::BankBranch, PayeeColumn::BankAccount,
    PayeeColumn::TaxOffice};

// One payee's field texts; a null text is an absent value.
using PayeeFields = std::array<QString, kPayeeColumnCount>;

// Everything that differs between the four payment categories: the table and its
// columns, the texts the window shows for the category, and the statements the
// lists run. One description per category; get it with of().
class PayeeTable
{
public:
    static const PayeeTable &of(PaymentCategory category);

    PaymentCategory category() const { return m_category; }
    QString tableName() const;
    QString columnName(PayeeColumn column) const;

    // The most characters a field holds; the edits accept no more.
    static int maxLength(PayeeColumn column);
    // The field's caption on the panel, without the trailing " :".
    static QString fieldLabel(PayeeColumn column);

    // " Eczane Adı", " Hastane Adı", " Adı Soyadı", " Başlıklar".
    QString gridTitle() const;

    // The table and the index that keeps it in Turkish order by name.
    QString createSql() const;
    // Keys of all payees in name order. Without the name index the order
    // is worked out from the names themselves.
    QString sortedKeysSql(bool useNameIndex = true) const;
    // Keys of the payees whose name lies in [?1, ?2), in name order.
    QString nameRangeKeysSql(bool useNameIndex = true) const;
    // The five fields of the payee with key ?1.
    QString selectSql() const;
    // Five field parameters ?1..?5.
    QString insertSql() const;
    // rows payees at once: five field parameters a payee, in order.
    QString insertManySql(int rows) const;
    // Five field parameters ?1..?5, key ?6.
    QString updateSql() const;
    QString deleteSql() const;

private:
    explicit PayeeTable(PaymentCategory category) : m_category(category) {}
    QString fieldList() const;

    PaymentCategory m_category;
};
