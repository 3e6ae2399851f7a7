#pragma once

#include <QString>

// The preferences that the worksheets and printing consult at the moment they
// need them. The preferences dialog is the live source: what its controls
// hold is what is in effect, confirmed or not.
class PaymentPreferences
{
public:
    virtual ~PaymentPreferences() = default;

    // Stamp duty per thousand, read from the rate field as a number.
    virtual long double stampDutyRate() const = 0;
    // 0 "YTL - YKr"; any other index counts as "TL - Kr".
    virtual int currencyChoice() const = 0;
    virtual bool previewBeforePrinting() const = 0;
    virtual bool fillApprovalDates() const = 0;
};

// The unit words and captions of a currency choice.
struct CurrencyUnits
{
    QString mainWord; // " TL." / " YTL."
    QString fractionWord; // " Kr." / " YKr."
    QString mainCaption; // "TL" / "YTL"
    QString fractionCaption; // "Kr" / "YKr"
};

inline CurrencyUnits currencyUnits(int currencyChoice)
{
    if (currencyChoice == 0)
        return {QStringLiteral(" YTL."), QStringLiteral(" YKr."), QStringLiteral("YTL"), QStringLiteral("YKr")};
    return {QStringLiteral(" TL."), QStringLiteral(" Kr."), QStringLiteral("TL"), QStringLiteral("Kr")};
}
