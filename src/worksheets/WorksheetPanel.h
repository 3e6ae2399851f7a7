#pragma once

#include "computation/WorksheetFields.h"

#include <QFrame>
#include <QList>
#include <QPointer>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class TAmountEdit;

// One category's worksheet as the user sees it, below the payee fields of its
// category panel: the amount block "T U T A R", the attachment block "E K L E R",
// the live words strip and the buttons. The entry's result fields live on a
// page of the hidden result pages; the sentence labels are kept out of sight.
// The panel only shows and stores: the arithmetic is PaymentEntry's.
class WorksheetPanel : public QFrame, public WorksheetFields
{
    Q_OBJECT

public:
    static constexpr int kWidth = 566;
    static constexpr int kHeight = 245;

    WorksheetPanel(const WorksheetDefinition &definition, QWidget *resultPage, QWidget *parent = nullptr);
    ~WorksheetPanel() override;

    // Fields by the definition's numbering (lines, then the two totals).
    TAmountEdit *field(int number) const;
    QCheckBox *stampSwitch() const { return m_stampSwitch; }
    QLabel *liveWordsLabel() const { return m_liveWords; }
    QLabel *firstSentenceLabel() const { return m_firstSentence; }
    QLabel *secondSentenceLabel() const { return m_secondSentence; }
    QLabel *amountCaption(int amount) const { return m_amountCaptions.value(amount); }
    QPushButton *clearButton() const { return m_clearButton; }
    QPushButton *computeButton() const { return m_computeButton; }
    QPushButton *printButton() const { return m_printButton; }
    QPushButton *cashSettingsButton() const { return m_cashSettingsButton; } // Ozel only
    QSpinBox *attachmentCountField(int line) const { return m_attachmentCounts.value(line - 1); }
    QLineEdit *attachmentDescriptionField(int line) const { return m_attachmentDescriptions.value(line - 1); }
    bool attachmentHighlighted(int line) const;

    QString text(int field) const override;
    void setText(int field, const QString &text) override;
    bool stampSwitchChecked() const override;
    void setStampBackground(const QColor &colour) override;
    void setStampEnabled(bool enabled) override;
    void setLiveWords(const QString &text) override;
    void setSentences(const QString &first, const QString &second) override;
    void setComputing(bool busy) override;
    void setComputeEnabled(bool enabled) override;
    void setClearEnabled(bool enabled) override;
    void setPrintEnabled(bool enabled) override;
    int attachmentCount(int line) const override;
    void setAttachmentHighlighted(int line, bool highlighted) override;

private:
    void buildAmountBlock(int top, int height);
    void buildAttachmentBlock(int top, int height);
    void buildResultPage(QWidget *page);
    TAmountEdit *newAmountField(const QString &name, QWidget *parent);

    // The panel's own fields (amounts, stamp duty) and the result fields on
    // the page, which the main window owns and may delete first.
    QList<QPointer<TAmountEdit>> m_fields; // element 0 is field 1
    QList<QLabel *> m_amountCaptions;
    QCheckBox *m_stampSwitch = nullptr;
    QLabel *m_liveWords = nullptr;
    QLabel *m_firstSentence = nullptr;
    QLabel *m_secondSentence = nullptr;
    QPushButton *m_clearButton = nullptr;
    QPushButton *m_computeButton = nullptr;
    QPushButton *m_printButton = nullptr;
    QPushButton *m_cashSettingsButton = nullptr;
    QList<QSpinBox *> m_attachmentCounts;
    QList<QLineEdit *> m_attachmentDescriptions;
    bool m_cursorOverridden = false;
};
