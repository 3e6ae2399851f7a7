#pragma once

#include "base/PaymentCategory.h"
#include "registry/PayeeTable.h"

#include <QString>

#include <array>

// What each payment category brings on the main window: its selector item,
// its list grid, its panel and its payee fields.
struct CategoryScreen
{
    PaymentCategory category;
    QString selectorItem;
    QString gridName;
    QString panelName;
    QString payeeGroupCaption; // empty: the private category's grey title band instead
    // The five payee edits in column order: name, identity number, bank
    // branch, bank account, tax office.
    std::array<QString, kPayeeColumnCount> payeeEditNames;
    // Columns in the order the Tab key visits them.
    std::array<int, kPayeeColumnCount> tabOrder;
};

const CategoryScreen &categoryScreen(PaymentCategory category);
