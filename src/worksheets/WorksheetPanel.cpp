#include "worksheets/WorksheetPanel.h"

#include "base/SettingsTextValidator.h"
#include "base/WindowsColour.h"
#include "computation/AttachmentLines.h"
#include "computation/PaymentEntry.h"
#include "controls/CaptionBand.h"
#include "controls/ChangedOnly.h"
#include "controls/TAmountEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <limits>

namespace {

const QString kComputeCaption = QStringLiteral("HESAPLA");
const QString kBusyCaption = QStringLiteral("Bekleyiniz...");

constexpr int kRowHeight = 21;
constexpr int kFieldWidth = 120;
constexpr int kAmountBlockWidth = 352;
constexpr int kBlockGap = 6;
constexpr int kStripHeight = 20;
constexpr int kButtonHeight = 25;
constexpr int kButtonWidth = 88;

// Backgrounds are set in every colour group, so that a disabled stamp-duty
// field shows the same grey as one that merely has no duty.
bool sameBackground(const QWidget *widget, const QColor &colour)
{
    const QPalette &palette = widget->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        if (palette.color(group, QPalette::Base) != colour)
            return false;
    }
    return true;
}

void setBackground(QWidget *widget, const QColor &colour)
{
    if (!widget || sameBackground(widget, colour))
        return;
    QPalette palette = widget->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, colour);
    ChangedOnly::setPalette(widget, palette);
}

QGroupBox *newBlock(const QString &title, QWidget *parent)
{
    auto *block = new QGroupBox(title, parent);
    QFont font = block->font();
    font.setBold(true);
    block->setFont(font);
    return block;
}

// Children of a bold group box would inherit the bold font.
template<typename Widget>
Widget *plain(Widget *widget)
{
    QFont font = widget->font();
    font.setBold(false);
    widget->setFont(font);
    return widget;
}

QPushButton *newButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

WorksheetPanel::WorksheetPanel(const WorksheetDefinition &definition, QWidget *resultPage, QWidget *parent)
    : QFrame(parent)
    , WorksheetFields(definition)
{
    setObjectName(QStringLiteral("Worksheet") + definition.pageCaption);
    setFixedSize(kWidth, kHeight);
    m_fields.resize(definition.fieldCount());

    int top = 0;
    if (definition.category == PaymentCategory::Private) {
        QLabel *band = CaptionBand::create(QStringLiteral("Özel Nakit - İşlem"), this);
        band->setObjectName(QStringLiteral("PanelOzelIslem"));
        band->setGeometry(0, 0, kWidth, 18);
        top = 22;
    }

    const int buttonsTop = kHeight - kButtonHeight - 1;
    const int stripTop = buttonsTop - kStripHeight - 6;
    const int blockHeight = stripTop - 4 - top;
    buildAmountBlock(top, blockHeight);
    buildAttachmentBlock(top, blockHeight);

    auto *strip = new QFrame(this);
    strip->setObjectName(QStringLiteral("Strip") + definition.pageCaption);
    strip->setFrameShape(QFrame::Panel);
    strip->setFrameShadow(QFrame::Sunken);
    strip->setGeometry(0, stripTop, kWidth, kStripHeight);
    auto *entered = new QLabel(QStringLiteral("Girilen Tutar : "), strip);
    // Greyed like disabled text, but readable on the strip.
    QPalette greyed = entered->palette();
    greyed.setColor(QPalette::WindowText, QColor(109, 109, 109)); // clGrayText
    entered->setPalette(greyed);
    entered->setGeometry(4, 1, entered->sizeHint().width(), kStripHeight - 2);
    m_liveWords = new QLabel(PaymentEntry::liveWordsAtRest(), strip);
    m_liveWords->setObjectName(definition.liveWordsLabel);
    m_liveWords->setGeometry(entered->geometry().right() + 1, 1,
                             kWidth - entered->geometry().right() - 6, kStripHeight - 2);

    if (definition.category == PaymentCategory::Private) {
        m_cashSettingsButton = newButton(QStringLiteral("BtnAyar"), QStringLiteral("Nakit Ayarları"), this);
        m_cashSettingsButton->setGeometry(0, buttonsTop, 110, kButtonHeight);
    }
    m_clearButton = newButton(definition.clearButton, QStringLiteral("TEMİZLE"), this);
    m_computeButton = newButton(definition.computeButton, kComputeCaption, this);
    m_printButton = newButton(definition.printButton, QStringLiteral("YAZDIR"), this);
    m_printButton->setEnabled(false);
    int left = kWidth - 3 * kButtonWidth - 2 * kBlockGap;
    for (QPushButton *button : {m_clearButton, m_computeButton, m_printButton}) {
        button->setGeometry(left, buttonsTop, kButtonWidth, kButtonHeight);
        left += kButtonWidth + kBlockGap;
    }

    // Storage for printing, never shown.
    m_firstSentence = new QLabel(this);
    m_firstSentence->setObjectName(definition.firstSentenceLabel);
    m_secondSentence = new QLabel(this);
    m_secondSentence->setObjectName(definition.secondSentenceLabel);
    for (QLabel *label : {m_firstSentence, m_secondSentence}) {
        label->setGeometry(0, kHeight + 10, kWidth, kRowHeight);
        label->hide();
    }

    buildResultPage(resultPage);
}

