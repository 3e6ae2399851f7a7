#pragma once

#include "computation/PreferenceSettings.h"

#include <QString>

#include <utility>

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
    // Preferences::duplicateGuardDays.
    virtual int duplicateGuardDays() const = 0;
};

// Preferences held as values, for a computation without the dialog: the
// settings file's, or a fresh start's.
class StoredPaymentPreferences final : public PaymentPreferences
{
public:
    explicit StoredPaymentPreferences(Preferences values = {}) : m_values(std::move(values)) {}

    const Preferences &values() const { return m_values; }
    void setValues(Preferences values) { m_values = std::move(values); }

    long double stampDutyRate() const override { return m_values.stampDutyRate(); }
    int currencyChoice() const override { return m_values.currencyChoice; }
    bool previewBeforePrinting() const override { return m_values.previewBeforePrinting; }
    bool fillApprovalDates() const override { return m_values.fillApprovalDates; }
    int duplicateGuardDays() const override { return m_values.duplicateGuardDays; }

private:
    Preferences m_values;
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
