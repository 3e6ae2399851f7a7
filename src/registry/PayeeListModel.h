#pragma once

#include <QAbstractTableModel>

class PayeeList;

// The list grid's model: one row per row of a payee list, one column with the
// name. Names are read from the list as the view asks for them, so opening a
// list of any size costs the view nothing.
class PayeeListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // The 1-based record number of the row (0 for a new record), for striping.
    static constexpr int RecordNumberRole = Qt::UserRole + 1;

    explicit PayeeListModel(PayeeList *list, QObject *parent = nullptr);

    PayeeList *list() const { return m_list; }

    // What a row shows in place of a name that could not be read.
    static QString unreadableText();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    void followChange(int firstRow, int lastRow);

    PayeeList *m_list;
};
