#include "referencedata/CodeSheet.h"

#include <span>

namespace {

using RowTexts = std::array<const char16_t *, AccountCodeLine::kColumnCount>;

// The institution's usual lines, cell for cell. The odd ones are as the
// offices know them: the treatment sheet's second "800", the private sheet's
// "805" before "835", the hospital's "Gider YAnsıtma Hesabı", the private
// names left as placeholders for the user to overwrite.
constexpr RowTexts kPharmacy[] = {
    {u"830", u"13", u"01", u"31", u"62", u"09", u"1", u"2", u"00", u"1", u"03", u"09", u"02", u"01", u"Kamu Personel İlaç Giderleri"},
    {u"800", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"01", u"06", u"02", u"01", u"Damga Vergisi"},
    {u"103", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"02", u"00", u"00", u"00", u"Verilen Gönderme Emirleri Hesabı"},
    {u"630", u"13", u"01", u"31", u"62", u"09", u"1", u"2", u"00", u"", u"03", u"09", u"02", u"01", u"Kamu Personel İlaç Giderleri"},
    {u"835", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"00", u"00", u"00", u"00", u"Gider Yansıtma Hesabı"},
    {u"805", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"00", u"00", u"00", u"00", u"Gelir Yansıtma Hesabı"},
    {u"600", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"01", u"06", u"01", u"01", u"Damga Vergisi"},
};

constexpr RowTexts kHospital[] = {
    {u"830", u"13", u"01", u"31", u"62", u"09", u"1", u"2", u"00", u"1", u"03", u"09", u"01", u"01", u"Kamu Personel İlaç Giderleri"},
    {u"800", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"01", u"06", u"02", u"01", u"Damga Vergisi"},
    {u"103", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"02", u"00", u"00", u"00", u"Verilen Gönderme Emirleri Hesabı"},
    {u"630", u"13", u"01", u"31", u"62", u"09", u"1", u"2", u"00", u"", u"03", u"09", u"01", u"01", u"Kamu Personel İlaç Giderleri"},
    {u"835", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"00", u"00", u"00", u"00", u"Gider YAnsıtma Hesabı"},
    {u"805", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"00", u"00", u"00", u"00", u"Gelir Yansıtma Hesabı"},
    {u"600", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"01", u"06", u"01", u"01", u"Damga Vergisi"},
};

constexpr RowTexts kTreatment[] = {
    {u"830", u"13", u"01", u"31", u"62", u"09", u"1", u"2", u"00", u"1", u"03", u"09", u"01", u"01", u"Kamu Personeli Ted.ve Sağlık Mal.Gid."},
    {u"800", u"13", u"01", u"31", u"62", u"09", u"1", u"2", u"00", u"1", u"03", u"09", u"02", u"01", u"Kamu Personel İlaç Giderleri"},
    {u"800", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"01", u"06", u"02", u"01", u"Damga Vergisi"},
    {u"103", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"02", u"00", u"00", u"00", u"Verilen Gönderme Emirleri Hesabı"},
    {u"630", u"13", u"01", u"31", u"62", u"09", u"1", u"2", u"00", u"1", u"03", u"09", u"01", u"01", u"Kamu Personeli Ted.ve Sağlık Mal.Gid."},
    {u"630", u"13", u"01", u"31", u"62", u"09", u"1", u"2", u"00", u"1", u"03", u"09", u"02", u"01", u"Kamu Personel İlaç Giderleri"},
    {u"835", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"00", u"00", u"00", u"00", u"Gider Yansıtma Hesabı"},
    {u"805", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"00", u"00", u"00", u"00", u"Gelir Yansıtma Hesabı"},
    {u"600", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"01", u"06", u"01", u"01", u"Damga Vergisi"},
};

constexpr RowTexts kPrivate[] = {
    {u"830", u"13", u"01", u"31", u"62", u"09", u"1", u"2", u"00", u"1", u"03", u"09", u"01", u"01", u"Kamu Personeli .......... Giderleri"},
    {u"800", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"01", u"06", u"02", u"01", u"Damga Vergisi"},
    {u"103", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"02", u"00", u"00", u"00", u"Xx"},
    {u"630", u"13", u"01", u"31", u"62", u"09", u"1", u"2", u"00", u"", u"03", u"09", u"01", u"01", u"Kamu Personeli ............ Gid."},
    {u"805", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"00", u"00", u"00", u"00", u"Xxxx"},
    {u"835", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"00", u"00", u"00", u"00", u"Xxxxx"},
    {u"600", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"01", u"06", u"01", u"01", u"Damga Vergisi"},
};

std::span<const RowTexts> defaultRows(PaymentCategory category)
{
    switch (category) {
    case PaymentCategory::Pharmacy:
        return kPharmacy;
    case PaymentCategory::Hospital:
        return kHospital;
    case PaymentCategory::Treatment:
        return kTreatment;
    case PaymentCategory::Private:
        break;
    }
    return kPrivate;
}

const AccountCodeLine kNoLine;

} // namespace

CodeSheet::CodeSheet(PaymentCategory category)
    : m_category(category)
{
    for (const RowTexts &texts : defaultRows(category)) {
        AccountCodeLine line;
        for (std::size_t i = 0; i < texts.size(); ++i)
            line.cells[i] = QString::fromUtf16(texts[i]);
        m_lines.append(std::move(line));
    }
}

int CodeSheet::rowCount(PaymentCategory category)
{
    return int(defaultRows(category).size());
}

QString CodeSheet::text(int row, int column) const
{
    return contains(row, column) ? m_lines.at(row - 1).text(column) : QString();
}

const AccountCodeLine &CodeSheet::line(int row) const
{
    return row >= 1 && row <= rowCount() ? m_lines.at(row - 1) : kNoLine;
}

bool CodeSheet::setText(int row, int column, const QString &text)
{
    if (!contains(row, column) || isFixed(row, column))
        return false;
    m_lines[row - 1].cells[std::size_t(column - 1)] = text;
    return true;
}

bool CodeSheet::isFixed(PaymentCategory category, int row, int column)
{
    return category == PaymentCategory::Private && column == AccountCodeLine::kName && (row == 2 || row == 7);
}

QString CodeSheet::fixedText()
{
    return QStringLiteral("Damga Vergisi");
}

CodeSheets defaultCodeSheets()
{
    return {CodeSheet(PaymentCategory::Pharmacy), CodeSheet(PaymentCategory::Hospital),
            CodeSheet(PaymentCategory::Treatment), CodeSheet(PaymentCategory::Private)};
}
