#include "worksheets/WorksheetSet.h"

#include "computation/AttachmentLines.h"
#include "computation/PaymentEntry.h"
#include "computation/PaymentPreferences.h"
#include "computation/WorksheetStates.h"
#include "controls/ChangedOnly.h"
#include "controls/TAmountEdit.h"
#include "worksheets/WorksheetPanel.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

namespace {

// Below the payee fields, which end 159 pixels down the category panel.
constexpr QPoint kPlaceInCategoryPanel(5, 162);

} // namespace

WorksheetSet::WorksheetSet(QObject *parent)
    : QObject(parent)
{
    m_resultPages = new QTabWidget;
    m_resultPages->setObjectName(QStringLiteral("PageControl1"));
    m_resultPages->hide();

    WorksheetStates::Sheets sheets{};
    for (const PaymentCategory category : kAllCategories) {
        const WorksheetDefinition &definition = worksheetDefinition(category);
        auto *page = new QWidget;
        page->setObjectName(definition.pageCaption);
        m_resultPages->addTab(page, definition.pageCaption);
        auto *panel = new WorksheetPanel(definition, page);
        m_panels[std::size_t(categoryIndex(category))] = panel;
        sheets[std::size_t(categoryIndex(category))] = panel;
    }
    m_states = new WorksheetStates(sheets, this);
    for (const auto &panel : m_panels)
        connect(panel, &QObject::destroyed, m_states, &WorksheetStates::uninstall);
    connect(m_resultPages, &QObject::destroyed, m_states, &WorksheetStates::uninstall);
    connectHandlers();
}

WorksheetSet::~WorksheetSet()
{
    // What the main window has not taken over is ours.
    for (const auto &panel : m_panels) {
        if (panel && !panel->parent())
            delete panel.data();
    }
    if (m_resultPages && !m_resultPages->parent())
        delete m_resultPages.data();
}

void WorksheetSet::connectHandlers()
{
    const auto amount = [this](PaymentCategory category, const QString &name, void (WorksheetSet::*handler)()) {
        WorksheetPanel &panel = sheet(category);
        connect(panel.field(panel.definition().fieldNumber(name)), &QLineEdit::textChanged, this, handler);
    };
    amount(PaymentCategory::Pharmacy, QStringLiteral("Edit1"), &WorksheetSet::Edit1Change);
    amount(PaymentCategory::Hospital, QStringLiteral("Edit17"), &WorksheetSet::Edit17Change);
    amount(PaymentCategory::Treatment, QStringLiteral("Edit50"), &WorksheetSet::Edit50Change);
    amount(PaymentCategory::Treatment, QStringLiteral("Edit52"), &WorksheetSet::Edit52Change);
    amount(PaymentCategory::Private, QStringLiteral("Edit70"), &WorksheetSet::Edit70Change);

    using Handler = void (WorksheetSet::*)();
    const std::array<Handler, kCategoryCount> compute = {&WorksheetSet::BtnHazir1Click, &WorksheetSet::BtnHazir2Click,
                                                         &WorksheetSet::BtnHazir3Click, &WorksheetSet::BtnHazir4Click};
    const std::array<Handler, kCategoryCount> clear = {&WorksheetSet::BtnSil1Click, &WorksheetSet::BtnSil2Click,
                                                       &WorksheetSet::BtnSil3Click, &WorksheetSet::BtnSil4Click};
    for (const PaymentCategory category : kAllCategories) {
        WorksheetPanel &panel = sheet(category);
        const std::size_t index = std::size_t(categoryIndex(category));
        connect(panel.computeButton(), &QPushButton::clicked, this, compute[index]);
        connect(panel.clearButton(), &QPushButton::clicked, this, clear[index]);
        // Every print disables YAZDIR before the preview or the printer
        // starts; printEnded() gives it back when nothing left.
        connect(panel.printButton(), &QPushButton::clicked, this, [this, category] {
            disablePrint(category);
            emit printRequested(category);
        });
    }
    // Any change of the switch, by the user or by code, runs its handler.
    connect(sheet(PaymentCategory::Hospital).stampSwitch(), &QCheckBox::toggled, this, &WorksheetSet::ChkHastaneClick);
    connect(sheet(PaymentCategory::Treatment).stampSwitch(), &QCheckBox::toggled, this, &WorksheetSet::ChkTedaviClick);
    connect(sheet(PaymentCategory::Private).stampSwitch(), &QCheckBox::toggled, this, &WorksheetSet::ChkOzelClick);
    connect(sheet(PaymentCategory::Private).cashSettingsButton(), &QPushButton::clicked, this,
            &WorksheetSet::cashSettingsRequested);
}

