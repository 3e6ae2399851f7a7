#include "registry/PayeeListModel.h"

#include "registry/PayeeList.h"

PayeeListModel::PayeeListModel(PayeeList *list, QObject *parent)
    : QAbstractTableModel(parent)
    , m_list(list)
{
    connect(list, &PayeeList::rowsAboutToBeReset, this, [this] { beginResetModel(); });
    connect(list, &PayeeList::rowsReset, this, [this] { endResetModel(); });
    connect(list, &PayeeList::rowAboutToBeInserted, this, [this](int row) { beginInsertRows({}, row, row); });
    connect(list, &PayeeList::rowInserted, this, [this] { endInsertRows(); });
    connect(list, &PayeeList::rowAboutToBeRemoved, this, [this](int row) { beginRemoveRows({}, row, row); });
    connect(list, &PayeeList::rowRemoved, this, [this] { endRemoveRows(); });
    connect(list, &PayeeList::rowsChanged, this, &PayeeListModel::followChange);
}

int PayeeListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_list->rowCount();
}

int PayeeListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 1;
}

QVariant PayeeListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    switch (role) {
    case Qt::DisplayRole:
        // A record the file could not give back is not an empty name.
        if (!m_list->isReadable(index.row()))
            return unreadableText();
        return m_list->nameAt(index.row());
    case RecordNumberRole:
        return m_list->recordNumber(index.row());
    default:
        return {};
    }
}

QString PayeeListModel::unreadableText()
{
    return QStringLiteral("(okunamayan kayıt)");
}

QVariant PayeeListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section == 0 && role == Qt::DisplayRole)
        return m_list->table().gridTitle();
    return {};
}

Qt::ItemFlags PayeeListModel::flags(const QModelIndex &index) const
{
    // The grid shows names only; they are edited in the fields.
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void PayeeListModel::followChange(int firstRow, int lastRow)
{
    if (firstRow < 0 || lastRow < firstRow || lastRow >= rowCount())
        return;
    emit dataChanged(index(firstRow, 0), index(lastRow, 0), {Qt::DisplayRole, RecordNumberRole});
}
