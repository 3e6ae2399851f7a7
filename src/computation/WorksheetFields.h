#pragma once

#include "computation/WorksheetDefinition.h"

#include <QColor>
#include <QString>

// The controls of one worksheet as the entry's arithmetic and the idle pass
// see them. The panel maps them onto its widgets; PlainWorksheet keeps them
// as plain values. Every setter leaves a control alone when it already holds
// the value: the idle pass calls them at every idle moment.
class WorksheetFields
{
public:
    explicit WorksheetFields(const WorksheetDefinition &definition)
        : m_definition(definition)
    {
    }
    virtual ~WorksheetFields() = default;
    WorksheetFields(const WorksheetFields &) = delete;
    WorksheetFields &operator=(const WorksheetFields &) = delete;

    const WorksheetDefinition &definition() const { return m_definition; }

    // Fields by the definition's numbering: lines 1..n, then the two totals.
    virtual QString text(int field) const = 0;
    virtual void setText(int field, const QString &text) = 0;

    // Categories without a switch report false.
    virtual bool stampSwitchChecked() const = 0;
    virtual void setStampBackground(const QColor &colour) = 0;
    virtual void setStampEnabled(bool enabled) = 0;

    virtual void setLiveWords(const QString &text) = 0;
    virtual void setSentences(const QString &first, const QString &second) = 0;

    // Hourglass and "Bekleyiniz..." on the compute button while busy.
    virtual void setComputing(bool busy) = 0;
    virtual void setComputeEnabled(bool enabled) = 0;
    virtual void setClearEnabled(bool enabled) = 0;
    virtual void setPrintEnabled(bool enabled) = 0;

    // Attachment lines 1..AttachmentLines::lineCount(category).
    virtual int attachmentCount(int line) const = 0;
    virtual void setAttachmentHighlighted(int line, bool highlighted) = 0;

private:
    const WorksheetDefinition &m_definition;
};