WorksheetPanel *WorksheetSet::panel(PaymentCategory category) const
{
    return m_panels[std::size_t(categoryIndex(category))];
}

WorksheetPanel &WorksheetSet::sheet(PaymentCategory category) const
{
    return *m_panels[std::size_t(categoryIndex(category))];
}

void WorksheetSet::placeInto(PaymentCategory category, QWidget *categoryPanel)
{
    WorksheetPanel *worksheet = panel(category);
    worksheet->setParent(categoryPanel);
    worksheet->move(kPlaceInCategoryPanel);
    worksheet->show();
}

QTabWidget *WorksheetSet::resultPages() const
{
    return m_resultPages;
}

void WorksheetSet::placeResultPages(QWidget *owner)
{
    m_resultPages->setParent(owner);
    m_resultPages->hide();
}

void WorksheetSet::setPreferences(const PaymentPreferences *preferences)
{
    m_preferences = preferences;
}

const PaymentPreferences &WorksheetSet::preferences() const
{
    // A fresh start's, for computations before the dialog is set.
    static const StoredPaymentPreferences freshStart;
    return m_preferences ? *m_preferences : freshStart;
}

void WorksheetSet::clear(PaymentCategory category)
{
    PaymentEntry::clear(sheet(category));
}

void WorksheetSet::clearAll()
{
    for (const PaymentCategory category : kAllCategories)
        clear(category);
}

QString WorksheetSet::privateAmountCaption() const
{
    return sheet(PaymentCategory::Private).amountCaption(0)->text();
}

void WorksheetSet::setPrivateAmountCaption(const QString &caption)
{
    ChangedOnly::setText(sheet(PaymentCategory::Private).amountCaption(0), caption);
}

AttachmentSettings WorksheetSet::attachments() const
{
    AttachmentSettings settings;
    for (int key = 1; key <= AttachmentLines::kCount; ++key) {
        const AttachmentLine &description = AttachmentLines::byDescriptionKey(key);
        settings.descriptions[std::size_t(key - 1)]
            = sheet(description.category).attachmentDescriptionField(description.line)->text();
        const AttachmentLine &count = AttachmentLines::byCountKey(key);
        settings.counts[std::size_t(key - 1)] = sheet(count.category).attachmentCount(count.line);
    }
    return settings;
}

void WorksheetSet::setAttachments(const AttachmentSettings &settings)
{
    for (int key = 1; key <= AttachmentLines::kCount; ++key) {
        const AttachmentLine &description = AttachmentLines::byDescriptionKey(key);
        ChangedOnly::setText(sheet(description.category).attachmentDescriptionField(description.line),
                             settings.descriptions[std::size_t(key - 1)]);
    }
    for (int key = 1; key <= AttachmentLines::kCount; ++key) {
        const AttachmentLine &count = AttachmentLines::byCountKey(key);
        sheet(count.category).attachmentCountField(count.line)->setValue(settings.counts[std::size_t(key - 1)]);
    }
}

void WorksheetSet::installIdleHandler()
{
    m_states->install();
}

void WorksheetSet::setAutomaticYearAndDate(std::function<void(const QDate &)> hook)
{
    m_states->setAutomaticYearAndDate(std::move(hook));
}

int WorksheetSet::lineCount(PaymentCategory category) const
{
    return worksheetDefinition(category).lineCount();
}

WorksheetLine WorksheetSet::lineOf(PaymentCategory category, int field) const
{
    const WorksheetPanel &panel = sheet(category);
    const WorksheetDefinition &definition = panel.definition();
    WorksheetLine result;
    if (field == definition.debitTotal() || field == definition.creditTotal()) {
        result.caption = QStringLiteral("TOPLAM");
        result.column = field == definition.debitTotal() ? EntryColumn::Debit : EntryColumn::Credit;
    } else if (field >= 1 && field <= definition.lineCount()) {
        result.caption = definition.line(field).caption;
        result.column = definition.line(field).column;
        const std::vector<int> amounts = definition.amountLines();
        for (std::size_t i = 0; i < amounts.size(); ++i) {
            if (amounts[i] == field)
                result.caption = panel.amountCaption(int(i))->text();
        }
    } else {
        return result;
    }
    result.text = panel.text(field);
    result.value = PaymentEntry::fieldValue(result.text);
    return result;
}

WorksheetLine WorksheetSet::line(PaymentCategory category, int line) const
{
    return line >= 1 && line <= lineCount(category) ? lineOf(category, line) : WorksheetLine();
}

