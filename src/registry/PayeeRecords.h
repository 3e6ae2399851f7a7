#pragma once

#include "base/PaymentCategory.h"
#include "registry/PayeeTable.h"

#include <QList>

#include <array>

// Payees of the four categories, in category order, each with its five
// field texts (a null text is an absent value): what an import brings in.
using PayeeRecords = std::array<QList<PayeeFields>, kCategoryCount>;

inline qsizetype payeeCount(const PayeeRecords &records)
{
    qsizetype count = 0;
    for (const QList<PayeeFields> &list : records)
        count += list.size();
    return count;
}