WorksheetPanel::~WorksheetPanel()
{
    if (m_cursorOverridden)
        QApplication::restoreOverrideCursor();
}

TAmountEdit *WorksheetPanel::newAmountField(const QString &name, QWidget *parent)
{
    auto *edit = new TAmountEdit(parent);
    edit->setObjectName(name);
    edit->configureAsAmount();
    m_fields[definition().fieldNumber(name) - 1] = edit;
    return edit;
}

void WorksheetPanel::buildAmountBlock(int top, int height)
{
    const WorksheetDefinition &definition = this->definition();
    QGroupBox *block = newBlock(QStringLiteral("T U T A R"), this);
    block->setObjectName(QStringLiteral("Tutar") + definition.pageCaption);
    block->setGeometry(0, top, kAmountBlockWidth, height);

    constexpr int fieldLeft = kAmountBlockWidth - kFieldWidth - 10;
    constexpr int captionWidth = fieldLeft - 14;
    int row = 22;
    auto addRow = [&](const QString &caption, TAmountEdit *edit) {
        auto *label = plain(new QLabel(caption, block));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setGeometry(8, row, captionWidth, kRowHeight);
        label->setBuddy(edit);
        plain(edit)->setGeometry(fieldLeft, row, kFieldWidth, kRowHeight);
        row += kRowHeight + 5;
        return label;
    };

    for (const int line : definition.amountLines()) {
        TAmountEdit *edit = newAmountField(definition.line(line).fieldName, block);
        QLabel *caption = addRow(definition.line(line).caption, edit);
        if (definition.category == PaymentCategory::Private)
            caption->setObjectName(QStringLiteral("Label68"));
        m_amountCaptions.append(caption);
    }
    TAmountEdit *stamp = newAmountField(definition.line(definition.stampLine()).fieldName, block);
    addRow(QStringLiteral("Damga Vergisi"), stamp);

    if (!definition.stampAlwaysApplies) {
        m_stampSwitch = plain(new QCheckBox(definition.stampSwitchCaption, block));
        m_stampSwitch->setObjectName(definition.stampSwitchName);
        m_stampSwitch->setLayoutDirection(Qt::RightToLeft); // caption on the left
        m_stampSwitch->setFocusPolicy(Qt::ClickFocus); // not a tab stop
        const int width = m_stampSwitch->sizeHint().width();
        m_stampSwitch->setGeometry(fieldLeft + kFieldWidth - width, row, width, kRowHeight);
        // Off at start: no duty, so its field is greyed and idle.
        setBackground(stamp, WindowsColour::buttonFace());
        stamp->setEnabled(false);
    }
}

