#include "app/PayeeFieldGroup.h"

#include "app/CategoryScreen.h"
#include "controls/UpperCaseKeyFilter.h"

#include <QLabel>
#include <QLineEdit>

namespace {
constexpr int kEditLeft = 200;
constexpr int kFirstRowTop = 24;
constexpr int kRowPitch = 25;
constexpr int kEditHeight = 21;
} // namespace

PayeeFieldGroup::PayeeFieldGroup(PaymentCategory category, UpperCaseKeyFilter *upperCase,
                                 QWidget *parent)
    : QGroupBox(categoryScreen(category).payeeGroupCaption, parent)
    , m_category(category)
{
    const CategoryScreen &screen = categoryScreen(category);
    setObjectName(QStringLiteral("GroupBox%1").arg(categoryIndex(category) + 1));

    if (screen.payeeGroupCaption.isEmpty()) {
        // The private kind has a grey title strip instead of a caption.
        auto *strip = new QLabel(QStringLiteral("Özel Nakit"), this);
        strip->setObjectName(QStringLiteral("PanelOzelBaslik"));
        strip->setAutoFillBackground(true);
        QPalette palette = strip->palette();
        palette.setColor(QPalette::Window, QColor(128, 128, 128));
        palette.setColor(QPalette::WindowText, Qt::white);
        strip->setPalette(palette);
        QFont font = strip->font();
        font.setBold(true);
        strip->setFont(font);
        strip->setIndent(6);
        strip->setGeometry(0, 0, 566, 18);
    }

    for (int row = 0; row < 5; ++row) {
        const int top = kFirstRowTop + row * kRowPitch;
        auto *label = new QLabel(payeeFieldCaption(row), this);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setGeometry(8, top, kEditLeft - 14, kEditHeight);

        auto *edit = new QLineEdit(this);
        edit->setObjectName(screen.payeeEditNames[std::size_t(row)]);
        edit->setGeometry(kEditLeft, top, payeeFieldWidth(row), kEditHeight);
        label->setBuddy(edit);
        upperCase->watch(edit);
        m_edits[std::size_t(row)] = edit;
    }
    for (std::size_t i = 0; i + 1 < screen.tabOrder.size(); ++i)
        setTabOrder(m_edits[std::size_t(screen.tabOrder[i])], m_edits[std::size_t(screen.tabOrder[i + 1])]);
    setFixedSize(566, kFirstRowTop + 5 * kRowPitch + 6);
}
