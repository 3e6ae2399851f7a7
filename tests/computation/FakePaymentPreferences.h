#pragma once

#include "base/AmountText.h"
#include "computation/PaymentPreferences.h"

// The preferences as the dialog's controls would hold them: the rate as the
// text of its amount field, the currency as the list's index.
class FakePaymentPreferences : public PaymentPreferences
{
public:
    QString rateText = QStringLiteral("8,25");
    int currency = 1;

    long double stampDutyRate() const override { return AmountText::TextAsFloat(rateText, 2); }
    int currencyChoice() const override { return currency; }
    bool previewBeforePrinting() const override { return true; }
    bool fillApprovalDates() const override { return true; }
    int duplicateGuardDays() const override { return 45; }
};
