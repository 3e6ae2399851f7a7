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

YearAndDate of(const InstitutionValues &values, const QDate &day)
{
    return {values.isTicked(QStringLiteral("CheckBox1")) ? budgetYear(day) : QString(),
            values.isTicked(QStringLiteral("CheckBox2")) ? shortDate(day) : QString()};
}

void apply(InstitutionValues &values, const QDate &day)
{
    const YearAndDate automatic = of(values, day);
    values.texts.insert(QStringLiteral("EdButceYili"), automatic.year);
    values.texts.insert(QStringLiteral("EdTarih"), automatic.date);
}

} // namespace AutomaticDates
