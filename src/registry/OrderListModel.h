#pragma once

#include "registry/OrderStore.h"

#include <QAbstractTableModel>

class OrderList;

// The orders window's grid model: one row per record of an order list, newest
// first, with the number, the day and time, the category, the payee and the gross
// and net amounts, and on a register that records them the clerk who issued
// it. Rows are read from the list as the view asks for them.
class OrderListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Number, Issued, Kind, Payee, Gross, Net, Clerk, ColumnCount };

    explicit OrderListModel(OrderList *list, QObject *parent = nullptr);

    OrderList *list() const { return m_list; }

    // "Eczane", or for a reprint "Eczane (12 no. yeniden)".
    static QString kindCell(const IssuedOrder &order);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    OrderList *m_list;
};
