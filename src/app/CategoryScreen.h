#pragma once

#include "base/PaymentCategory.h"

#include <QString>

#include <array>

// What each kind of payment brings on the main window: its selector item, its
// list grid, its kind panel and its payee fields.
struct CategoryScreen
{
    PaymentCategory category;
    QString selectorItem;
    QString gridName;
    QString panelName;
    QString payeeGroupCaption; // empty: the private kind's grey title strip instead
    // The five payee edits, rows 1 to 5: name, identity number, bank branch,
    // bank account, tax office.
    std::array<QString, 5> payeeEditNames;
    // Rows in the order the Tab key visits them (0-based).
    std::array<int, 5> tabOrder;
};

const CategoryScreen &categoryScreen(PaymentCategory category);

// Captions and widths of the five payee rows, the same in every kind.
QString payeeFieldCaption(int row);
int payeeFieldWidth(int row);
