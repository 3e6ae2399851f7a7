#pragma once

#include "base/DataSetLink.h"
#include "base/PaymentCategory.h"
#include "base/Result.h"
#include "registry/PayeeTable.h"
#include "registry/SqlCipherConnection.h"

#include <QCache>
#include <QSet>
#include <QObject>
#include <QString>
#include <QVector>

class PayeeDatabase;

// The payees of one category as the window shows them: a result (all payees by
// name, or those found by a search) with a current record that can be
// browsed, edited, inserted and deleted.
//
// The result holds only the ordered keys of its payees; a record's fields are
// read when the grid or the fields ask for them and kept in a small cache, so
// that opening and searching stay instant with a hundred thousand payees. A
// sorted opening reads only its first key at once, and the others when the
// count, a row past the first or a change first needs them: the lists of the
// categories nobody chose cost one record each at start, whatever their size.
//
// Rows are the rows the grid shows: the records of the result, plus a new
// record at the place where it was inserted until it is saved or dropped.
// Every operation that can fail returns a Result with the Turkish message to
// show; a failure changes nothing.
class PayeeList : public QObject, public DataSetLink
{
    Q_OBJECT

public:
    enum class State { Closed, Browsing, Editing, Inserting };
    Q_ENUM(State)

    PayeeList(PayeeDatabase &database, PaymentCategory category, QObject *parent = nullptr);
    ~PayeeList() override;

    PaymentCategory category() const { return m_table.category(); }
    const PayeeTable &table() const { return m_table; }

    // Opening, searching and closing first settle a pending record, as a
    // move does (see moves); when it cannot be saved they change nothing.
    // A failure of the keys openSorted() leaves for later is reported by
    // listUnreadable().
    Result<> openSorted();
    // The payees whose name begins with the typed text, by name; every typed
    // character stands for itself. An empty text finds every payee that has a
    // name. On a read failure the list is left closed.
    Result<> search(const QString &typedText);
    Result<> close();

    State state() const { return m_state; }
    bool isOpen() const { return m_state != State::Closed; }
    // Saved records in the result; a new record being inserted is not one.
    int recordCount() const;
    // Rows shown: the records and a new record being inserted.
    int rowCount() const;
    // 1-based; 0 when there is no current record or it is a new one.
    int currentRecordNumber() const { return recordNumber(m_current); }

    // The current record's fields: the edit buffer while editing or
    // inserting, empty texts when there is no current record or it could
    // not be read.
    QString field(PayeeColumn column) const;
    PayeeFields fields() const;
    // The current record's fields, or why they could not be read: what a
    // printed form takes, which must never show a damaged record as empty.
    Result<PayeeFields> readCurrent() const;
    // The fields of any row, for the grid; the edited row shows the buffer.
    PayeeFields fieldsAt(int row) const;
    QString nameAt(int row) const { return fieldsAt(row)[size_t(PayeeColumn::Name)]; }
    // False for a row whose record does not read (a damaged page of the
    // file): the grid marks it, and it cannot be edited or printed. Asked of
    // the file itself, so also right before the row was ever read.
    bool isReadable(int row) const;
    bool isCurrentReadable() const { return isReadable(m_current); }

    // Typing into a field: starts editing a browsing record (inserting a new
    // one into an empty list) and sets the text as given. An empty text is
    // stored as an absent value.
    Result<> setField(PayeeColumn column, const QString &text);

    // Whether "Düzenle" and "Kaydet" are enabled.
    bool canEdit() const { return m_state == State::Browsing; }
    bool canPost() const { return m_state == State::Editing || m_state == State::Inserting; }
    // "Düzenle": starts editing the current record; in an empty list, a new one.
    Result<> edit();
    // Saves the record being edited or inserted. A refused save keeps the
    // state and the typed texts.
    Result<> post();
    // Discards the edit; a new record is dropped.
    void cancel();

    // Editing or inserting: what the close sequence asks about.
    bool hasUnsavedChanges() const { return canPost(); }
    // Whether the buffer differs from the saved record (for a new record:
    // whether anything was typed).
    bool isModified() const;

