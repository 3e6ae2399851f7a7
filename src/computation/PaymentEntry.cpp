#include "computation/PaymentEntry.h"

#include "base/AmountInWords.h"
#include "base/AmountText.h"
#include "base/WindowsColour.h"
#include "computation/PaymentPreferences.h"
#include "computation/WorksheetFields.h"

#include <charconv>

namespace PaymentEntry {

namespace {

// The shortest general decimal form with 15 significant digits, read back:
// a typed 12,57 keeps its kuruş whatever binary neighbour it landed on.
long double fifteenDigits(long double value)
{
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value,
                                       std::chars_format::general, 15);
    if (written.ec != std::errc())
        return value;
    long double readBack = 0;
    const auto parsed = std::from_chars(buffer, written.ptr, readBack);
    return parsed.ec == std::errc() ? readBack : value;
}

} // namespace

long double fieldValue(const QString &text)
{
    return AmountText::TextAsFloat(text, kDecimals);
}

QString valueText(long double value)
{
    return AmountText::format(value, kDecimals);
}

long double stampDuty(long double rate, long double base)
{
    return rate * base / 1000.0L;
}

QString words(const QString &fieldText, int currencyChoice)
{
    const CurrencyUnits units = currencyUnits(currencyChoice);
    const long double value = fifteenDigits(AmountText::TextToValue(fieldText).value_or(0.0L));
    return AmountToWords(units.mainWord, units.fractionWord, kDecimals, value);
}

QString liveWordsAtRest()
{
    return QStringLiteral("...");
}

QString firstSentence(const QString &grossWords)
{
    return QStringLiteral("Yukarıda yazılı  YALNIZ: ") + grossWords
        + QStringLiteral(" zenparol ettirilmiştir. Ödenmesi / Mahsubu gerekir.");
}

QString secondSentence(const QString &netWords)
{
    return QStringLiteral("YALNIZ: ") + netWords + QStringLiteral(" aldım.");
}

long double base(const WorksheetFields &fields)
{
    long double sum = 0;
    for (const int line : fields.definition().amountLines())
        sum += fieldValue(fields.text(line));
    return sum;
}

bool hasAmount(const WorksheetFields &fields)
{
    for (const int line : fields.definition().amountLines()) {
        if (!fields.text(line).isEmpty())
            return true;
    }
    return false;
}

void amountChanged(WorksheetFields &fields, int line, const PaymentPreferences &preferences)
{
    const WorksheetDefinition &definition = fields.definition();
    if (definition.stampAlwaysApplies || fields.stampSwitchChecked())
        fields.setText(definition.stampLine(), valueText(stampDuty(preferences.stampDutyRate(), base(fields))));
    else
        fields.setStampBackground(WindowsColour::buttonFace());

    const QString text = fields.text(line);
    if (!text.isEmpty())
        fields.setLiveWords(words(text, preferences.currencyChoice()));
}

void compute(WorksheetFields &fields, const PaymentPreferences &preferences)
{
    const WorksheetDefinition &definition = fields.definition();
    fields.setComputing(true);

    for (int number = 1; number <= definition.lineCount(); ++number) {
        const EntryLine &line = definition.line(number);
        switch (line.rule) {
        case LineRule::Amount:
        case LineRule::StampDuty:
            break;
        case LineRule::Net:
            fields.setText(number, valueText(base(fields) - fieldValue(fields.text(definition.stampLine()))));
            break;
        case LineRule::Gross:
            fields.setText(number, valueText(base(fields)));
            break;
        case LineRule::Copy:
            fields.setText(number, fields.text(line.copyOf));
            break;
        }
    }
    for (const EntryColumn column : {EntryColumn::Debit, EntryColumn::Credit}) {
        long double total = 0;
        for (int number = 1; number <= definition.lineCount(); ++number) {
            if (definition.line(number).column == column)
                total += fieldValue(fields.text(number));
        }
        fields.setText(column == EntryColumn::Debit ? definition.debitTotal() : definition.creditTotal(),
                       valueText(total));
    }

    const int currency = preferences.currencyChoice();
    fields.setSentences(firstSentence(words(fields.text(definition.grossLine), currency)),
                        secondSentence(words(fields.text(definition.netLine), currency)));
    fields.setPrintEnabled(true);
    fields.setComputing(false);
}

void clear(WorksheetFields &fields)
{
    // Emptying an amount runs its live update, which may write "0,00" into
    // the stamp-duty field; that field comes next and is emptied too.
    for (int field = 1; field <= fields.definition().fieldCount(); ++field)
        fields.setText(field, QString());
    fields.setPrintEnabled(false);
    fields.setLiveWords(liveWordsAtRest());
}

void stampSwitchClicked(WorksheetFields &fields)
{
    clear(fields);
    fields.setStampBackground(fields.stampSwitchChecked() ? QColor(Qt::white) : WindowsColour::buttonFace());
}

} // namespace PaymentEntry
