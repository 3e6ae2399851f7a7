#include "registry/OrderListModel.h"

#include "base/KurusAmount.h"
#include "base/TurkishText.h"
#include "registry/OrderList.h"
#include "registry/PayeeListModel.h"

OrderListModel::OrderListModel(OrderList *list, QObject *parent)
    : QAbstractTableModel(parent)
    , m_list(list)
{
    connect(list, &OrderList::rowsAboutToBeReset, this, [this] { beginResetModel(); });
    connect(list, &OrderList::rowsReset, this, [this] { endResetModel(); });
}

int OrderListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_list->rowCount();
}

int OrderListModel::columnCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return m_list->recordsClerks() ? ColumnCount : Clerk;
}

QString OrderListModel::kindCell(const IssuedOrder &order)
{
    const QString word = categoryWord(order.category);
    if (!order.isReprint())
        return word;
    return QStringLiteral("%1 (%2 no. yeniden)").arg(word).arg(order.reprintOf);
}

QVariant OrderListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int column = index.column();
    if (role == Qt::TextAlignmentRole) {
        const bool figure = column == Number || column == Gross || column == Net;
        return QVariant::fromValue(Qt::AlignVCenter | (figure ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role != Qt::DisplayRole)
        return {};
    const int row = index.row();
    if (column == Number)
        return QString::number(m_list->numberAt(row));
    if (!m_list->isReadable(row))
        return column == Payee ? PayeeListModel::unreadableText() : QString();
    const IssuedOrder order = m_list->orderAt(row);
    switch (column) {
    case Issued:
        return TurkishText::shortDate(order.issuedAt.date()) + order.issuedAt.toString(QStringLiteral(" HH:mm"));
    case Kind:
        return kindCell(order);
    case Payee:
        return order.name();
    case Gross:
        return KurusAmount::toText(order.gross);
    case Net:
        return KurusAmount::toText(order.net);
    case Clerk:
        return order.clerk;
    default:
        return {};
    }
}

QVariant OrderListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char16_t *const titles[ColumnCount] = {u" No", u" Tarih", u" Tür", u" Adı Soyadı", u" Brüt Tutar",
                                                         u" Net Tutar", u" Düzenleyen"};
    return section >= 0 && section < columnCount() ? QString::fromUtf16(titles[section]) : QVariant();
}

Qt::ItemFlags OrderListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}
