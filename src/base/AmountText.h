#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

#include <optional>

// The text form of an amount as the amount fields show it, in the Turkish
// convention whatever the system locale: thousands ".", decimals ",", an
// optional leading "-" ("1.234,50", "0,00", "-12,00"). Values are long double
// (extended precision where the compiler has it).
namespace AmountText {
Q_NAMESPACE

enum class TCurrSymbolSet { None, TL, YTL, EURO, DOLAR };
Q_ENUM_NS(TCurrSymbolSet)

inline constexpr QChar kThousandsSeparator = u'.';
inline constexpr QChar kDecimalSeparator = u',';

// "", " TL", " YTL", " €", " $".
QString currencySuffix(TCurrSymbolSet symbol);

// Removes as many characters from the end as the suffix has, without looking
// at them: a text that does not carry the suffix loses its last characters.
QString stripCurrencySuffix(const QString &text, TCurrSymbolSet symbol);

// "#,##0" for no decimals, otherwise "#,##0." and one "0" per decimal.
QString pattern(int decimals);

// The display form of value with the given number of decimals, rounded half
// away from zero. A value that rounds to zero never shows a minus sign.
QString format(long double value, int decimals);

// The text's digits and sign with the decimal separator put before the last
// `decimals` digits, whatever separators the text had: "8,5" gives ",85" for
// two decimals. Anything that is not a plain signed number gives "0".
QString normalForm(const QString &text, int decimals);

// The value of a field's text: suffix stripped, normal form, converted. An
// empty or unreadable text reads 0.
long double TextAsFloat(const QString &text, int decimals,
                        TCurrSymbolSet symbol = TCurrSymbolSet::None);

// The text brought into display form through its normal form.
QString reformat(const QString &text, int decimals);

// The value of a text in display form taken literally (no reinterpretation
// of the digits): suffix stripped, every "." dropped, "," as the decimal
// separator. Empty and non-numeric texts give no value.
std::optional<long double> TextToValue(const QString &text,
                                       TCurrSymbolSet symbol = TCurrSymbolSet::None);

// The whole lira of a field, truncated toward zero, plain digits: "1.234,50"
// gives "1234", "-12,99" gives "-12".
qint64 liraValue(const QString &text, int decimals = 2);
QString LiraPart(const QString &text, int decimals = 2);

// The last two characters of the text ("1.234,50" gives "50"); a shorter text
// is returned as it is.
QString KurusPart(const QString &text);

// A text pasted into an amount field, in display form, if it is an amount
// written the Turkish way: an optional sign, the whole part with or without
// thousands separators ("." or blanks, in groups of three), at most
// `decimals` decimals after ",", blanks around it and an optional "TL",
// "YTL" or "₺". "1.234,5", "1234,50" and "1 234,50 TL" all give "1.234,50".
// Anything else, an English form such as "1,234.50" or more decimals than
// the field shows, gives nothing: the field keeps its text.
std::optional<QString> pastedAmount(const QString &text, int decimals);

} // namespace AmountText