WorksheetLine WorksheetSet::debitTotal(PaymentCategory category) const
{
    return lineOf(category, worksheetDefinition(category).debitTotal());
}

WorksheetLine WorksheetSet::creditTotal(PaymentCategory category) const
{
    return lineOf(category, worksheetDefinition(category).creditTotal());
}

QString WorksheetSet::firstSentence(PaymentCategory category) const
{
    return sheet(category).firstSentenceLabel()->text();
}

QString WorksheetSet::secondSentence(PaymentCategory category) const
{
    return sheet(category).secondSentenceLabel()->text();
}

QList<WorksheetAttachment> WorksheetSet::attachments(PaymentCategory category) const
{
    const WorksheetPanel &panel = sheet(category);
    QList<WorksheetAttachment> lines;
    for (int line = 1; line <= AttachmentLines::lineCount(category); ++line)
        lines.append({panel.attachmentCount(line), panel.attachmentDescriptionField(line)->text(),
                      panel.attachmentHighlighted(line)});
    return lines;
}

WorksheetEntry WorksheetSet::entry(PaymentCategory category) const
{
    WorksheetEntry entry;
    entry.category = category;
    for (int number = 1; number <= lineCount(category); ++number)
        entry.lines.append(line(category, number).text);
    entry.debitTotal = debitTotal(category).text;
    entry.creditTotal = creditTotal(category).text;
    entry.firstSentence = firstSentence(category);
    entry.secondSentence = secondSentence(category);
    for (const WorksheetAttachment &attachment : attachments(category))
        entry.attachments.append({attachment.count, attachment.description});
    return entry;
}

void WorksheetSet::printEnded(PaymentCategory category, bool mayTryAgain)
{
    if (mayTryAgain)
        sheet(category).setPrintEnabled(true);
}

bool WorksheetSet::isPrintEnabled(PaymentCategory category) const
{
    return sheet(category).printButton()->isEnabled();
}

void WorksheetSet::disablePrint(PaymentCategory category)
{
    sheet(category).setPrintEnabled(false);
}

void WorksheetSet::amountChanged(PaymentCategory category, const QString &field)
{
    WorksheetPanel &panel = sheet(category);
    PaymentEntry::amountChanged(panel, panel.definition().fieldNumber(field), preferences());
}

void WorksheetSet::compute(PaymentCategory category)
{
    PaymentEntry::compute(sheet(category), preferences());
}

void WorksheetSet::stampSwitchClicked(PaymentCategory category)
{
    PaymentEntry::stampSwitchClicked(sheet(category));
}

void WorksheetSet::Edit1Change()
{
    amountChanged(PaymentCategory::Pharmacy, QStringLiteral("Edit1"));
}

void WorksheetSet::Edit17Change()
{
    amountChanged(PaymentCategory::Hospital, QStringLiteral("Edit17"));
}

void WorksheetSet::Edit50Change()
{
    amountChanged(PaymentCategory::Treatment, QStringLiteral("Edit50"));
}

void WorksheetSet::Edit52Change()
{
    amountChanged(PaymentCategory::Treatment, QStringLiteral("Edit52"));
}

void WorksheetSet::Edit70Change()
{
    amountChanged(PaymentCategory::Private, QStringLiteral("Edit70"));
}

void WorksheetSet::BtnHazir1Click()
{
    compute(PaymentCategory::Pharmacy);
}

void WorksheetSet::BtnHazir2Click()
{
    compute(PaymentCategory::Hospital);
}

void WorksheetSet::BtnHazir3Click()
{
    compute(PaymentCategory::Treatment);
}

void WorksheetSet::BtnHazir4Click()
{
    compute(PaymentCategory::Private);
}

void WorksheetSet::BtnSil1Click()
{
    clear(PaymentCategory::Pharmacy);
}

void WorksheetSet::BtnSil2Click()
{
    clear(PaymentCategory::Hospital);
}

void WorksheetSet::BtnSil3Click()
{
    clear(PaymentCategory::Treatment);
}

void WorksheetSet::BtnSil4Click()
{
    clear(PaymentCategory::Private);
}

void WorksheetSet::ChkHastaneClick()
{
    stampSwitchClicked(PaymentCategory::Hospital);
}

void WorksheetSet::ChkTedaviClick()
{
    stampSwitchClicked(PaymentCategory::Treatment);
}

void WorksheetSet::ChkOzelClick()
{
    stampSwitchClicked(PaymentCategory::Private);
}

void WorksheetSet::UpdateWorksheetStates()
{
    m_states->UpdateWorksheetStates();
}
