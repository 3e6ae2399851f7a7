#include "issuing/DocumentFilling.h"

#include "base/AmountText.h"
#include "base/TurkishText.h"
#include "computation/PaymentPreferences.h"
#include "computation/WorksheetDefinition.h"
#include "issuing/PaymentOrderTemplate.h"

#include <array>

namespace DocumentFilling {

namespace {

using namespace PaymentOrderTemplate;

QString memo(int number)
{
    return QStringLiteral("Memo%1").arg(number);
}

// Text field of the institution window → box.
struct Copy
{
    const char *box;
    const char *field;
};

void copyFields(BoxWrites &writes, const InstitutionValues &institution, std::initializer_list<Copy> copies)
{
    for (const Copy &copy : copies)
        writes.append({QString::fromLatin1(copy.box), institution.text(QString::fromLatin1(copy.field))});
}

std::array<DocumentDefinition, kCategoryCount> buildDefinitions()
{
    return {{
        {.category = PaymentCategory::Pharmacy,
         .gridRows = 7,
         .budgetExpenseLine = 1,
         .deductionLine = 2,
         .payableLine = 3,
         .attachmentLines = 4},
        // Rows 6 and 7 go together: the stamp duty revenue only with its
        // reflection.
        {.category = PaymentCategory::Hospital,
         .gridRows = 7,
         .conditionalRow = 7,
         .conditionalRowNeeds = 6,
         .budgetExpenseLine = 1,
         .deductionLine = 2,
         .payableLine = 3,
         .attachmentLines = 4},
        {.category = PaymentCategory::Treatment,
         .gridRows = 9,
         .budgetExpenseLine = 7,
         .deductionLine = 9,
         .payableLine = 4,
         .attachmentLines = 6},
        {.category = PaymentCategory::Private,
         .gridRows = 7,
         .budgetExpenseLine = 1,
         .deductionLine = 2,
         .deductionNeeds = 7,
         .payableLine = 3,
         .attachmentLines = 6},
    }};
}

QString lineText(const PaymentInputs &inputs, int line)
{
    return inputs.entry.lines.value(line - 1);
}

} // namespace

QString handwrittenDate()
{
    return QStringLiteral("..../..../20......");
}

const DocumentDefinition &documentDefinition(PaymentCategory category)
{
    static const std::array<DocumentDefinition, kCategoryCount> definitions = buildDefinitions();
    return definitions[std::size_t(categoryIndex(category))];
}

void writeAmount(BoxWrites &writes, const QString &liraBox, const QString &kurusBox, const QString &fieldText)
{
    if (fieldText.isEmpty()) {
        writes.append({liraBox, QString()});
        writes.append({kurusBox, QString()});
        return;
    }
    writes.append({liraBox, AmountText::LiraPart(fieldText)});
    writes.append({kurusBox, AmountText::KurusPart(fieldText)});
}

BoxWrites commonFields(const CommonInputs &inputs)
{
    BoxWrites writes;
    const InstitutionValues &institution = inputs.institution;
    copyFields(writes, institution,
               {{"MBirimKod", "EdSaymanKod"},
                {"MBirimAd", "EdSaymanAd"},
                {"MBirim1", "EdBirim1"},
                {"MBirim2", "EdBirim2"},
                {"MBirim3", "EdBirim3"},
                {"MBirim4", "EdBirim4"},
                {"MBirim_", "EdBirim"},
                {"MYili", "EdButceYili"},
                {"MTarihi", "EdTarih"},
                {"MNosu", "EdNo"},
                {"MKurum", "EdKurumAdi"},
                {"MBirim", "EdBirimAdi"},
                {"Memo398", "Edit29"},
                {"Memo399", "Edit1"},
                {"Memo400", "Edit2"}});

    // Worked out again for each block, as the blocks are written one by one.
    const auto approvalDate = [&inputs] {
        return inputs.fillApprovalDates ? TurkishText::shortDate(inputs.today) : handwrittenDate();
    };
    writes.append({memo(441), institution.text(QStringLiteral("Edit28"))});
    writes.append({memo(442), approvalDate()});
    copyFields(writes, institution, {{"Memo443", "Edit19"}, {"Memo444", "Edit20"}, {"Memo445", "Edit21"}});
    writes.append({memo(437), approvalDate()});
    copyFields(writes, institution, {{"Memo438", "Edit22"}, {"Memo439", "Edit23"}, {"Memo440", "Edit24"}});
    writes.append({memo(447), approvalDate()});
    copyFields(writes, institution, {{"Memo448", "Edit25"}, {"Memo449", "Edit26"}, {"Memo450", "Edit27"}});

    copyFields(writes, institution,
               {{"Memo402", "Edit13"},
                {"Memo403", "Edit14"},
                {"Memo404", "Edit15"},
                {"Memo405", "Edit16"},
                {"Memo406", "Edit17"},
                {"Memo407", "Edit18"}});

    for (int row = 8; row <= 9; ++row) {
        for (int column = 1; column <= AccountCodeLine::kCodeColumnCount; ++column)
            writes.append({codeBox(row, column), QString()});
    }
    for (int row = 1; row <= 9; ++row) {
        for (const QString &box : {debitLiraBox(row), debitKurusBox(row), creditLiraBox(row), creditKurusBox(row)})
            writes.append({box, QString()});
    }
    writes.append({accountNameBox(8), QString()});
    writes.append({accountNameBox(9), QString()});

    writes.append({memo(7), institution.text(QStringLiteral("Edit30"))});

    const CurrencyUnits units = currencyUnits(inputs.currencyChoice);
    for (const auto &[lira, kurus] : {std::pair{54, 55}, {56, 57}, {378, 379}, {380, 381}, {382, 383}, {384, 385},
                                      {414, 415}}) {
        writes.append({memo(lira), units.mainCaption});
        writes.append({memo(kurus), units.fractionCaption});
    }
    return writes;
}

BoxWrites paymentFields(const PaymentInputs &inputs)
{
    const DocumentDefinition &document = documentDefinition(inputs.category());
    const WorksheetDefinition &worksheet = worksheetDefinition(inputs.category());
    BoxWrites writes;

    for (const PayeeColumn column : kAllPayeeColumns) {
        const int number = int(column) + 1;
        writes.append({QStringLiteral("MUst%1").arg(number), inputs.payee[std::size_t(column)]});
    }

    for (int row = 1; row <= document.gridRows; ++row) {
        const bool debit = worksheet.line(row).column == EntryColumn::Debit;
        QString text = lineText(inputs, row);
        if (row == document.conditionalRow && lineText(inputs, document.conditionalRowNeeds).isEmpty())
            text.clear();
        writeAmount(writes, debit ? debitLiraBox(row) : creditLiraBox(row),
                    debit ? debitKurusBox(row) : creditKurusBox(row), text);
    }
    writeAmount(writes, QStringLiteral("MToplam1"), QStringLiteral("MToplam1_"), inputs.entry.debitTotal);
    writeAmount(writes, QStringLiteral("MToplam2"), QStringLiteral("MToplam2_"), inputs.entry.creditTotal);

    writes.append({QStringLiteral("MYaziyla1"), inputs.entry.firstSentence});
    writes.append({QStringLiteral("MYaziyla2"), inputs.entry.secondSentence});

    writeAmount(writes, memo(388), memo(389), lineText(inputs, document.budgetExpenseLine));
    QString deduction = lineText(inputs, document.deductionLine);
    if (document.deductionNeeds != 0 && lineText(inputs, document.deductionNeeds).isEmpty())
        deduction.clear();
    writeAmount(writes, memo(392), memo(393), deduction);
    writeAmount(writes, memo(394), memo(395), lineText(inputs, document.payableLine));

    for (int line = 1; line <= 6; ++line) {
        const bool active = line <= document.attachmentLines && line <= inputs.entry.attachments.size()
            && inputs.entry.attachments[line - 1].count > 0;
        writes.append({attachmentCountBox(line),
                       active ? QString::number(inputs.entry.attachments[line - 1].count) : QString()});
        writes.append(
            {attachmentDescriptionBox(line), active ? inputs.entry.attachments[line - 1].description : QString()});
    }

    for (int row = 1; row <= document.gridRows; ++row)
        writes.append({accountNameBox(row), inputs.codes.name(row)});
    for (int row = 1; row <= document.gridRows; ++row) {
        for (int column = 1; column <= AccountCodeLine::kCodeColumnCount; ++column)
            writes.append({codeBox(row, column), inputs.codes.text(row, column)});
    }
    return writes;
}

} // namespace DocumentFilling
