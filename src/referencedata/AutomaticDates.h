#pragma once

#include "referencedata/InstitutionSettings.h"

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

// What the institution window's idle pass writes into the budget year
// ("EdButceYili") and the journal date ("EdTarih"): each from the day when
// its "Otm." box (CheckBox1, CheckBox2) is ticked, empty when it is not.
struct YearAndDate
{
    QString year;
    QString date;
};
YearAndDate of(const InstitutionValues &values, const QDate &day);
// The values with those two written, as they are after an idle pass on day.
void apply(InstitutionValues &values, const QDate &day);

} // namespace AutomaticDates
