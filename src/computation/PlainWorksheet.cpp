#include "computation/PlainWorksheet.h"

#include "base/WindowsColour.h"
#include "computation/AttachmentLines.h"
#include "computation/PaymentEntry.h"

PlainWorksheet::PlainWorksheet(const WorksheetKind &kind, const PaymentPreferences &preferences)
    : WorksheetFields(kind)
    , m_preferences(preferences)
    , m_texts(kind.fieldCount(), QStringLiteral("0,00"))
    , m_stampBackground(kind.stampAlwaysApplies ? QColor(Qt::white) : WindowsColour::buttonFace())
    , m_stampEnabled(kind.stampAlwaysApplies)
    , m_liveWords(PaymentEntry::liveWordsAtRest())
    , m_counts(AttachmentLines::lineCount(kind.category), 0)
    , m_highlighted(AttachmentLines::lineCount(kind.category), false)
{
}

void PlainWorksheet::enter(const QString &fieldName, const QString &text)
{
    setText(kind().fieldNumber(fieldName), text);
}

void PlainWorksheet::setStampSwitch(bool checked)
{
    if (kind().stampAlwaysApplies || m_stampSwitch == checked)
        return;
    m_stampSwitch = checked;
    PaymentEntry::stampSwitchClicked(*this);
}

void PlainWorksheet::pressCompute()
{
    PaymentEntry::compute(*this, m_preferences);
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
    return text(kind().fieldNumber(fieldName));
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
    m_writes.append(kind().fieldName(field) + u'=' + text);
    if (kind().isAmountLine(field))
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
