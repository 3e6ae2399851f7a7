#include "computation/PlainWorksheet.h"

#include "base/WindowsColour.h"
#include "computation/AttachmentLines.h"
#include "computation/PaymentEntry.h"

PlainWorksheet::PlainWorksheet(const WorksheetDefinition &definition, const PaymentPreferences &preferences)
    : WorksheetFields(definition)
    , m_preferences(preferences)
    , m_texts(definition.fieldCount(), QStringLiteral("0,00"))
    , m_stampBackground(definition.stampAlwaysApplies ? QColor(Qt::white) : WindowsColour::buttonFace())
    , m_stampEnabled(definition.stampAlwaysApplies)
    , m_liveWords(PaymentEntry::liveWordsAtRest())
    , m_counts(AttachmentLines::lineCount(definition.category), 0)
    , m_highlighted(AttachmentLines::lineCount(definition.category), false)
{
}

void PlainWorksheet::enter(const QString &fieldName, const QString &text)
{
    setText(definition().fieldNumber(fieldName), text);
}

void PlainWorksheet::setStampSwitch(bool checked)
{
    if (definition().stampAlwaysApplies || m_stampSwitch == checked)
        return;
    m_stampSwitch = checked;
    PaymentEntry::stampSwitchClicked(*this);
}

void PlainWorksheet::pressCompute()
{
    PaymentEntry::compute(*this, m_preferences);
}

WorksheetEntry PlainWorksheet::entry(QList<EntryAttachment> attachments) const
{
    const WorksheetDefinition &fields = definition();
    WorksheetEntry entry;
    entry.category = fields.category;
    for (int line = 1; line <= fields.lineCount(); ++line)
        entry.lines.append(text(line));
    entry.debitTotal = text(fields.debitTotal());
    entry.creditTotal = text(fields.creditTotal());
    entry.firstSentence = m_firstSentence;
    entry.secondSentence = m_secondSentence;
    entry.attachments = std::move(attachments);
    return entry;
}

void PlainWorksheet::pressClear()
{
    PaymentEntry::clear(*this);
}

void PlainWorksheet::setAttachmentCount(int line, int count)
{
    m_counts[line - 1] = count;
}

QString PlainWorksheet::text(const QString &fieldName) const
{
    return text(definition().fieldNumber(fieldName));
}

QString PlainWorksheet::computeCaption() const
{
    return m_computing ? QStringLiteral("Bekleyiniz...") : QStringLiteral("HESAPLA");
}

QString PlainWorksheet::text(int field) const
{
    return m_texts.value(field - 1);
}

void PlainWorksheet::setText(int field, const QString &text)
{
    if (field < 1 || field > m_texts.size() || m_texts[field - 1] == text)
        return;
    m_texts[field - 1] = text;
    m_writes.append(definition().fieldName(field) + u'=' + text);
    if (definition().isAmountLine(field))
        PaymentEntry::amountChanged(*this, field, m_preferences);
}

void PlainWorksheet::setSentences(const QString &first, const QString &second)
{
    m_firstSentence = first;
    m_secondSentence = second;
}

void PlainWorksheet::setAttachmentHighlighted(int line, bool highlighted)
{
    m_highlighted[line - 1] = highlighted;
}
