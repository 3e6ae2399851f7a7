#include "computation/WorksheetKind.h"

#include <array>

namespace {

const QString kOrders = QStringLiteral("Verilen Gönderme Emirleri Hesabı");
const QString kExpenseReflection = QStringLiteral("Gider Yansıtma Hesabı");
const QString kRevenueReflection = QStringLiteral("Gelir Yansıtma Hesabı");
const QString kStampDuty = QStringLiteral("Damga Vergisi");
const QString kMedicines = QStringLiteral("Kamu Personel İlaç Giderleri");
const QString kHospitalCare = QStringLiteral("Kamu Personeli Ted.ve Sağlık Mal.Gid.");
const QString kTreatmentCare = QStringLiteral("Kamu Pers. Ted.ve Sağ. Mal.Gid.");

constexpr EntryColumn D = EntryColumn::Debit;
constexpr EntryColumn C = EntryColumn::Credit;

// The seven lines that Eczane, Hastane and Ozel share. The first two are the
// panel's amount and stamp-duty fields with the panel's captions.
std::vector<EntryLine> sevenLines(const std::array<QString, 7> &fields, const QString &amountCaption,
                                  const QString &expenseCaption, bool withCaptions)
{
    auto caption = [withCaptions](const QString &text) { return withCaptions ? text : QString(); };
    return {
        {fields[0], D, amountCaption, LineRule::Amount},
        {fields[1], C, kStampDuty, LineRule::StampDuty},
        {fields[2], C, caption(kOrders), LineRule::Net},
        {fields[3], D, caption(expenseCaption), LineRule::Copy, 1},
        {fields[4], C, caption(kExpenseReflection), LineRule::Copy, 1},
        {fields[5], D, caption(kRevenueReflection), LineRule::Copy, 2},
        {fields[6], C, caption(kStampDuty), LineRule::Copy, 2},
    };
}

QString name(const char *text)
{
    return QString::fromLatin1(text);
}

std::array<WorksheetKind, kCategoryCount> buildKinds()
{
    WorksheetKind pharmacy{
        PaymentCategory::Pharmacy, name("Eczane"),
        sevenLines({name("Edit1"), name("Edit4"), name("Edit6"), name("Edit7"), name("Edit10"),
                    name("Edit11"), name("Edit14")},
                   kMedicines, kMedicines, true),
        name("Edit15"), name("Edit16"), 1, 3, true, QString(), QString(), name("LabEczane"),
        name("LabelEcz1"), name("LabelEcz2"), name("BtnSil1"), name("BtnHazir1"), name("BtnPrint")};

    WorksheetKind hospital{
        PaymentCategory::Hospital, name("Hastane"),
        sevenLines({name("Edit17"), name("Edit20"), name("Edit22"), name("Edit23"), name("Edit26"),
                    name("Edit27"), name("Edit30")},
                   kHospitalCare, kHospitalCare, true),
        name("Edit31"), name("Edit32"), 1, 3, false, name("ChkHastane"),
        QStringLiteral("Özel Hastane İşlemi (Damga Vergisi)"), name("LabHastane"), name("LabelHst1"),
        name("LabelHst2"), name("BtnSil2"), name("BtnHazir2"), name("BtnPrint2")};

    WorksheetKind treatment{
        PaymentCategory::Treatment, name("Tedavi"),
        {
            {name("Edit50"), D, kTreatmentCare, LineRule::Amount},
            {name("Edit52"), D, kMedicines, LineRule::Amount},
            {name("Edit55"), C, kStampDuty, LineRule::StampDuty},
            {name("Edit57"), C, kOrders, LineRule::Net},
            {name("Edit58"), D, kTreatmentCare, LineRule::Copy, 1},
            {name("Edit60"), D, kMedicines, LineRule::Copy, 2},
            {name("Edit63"), C, kExpenseReflection, LineRule::Gross},
            {name("Edit64"), D, kRevenueReflection, LineRule::Copy, 3},
            {name("Edit67"), C, kStampDuty, LineRule::Copy, 3},
        },
        name("Edit68"), name("Edit69"), 7, 4, false, name("ChkTedavi"), kStampDuty, name("LabNakit"),
        name("LabelTdv1"), name("LabelTdv2"), name("BtnSil3"), name("BtnHazir3"), name("BtnPrint3")};

    // The private kind's amount caption comes from the settings file; the
    // page carries its seven fields without captions.
    WorksheetKind private_{
        PaymentCategory::Private, name("Ozel"),
        sevenLines({name("Edit70"), name("Edit73"), name("Edit75"), name("Edit76"), name("Edit79"),
                    name("Edit80"), name("Edit83")},
                   QStringLiteral("Kamu Personeli .......... Giderleri"), QString(), false),
        name("Edit84"), name("Edit85"), 1, 3, false, name("ChkOzel"), kStampDuty, name("LabOzel"),
        name("LabelOzel1"), name("LabelOzel2"), name("BtnSil4"), name("BtnHazir4"), name("BtnPrint4")};

    return {pharmacy, hospital, treatment, private_};
}

} // namespace

QString WorksheetKind::fieldName(int field) const
{
    if (field == debitTotal())
        return debitTotalField;
    if (field == creditTotal())
        return creditTotalField;
    return line(field).fieldName;
}

int WorksheetKind::fieldNumber(const QString &name) const
{
    for (int field = 1; field <= fieldCount(); ++field) {
        if (fieldName(field) == name)
            return field;
    }
    return 0;
}

std::vector<int> WorksheetKind::amountLines() const
{
    std::vector<int> numbers;
    for (int number = 1; number <= lineCount(); ++number) {
        if (line(number).rule == LineRule::Amount)
            numbers.push_back(number);
    }
    return numbers;
}

int WorksheetKind::stampLine() const
{
    for (int number = 1; number <= lineCount(); ++number) {
        if (line(number).rule == LineRule::StampDuty)
            return number;
    }
    return 0;
}

bool WorksheetKind::isAmountLine(int field) const
{
    return field >= 1 && field <= lineCount() && line(field).rule == LineRule::Amount;
}

const WorksheetKind &worksheetKind(PaymentCategory category)
{
    static const std::array<WorksheetKind, kCategoryCount> kinds = buildKinds();
    return kinds[std::size_t(categoryIndex(category))];
}
