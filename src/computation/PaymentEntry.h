#pragma once

#include <QString>

class PaymentPreferences;
class WorksheetFields;

// The arithmetic of a payment order and its sentences in words, the same for
// the four categories: the category's definition says which fields take part. Values are
// long double and are rounded only where one is written into a field; every
// later use reads the field back.
namespace PaymentEntry {

inline constexpr int kDecimals = 2;

// What a field's text counts as: empty or unreadable texts count as 0.
long double fieldValue(const QString &text);
// The text a value is written as: rounded to the kuruş, a half away from zero.
QString valueText(long double value);

// Rate per thousand times the base, multiplied first.
long double stampDuty(long double rate, long double base);

// A field's text in words with the unit words of the currency choice. The
// text is taken literally and brought to 15 significant digits first. An
// empty or unreadable text counts as 0, like everywhere in the computation:
// "Sıfır TL.".
QString words(const QString &fieldText, int currencyChoice);

// The live words label before any amount and after a clear.
QString liveWordsAtRest();

QString firstSentence(const QString &grossWords);
QString secondSentence(const QString &netWords);

// The sum of the category's amount fields, read back in line order.
long double base(const WorksheetFields &fields);
// Whether any amount field holds text ("0,00" counts).
bool hasAmount(const WorksheetFields &fields);

// The handlers of a worksheet.
void amountChanged(WorksheetFields &fields, int line, const PaymentPreferences &preferences);
void compute(WorksheetFields &fields, const PaymentPreferences &preferences);
void clear(WorksheetFields &fields);
void stampSwitchClicked(WorksheetFields &fields);

} // namespace PaymentEntry