void WorksheetPanel::buildAttachmentBlock(int top, int height)
{
    const WorksheetDefinition &definition = this->definition();
    QGroupBox *block = newBlock(QStringLiteral("E K L E R"), this);
    block->setObjectName(QStringLiteral("Ekler") + definition.pageCaption);
    const int left = kAmountBlockWidth + kBlockGap;
    const int width = kWidth - left;
    block->setGeometry(left, top, width, height);

    const int lines = AttachmentLines::lineCount(definition.category);
    constexpr int spinWidth = 56;
    const int pitch = std::min(kRowHeight + 4, (height - 24) / lines);
    for (int line = 1; line <= lines; ++line) {
        const AttachmentLine &attachment = AttachmentLines::of(definition.category, line);
        const int y = 20 + (line - 1) * pitch;
        auto *count = plain(new QSpinBox(block));
        count->setObjectName(attachment.countField);
        count->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
        count->setValue(0);
        count->setGeometry(8, y, spinWidth, kRowHeight);
        auto *description = plain(new QLineEdit(attachment.defaultDescription, block));
        description->setObjectName(attachment.descriptionField);
        description->setValidator(new SettingsTextValidator(description));
        description->setGeometry(8 + spinWidth + 4, y, width - spinWidth - 20, kRowHeight);
        setBackground(description, WindowsColour::buttonFace());
        m_attachmentCounts.append(count);
        m_attachmentDescriptions.append(description);
    }
}

void WorksheetPanel::buildResultPage(QWidget *page)
{
    const WorksheetDefinition &definition = this->definition();
    auto *grid = new QGridLayout(page);
    int row = 0;
    auto addLine = [&](const QString &caption, EntryColumn column, const QString &name) {
        if (!caption.isEmpty())
            grid->addWidget(new QLabel(caption, page), row, 0);
        grid->addWidget(newAmountField(name, page), row, column == EntryColumn::Debit ? 1 : 2);
        ++row;
    };
    for (int number = 1; number <= definition.lineCount(); ++number) {
        const EntryLine &line = definition.line(number);
        if (line.rule != LineRule::Amount && line.rule != LineRule::StampDuty)
            addLine(line.caption, line.column, line.fieldName);
    }
    const QString total = definition.category == PaymentCategory::Private ? QString() : QStringLiteral("TOPLAM");
    addLine(total, EntryColumn::Debit, definition.debitTotalField);
    --row;
    addLine(QString(), EntryColumn::Credit, definition.creditTotalField);
}

TAmountEdit *WorksheetPanel::field(int number) const
{
    return m_fields.value(number - 1);
}

bool WorksheetPanel::attachmentHighlighted(int line) const
{
    const QLineEdit *description = attachmentDescriptionField(line);
    return description && description->palette().color(QPalette::Active, QPalette::Base) == QColor(Qt::white);
}

QString WorksheetPanel::text(int number) const
{
    const TAmountEdit *edit = field(number);
    return edit ? edit->text() : QString();
}

void WorksheetPanel::setText(int number, const QString &text)
{
    ChangedOnly::setText(field(number), text);
}

bool WorksheetPanel::stampSwitchChecked() const
{
    return m_stampSwitch && m_stampSwitch->isChecked();
}

void WorksheetPanel::setStampBackground(const QColor &colour)
{
    setBackground(field(definition().stampLine()), colour);
}

void WorksheetPanel::setStampEnabled(bool enabled)
{
    ChangedOnly::setEnabled(field(definition().stampLine()), enabled);
}

void WorksheetPanel::setLiveWords(const QString &text)
{
    ChangedOnly::setText(m_liveWords, text);
}

void WorksheetPanel::setSentences(const QString &first, const QString &second)
{
    ChangedOnly::setText(m_firstSentence, first);
    ChangedOnly::setText(m_secondSentence, second);
}

void WorksheetPanel::setComputing(bool busy)
{
    if (busy && !m_cursorOverridden) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_cursorOverridden = true;
    } else if (!busy && m_cursorOverridden) {
        QApplication::restoreOverrideCursor();
        m_cursorOverridden = false;
    }
    m_computeButton->setText(busy ? kBusyCaption : kComputeCaption);
}

void WorksheetPanel::setComputeEnabled(bool enabled)
{
    ChangedOnly::setEnabled(m_computeButton, enabled);
}

void WorksheetPanel::setClearEnabled(bool enabled)
{
    ChangedOnly::setEnabled(m_clearButton, enabled);
}

void WorksheetPanel::setPrintEnabled(bool enabled)
{
    ChangedOnly::setEnabled(m_printButton, enabled);
}

int WorksheetPanel::attachmentCount(int line) const
{
    const QSpinBox *count = attachmentCountField(line);
    return count ? count->value() : 0;
}

void WorksheetPanel::setAttachmentHighlighted(int line, bool highlighted)
{
    setBackground(attachmentDescriptionField(line), highlighted ? QColor(Qt::white) : WindowsColour::buttonFace());
}
