#include "referencedata/AutomaticDates.h"

#include "base/TurkishText.h"

#include <QDate>

namespace AutomaticDates {

QString shortDate(const QDate &day)
{
    return TurkishText::shortDate(day);
}

QString budgetYear(const QDate &day)
{
    return QString::number(shortDate(day).mid(6, 4).toInt());
}

} // namespace AutomaticDates
