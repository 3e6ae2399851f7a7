#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// An amount as it is written the Turkish way ("-1.234,50"), taken apart into
// its sign and its digits exactly as written: no floating point on the way,
// so that each reader decides itself what the digits are worth.
class WrittenAmount
{
public:
    // What a reader accepts beyond "[-]digits[,decimals]" with "." groups.
    struct Rules {
        // The characters that may group the whole digits in threes; a text
        // uses one of them throughout.
        QStringView thousandsSeparators = u".";
        bool minusSign = true;
        bool plusSign = false;
        // "TL", "YTL" or "₺" after the amount, in any case, or "₺" before it,
        // with blanks between or without.
        bool currencyUnit = false;
        // Decimals without whole digits: ",5".
        bool bareDecimals = false;
        int maxDecimals = 2;
    };

    // Never set on a zero amount: "-0,00" reads as 0,00.
    bool negative = false;
    // Without leading zeros; "0" when the whole part is zero or not written.
    QString whole = QStringLiteral("0");
    // As written, possibly fewer than a field shows; empty without ",".
    QString decimals;

    bool operator==(const WrittenAmount &) const = default;

    // The amount of a text, blanks around it allowed, or nothing where the
    // text is anything else: groups that are not of three, separators of two
    // kinds, more decimals than allowed, a "," without decimals, other
    // characters.
    static std::optional<WrittenAmount> read(QStringView text, const Rules &rules);

    // The digits in groups of three from the right: "1234567" gives
    // "1.234.567".
    static QString grouped(QStringView digits);

    // "-1.234,50": the sign, the whole digits grouped, "," and the decimals
    // where there are any.
    QString displayForm() const;
    // "-1234,50": the same without thousands points, for spreadsheets.
    QString plainForm() const;

private:
    static void appendGrouped(QString &text, QStringView digits);
    QString form(bool thousands) const;
};
