#pragma once

#include <QString>

#include <array>

// One line of the form's account grid: fifteen plain text cells, numbered
// from 1 as the print step and the settings keys count them.
struct AccountCodeLine
{
    static constexpr int kColumnCount = 15;
    static constexpr int kAccountNumber = 1;
    static constexpr int kFirstInstitutional = 2; // levels 1-4: columns 2-5
    static constexpr int kFirstFunctional = 6; // levels 1-4: columns 6-9
    static constexpr int kFinancing = 10;
    static constexpr int kFirstEconomic = 11; // levels 1-4: columns 11-14
    static constexpr int kName = 15;
    static constexpr int kCodeColumnCount = 14; // the columns before the name

    static constexpr bool isColumn(int column) { return column >= 1 && column <= kColumnCount; }

    // Outside 1..15 reads as empty.
    QString text(int column) const
    {
        return isColumn(column) ? cells[std::size_t(column - 1)] : QString();
    }

    std::array<QString, kColumnCount> cells;

    friend bool operator==(const AccountCodeLine &, const AccountCodeLine &) = default;
};