    // Inserts a new empty record at the current row, which moves down.
    Result<> insert();
    // Deletes the current record from the table; the next record becomes
    // current, the previous one when the last was deleted. While inserting
    // it only drops the new record.
    Result<> deleteCurrent();

    // Moves save an edited record first when it has changes and simply
    // leave the edit when it has none; an unchanged new record is dropped.
    // A refused save keeps the list where it was, still editing. Targets are
    // rows as shown before the move; a move to the current row does nothing.
    Result<> first();
    Result<> last();
    Result<> next();
    Result<> prior();
    Result<> moveTo(int row);
    Result<> moveByRecords(int distance, int *moved = nullptr);

    // The message of the last failure, whatever reported it.
    QString lastError() const { return m_lastError; }

    // DataSetLink, for the grid. Refusals cannot be returned through it, so
    // they are reported by errorOccurred() as well.
    bool isActive() const override { return isOpen(); }
    int recordNumber(int row) const override;
    int currentRow() const override { return m_current; }
    bool moveToRow(int row) override;
    int moveBy(int distance) override;

    // How many records' fields are held in memory now.
    int cachedRecordCount() const { return int(m_cache.size()); }

signals:
    // The current record changed: a move, an insert, a delete, a dropped new
    // record, or an open whose result is not empty.
    void afterScroll();
    void stateChanged(PayeeList::State state);
    // The current record's field texts may have changed.
    void fieldsChanged();
    // Row signals in pairs around each change, for a model to follow.
    void rowsAboutToBeReset();
    void rowsReset();
    void rowAboutToBeInserted(int row);
    void rowInserted(int row);
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);
    void rowsChanged(int firstRow, int lastRow);
    // A refused move through the DataSetLink interface.
    void errorOccurred(const QString &message);
    // The first record of this opening that could not be read; later ones
    // are only marked, so that a damaged file is reported once per opening,
    // not once per painted row. Emitted while the grid may be painting:
    // show it later, not from the slot.
    void recordUnreadable(const QString &message);
    // The keys a sorted opening left for later could not be read when they
    // were first needed: the list keeps its first record alone. Emitted
    // while the grid may be painting: show it later, not from the slot.
    void listUnreadable(const QString &message);

private:
    static constexpr qint64 kNewRecordKey = 0;

    Result<> fail(const QString &message);
    Result<> fail(Result<> failure);
    Result<> prepareStatements() const;
    Result<> openWith(bool byRange, const QString &lower, const QString &upper);
    Result<> readKeys(SqlCipherConnection::Statement &query, bool firstOnly, QVector<qint64> *keys) const;
    void readPendingKeys() const;
    bool hasRow(int row) const;
    void closeQuietly();
    Result<> settlePending(int *targetRow);
    Result<> saveBuffer();
    Result<> checkLengths() const;
    void dropNewRecord();
    void setState(State state);
    void setCurrent(int row);
    Result<PayeeFields> loadRecord(qint64 key) const;
    void bindFields(SqlCipherConnection::Statement &statement) const;

    PayeeDatabase &m_database;
    const PayeeTable &m_table;
    State m_state = State::Closed;
    mutable QString m_lastError;

    // Mutable for the keys a sorted opening reads when they are first
    // needed, which may be while the grid asks for the count.
    mutable QVector<qint64> m_keys;
    mutable bool m_keysPending = false;
    mutable int m_current = -1;
    int m_newRow = -1;
    // The key of the record in the buffer (kNewRecordKey for a new one);
    // that row shows the buffer while editing or inserting.
    qint64 m_editKey = -1;
    PayeeFields m_buffer;
    PayeeFields m_original;

    // Prepared once per connection, on first use.
    mutable quint64 m_preparedGeneration = 0;
    mutable SqlCipherConnection::Statement m_sortedKeys;
    mutable SqlCipherConnection::Statement m_rangeKeys;
    mutable SqlCipherConnection::Statement m_select;
    mutable SqlCipherConnection::Statement m_insert;
    mutable SqlCipherConnection::Statement m_update;
    mutable SqlCipherConnection::Statement m_delete;
    mutable QCache<qint64, PayeeFields> m_cache;
    // Keys whose records could not be read since the last opening, so that
    // an opening reports its first one only.
    mutable QSet<qint64> m_unreadable;
};
