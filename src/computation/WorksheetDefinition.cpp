#include "computation/WorksheetDefinition.h"

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

std::array<WorksheetDefinition, kCategoryCount> buildDefinitions()
{
    WorksheetDefinition pharmacy{
        .category = PaymentCategory::Pharmacy,
        .pageCaption = name("Eczane"),
        .lines = sevenLines({name("Edit1"), name("Edit4"), name("Edit6"), name("Edit7"), name("Edit10"),
                             name("Edit11"), name("Edit14")},
                            kMedicines, kMedicines, true),
        .debitTotalField = name("Edit15"),
        .creditTotalField = name("Edit16"),
        .grossLine = 1,
        .netLine = 3,
        .stampAlwaysApplies = true,
        .liveWordsLabel = name("LabEczane"),
        .firstSentenceLabel = name("LabelEcz1"),
        .secondSentenceLabel = name("LabelEcz2"),
        .clearButton = name("BtnSil1"),
        .computeButton = name("BtnHazir1"),
        .printButton = name("BtnPrint"),
    };

    WorksheetDefinition hospital{
        .category = PaymentCategory::Hospital,
        .pageCaption = name("Hastane"),
        .lines = sevenLines({name("Edit17"), name("Edit20"), name("Edit22"), name("Edit23"), name("Edit26"),
                             name("Edit27"), name("Edit30")},
                            kHospitalCare, kHospitalCare, true),
        .debitTotalField = name("Edit31"),
        .creditTotalField = name("Edit32"),
        .grossLine = 1,
        .netLine = 3,
        .stampAlwaysApplies = false,
        .stampSwitchName = name("ChkHastane"),
        .stampSwitchCaption = QStringLiteral("Özel Hastane İşlemi (Damga Vergisi)"),
        .liveWordsLabel = name("LabHastane"),
        .firstSentenceLabel = name("LabelHst1"),
        .secondSentenceLabel = name("LabelHst2"),
        .clearButton = name("BtnSil2"),
        .computeButton = name("BtnHazir2"),
        .printButton = name("BtnPrint2"),
    };

    WorksheetDefinition treatment{
        .category = PaymentCategory::Treatment,
        .pageCaption = name("Tedavi"),
        .lines = {
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
        .debitTotalField = name("Edit68"),
        .creditTotalField = name("Edit69"),
        .grossLine = 7,
        .netLine = 4,
        .stampAlwaysApplies = false,
        .stampSwitchName = name("ChkTedavi"),
        .stampSwitchCaption = kStampDuty,
        .liveWordsLabel = name("LabNakit"),
        .firstSentenceLabel = name("LabelTdv1"),
        .secondSentenceLabel = name("LabelTdv2"),
        .clearButton = name("BtnSil3"),
        .computeButton = name("BtnHazir3"),
        .printButton = name("BtnPrint3"),
    };

    // The private category's amount caption comes from the settings file;
    // the page carries its seven fields without captions.
    WorksheetDefinition private_{
        .category = PaymentCategory::Private,
        .pageCaption = name("Ozel"),
        .lines = sevenLines({name("Edit70"), name("Edit73"), name("Edit75"), name("Edit76"), name("Edit79"),
                             name("Edit80"), name("Edit83")},
                            QStringLiteral("Kamu Personeli .......... Giderleri"), QString(), false),
        .debitTotalField = name("Edit84"),
        .creditTotalField = name("Edit85"),
        .grossLine = 1,
        .netLine = 3,
        .stampAlwaysApplies = false,
        .stampSwitchName = name("ChkOzel"),
        .stampSwitchCaption = kStampDuty,
        .liveWordsLabel = name("LabOzel"),
        .firstSentenceLabel = name("LabelOzel1"),
        .secondSentenceLabel = name("LabelOzel2"),
        .clearButton = name("BtnSil4"),
        .computeButton = name("BtnHazir4"),
        .printButton = name("BtnPrint4"),
    };

    return {pharmacy, hospital, treatment, private_};
}

} // namespace

QString WorksheetDefinition::fieldName(int field) const
{
    if (field == debitTotal())
        return debitTotalField;
    if (field == creditTotal())
        return creditTotalField;
    return line(field).fieldName;
}

int WorksheetDefinition::fieldNumber(const QString &name) const
{
    for (int field = 1; field <= fieldCount(); ++field) {
        if (fieldName(field) == name)
            return field;
    }
    return 0;
}

std::vector<int> WorksheetDefinition::amountLines() const
{
    std::vector<int> numbers;
    for (int number = 1; number <= lineCount(); ++number) {
        if (line(number).rule == LineRule::Amount)
            numbers.push_back(number);
    }
    return numbers;
}

int WorksheetDefinition::stampLine() const
{
    for (int number = 1; number <= lineCount(); ++number) {
        if (line(number).rule == LineRule::StampDuty)
            return number;
    }
    return 0;
}

bool WorksheetDefinition::isAmountLine(int field) const
{
    return field >= 1 && field <= lineCount() && line(field).rule == LineRule::Amount;
}

const WorksheetDefinition &worksheetDefinition(PaymentCategory category)
{
    static const std::array<WorksheetDefinition, kCategoryCount> definitions = buildDefinitions();
    return definitions[std::size_t(categoryIndex(category))];
}
