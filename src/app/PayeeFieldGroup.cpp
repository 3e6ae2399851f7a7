#include "app/PayeeFieldGroup.h"

#include "app/CategoryScreen.h"
#include "controls/CaptionBand.h"
#include "controls/UpperCaseKeyFilter.h"

#include <QLabel>
#include <QLineEdit>

namespace {
constexpr int kEditLeft = 200;
constexpr int kFirstRowTop = 24;
constexpr int kRowPitch = 25;
constexpr int kEditHeight = 21;
constexpr int kWidth = 566;

// The identity number and the account number are short; the names long.
int editWidth(PayeeColumn column)
{
    return column == PayeeColumn::IdentityNumber || column == PayeeColumn::BankAccount ? 153 : 241;
}
} // namespace

PayeeFieldGroup::PayeeFieldGroup(PaymentCategory category, UpperCaseKeyFilter *upperCase,
                                 QWidget *parent)
    : QGroupBox(categoryScreen(category).payeeGroupCaption, parent)
    , m_category(category)
{
    const CategoryScreen &screen = categoryScreen(category);
    setObjectName(QStringLiteral("GroupBox%1").arg(categoryIndex(category) + 1));

    if (screen.payeeGroupCaption.isEmpty()) {
        // The private category has a grey title band instead of a caption.
        QLabel *band = CaptionBand::create(QStringLiteral("Özel Nakit"), this);
        band->setObjectName(QStringLiteral("PanelOzelBaslik"));
        band->setGeometry(0, 0, kWidth, 18);
    }

    for (PayeeColumn column : kAllPayeeColumns) {
        const int row = int(column);
        const int top = kFirstRowTop + row * kRowPitch;
        auto *label = new QLabel(PayeeTable::fieldLabel(column) + QStringLiteral(" :"), this);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setGeometry(8, top, kEditLeft - 14, kEditHeight);

        auto *edit = new QLineEdit(this);
        edit->setObjectName(screen.payeeEditNames[std::size_t(row)]);
        edit->setGeometry(kEditLeft, top, editWidth(column), kEditHeight);
        edit->setMaxLength(PayeeTable::maxLength(column));
        label->setBuddy(edit);
        upperCase->watch(edit);
        m_edits[std::size_t(row)] = edit;
    }
    for (std::size_t i = 0; i + 1 < screen.tabOrder.size(); ++i)
        setTabOrder(m_edits[std::size_t(screen.tabOrder[i])], m_edits[std::size_t(screen.tabOrder[i + 1])]);
    setFixedSize(kWidth, kFirstRowTop + kPayeeColumnCount * kRowPitch + 6);
}
