#pragma once

#include "computation/WorksheetEntry.h"
#include "computation/WorksheetFields.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

class PaymentPreferences;

// A worksheet without widgets: the controls' state as plain values, with the
// same reactions as the panel (an amount field that changes runs its live
// update, a switch that changes runs its handler) and the panel's state at
// start. For the arithmetic's tests and the benchmark.
class PlainWorksheet : public WorksheetFields
{
public:
    PlainWorksheet(const WorksheetDefinition &definition, const PaymentPreferences &preferences);

    // What the user or the program does.
    void enter(int field, const QString &text) { setText(field, text); }
    void enter(const QString &fieldName, const QString &text);
    void setStampSwitch(bool checked);
    void pressCompute();
    void pressClear();
    void setAttachmentCount(int line, int count);

    // What the controls show.
    QString text(const QString &fieldName) const;
    QString liveWords() const { return m_liveWords; }
    QString firstSentence() const { return m_firstSentence; }
    QString secondSentence() const { return m_secondSentence; }
    // The computed entry with the attachment lines given (this worksheet
    // keeps counts only).
    WorksheetEntry entry(QList<EntryAttachment> attachments = {}) const;
    QColor stampBackground() const { return m_stampBackground; }
    bool stampEnabled() const { return m_stampEnabled; }
    bool computeEnabled() const { return m_computeEnabled; }
    bool clearEnabled() const { return m_clearEnabled; }
    bool printEnabled() const { return m_printEnabled; }
    bool computing() const { return m_computing; }
    QString computeCaption() const;
    bool attachmentHighlighted(int line) const { return m_highlighted.value(line - 1); }
    // "name=text" for every change of a field's text, in order.
    const QStringList &writes() const { return m_writes; }
    void forgetWrites() { m_writes.clear(); }

    QString text(int field) const override;
    void setText(int field, const QString &text) override;
    bool stampSwitchChecked() const override { return m_stampSwitch; }
    void setStampBackground(const QColor &colour) override { m_stampBackground = colour; }
    void setStampEnabled(bool enabled) override { m_stampEnabled = enabled; }
    void setLiveWords(const QString &text) override { m_liveWords = text; }
    void setSentences(const QString &first, const QString &second) override;
    void setComputing(bool busy) override { m_computing = busy; }
    void setComputeEnabled(bool enabled) override { m_computeEnabled = enabled; }
    void setClearEnabled(bool enabled) override { m_clearEnabled = enabled; }
    void setPrintEnabled(bool enabled) override { m_printEnabled = enabled; }
    int attachmentCount(int line) const override { return m_counts.value(line - 1); }
    void setAttachmentHighlighted(int line, bool highlighted) override;

private:
    const PaymentPreferences &m_preferences;
    QList<QString> m_texts; // element 0 is field 1
    QStringList m_writes;
    bool m_stampSwitch = false;
    QColor m_stampBackground;
    bool m_stampEnabled;
    QString m_liveWords;
    QString m_firstSentence;
    QString m_secondSentence;
    bool m_computing = false;
    bool m_computeEnabled = true;
    bool m_clearEnabled = true;
    bool m_printEnabled = false;
    QList<int> m_counts;
    QList<bool> m_highlighted;
};
