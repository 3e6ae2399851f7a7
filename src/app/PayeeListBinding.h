#pragma once

#include "base/PaymentCategory.h"
#include "base/Result.h"

#include <QObject>
#include <QPointer>

class PayeeDatabase;
class PayeeFieldGroup;
class PayeeList;
class PayeeListModel;
class QWidget;
class TStripedDBGrid;

// Binds one category's payee list to its grid and its five fields: the grid
// shows the list's rows and moves its current record, the fields show the
// current record and hand what the user types to the list. The list, named
// Query1..Query4 after its category, belongs to the binding.
class PayeeListBinding : public QObject
{
    Q_OBJECT

public:
    PayeeListBinding(PayeeDatabase &database, PaymentCategory category, TStripedDBGrid *grid,
                     PayeeFieldGroup *fields, QObject *parent);
    ~PayeeListBinding() override;

    PaymentCategory category() const { return m_category; }
    PayeeList *list() const { return m_list; }
    PayeeFieldGroup *fields() const { return m_fields; }

    // Whether control is the list's grid or one of its fields: the controls
    // whose list "Düzenle" and "Kaydet" act on.
    bool serves(const QWidget *control) const;

    // The fields show the current record (the edit buffer while editing) and
    // take typing only while the list is open.
    void showFields();

    // Gives the grid its rows; until then the list reads no more than its
    // current record. Called when the category is first chosen.
    void attachGrid();

signals:
    // The current record moved (the list's AfterScroll).
    void recordMoved();
    // The list started or ended an edit: the commands that follow it change.
    void editStateChanged();
    // A refusal the user must see: a move through the grid, a field's text
    // the list could not take.
    void failed(const QString &message);

private:
    void fieldEdited(int column, const QString &text);

    PaymentCategory m_category;
    PayeeList *m_list;
    PayeeListModel *m_model;
    QPointer<TStripedDBGrid> m_grid; // the window's, and may go first
    PayeeFieldGroup *m_fields;
    // The column whose field the user is typing into: it already shows what
    // the list is about to hold, and a rewrite would move its caret and wipe
    // its undo history.
    int m_columnBeingTyped = -1;
};
