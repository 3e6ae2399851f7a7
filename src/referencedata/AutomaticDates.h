#pragma once

#include <QString>

class QDate;

// The budget year and journal date that the institution window fills in by
// itself. The offices work with Turkish dates whatever the system's regional
// settings: two-digit day and month, four-digit year, separated by points.
namespace AutomaticDates {

// "05.03.2024".
QString shortDate(const QDate &day);

// The four characters from the seventh position of the short date, as a
// number and back: "2024".
QString budgetYear(const QDate &day);

} // namespace AutomaticDates
