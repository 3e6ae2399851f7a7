#include "reference/AutomaticDates.h"

#include <QDate>

namespace AutomaticDates {

QString shortDate(const QDate &day)
{
    return day.toString(u"dd.MM.yyyy");
}

QString budgetYear(const QDate &day)
{
    return QString::number(shortDate(day).mid(6, 4).toInt());
}

} // namespace AutomaticDates
