#include "registry/PayeeList.h"

#include "registry/PayeeDatabase.h"
#include "registry/TurkishCollation.h"

#include <algorithm>

namespace {

// A screenful or two of the grid, and the fields around it.
constexpr int kCachedRecords = 1024;

const QString kNotOpen = QStringLiteral("liste açık değil.");

} // namespace

PayeeList::PayeeList(PayeeDatabase &database, PaymentCategory category, QObject *parent)
    : QObject(parent)
    , m_database(database)
    , m_table(PayeeTable::of(category))
    , m_cache(kCachedRecords)
{
}

PayeeList::~PayeeList() = default;

// --- Opening -----------------------------------------------------------------

Result<> PayeeList::openSorted()
{
    if (const Result<> settled = settlePending(nullptr); settled.failed())
        return fail(settled);
    return openWith(false, {}, {});
}

Result<> PayeeList::search(const QString &typedText)
{
    if (const Result<> settled = settlePending(nullptr); settled.failed())
        return fail(settled);
    // Bound, never pasted into the statement: quotes, "%" and "_" are just
    // characters of the prefix, whose letters match in either case. Non-null
    // even when empty, so that "" finds every name that is present and NULL
    // none.
    const QString prefix = typedText.isNull() ? QStringLiteral("") : typedText;
    return openWith(true, TurkishCollation::prefixLowerBound(prefix), TurkishCollation::prefixUpperBound(prefix));
}

Result<> PayeeList::openWith(bool byRange, const QString &lower, const QString &upper)
{
    if (const Result<> prepared = prepareStatements(); prepared.failed()) {
        closeQuietly();
        return fail(prepared.prefixed(QStringLiteral("Liste açılamadı: ")));
    }
    SqlCipherConnection::Statement &query = byRange ? m_rangeKeys : m_sortedKeys;
    if (byRange) {
        query.bindText(1, lower);
        query.bindText(2, upper);
    }
    // A sorted opening reads its first key only; the rest wait until they
    // are needed (readPendingKeys).
    QVector<qint64> keys;
    if (const Result<> read = readKeys(query, !byRange, &keys); read.failed()) {
        closeQuietly();
        return fail(read);
    }

    emit rowsAboutToBeReset();
    m_keys = std::move(keys);
    m_keysPending = !byRange && !m_keys.isEmpty();
    m_newRow = -1;
    m_current = m_keys.isEmpty() ? -1 : 0;
    m_buffer = {};
    m_original = {};
    // Another program may have changed records since they were read.
    m_cache.clear();
    m_unreadable.clear();
    emit rowsReset();
    setState(State::Browsing);
    emit fieldsChanged();
    if (!m_keys.isEmpty())
        emit afterScroll();
    return Result<>::success();
}

Result<> PayeeList::readKeys(SqlCipherConnection::Statement &query, bool firstOnly, QVector<qint64> *keys) const
{
    while (query.next()) {
        keys->append(query.int64(0));
        if (firstOnly) {
            // A statement not stepped to its end holds a read lock.
            query.reset();
            return Result<>::success();
        }
    }
    if (query.error().isError()) {
        return Result<>::failure(QStringLiteral("Liste açılamadı: ")
                                 + PayeeDatabase::failureReason(query.error(), m_database.filePath()));
    }
    return Result<>::success();
}

void PayeeList::readPendingKeys() const
{
    if (!m_keysPending)
        return;
    m_keysPending = false;
    const qint64 shown = m_keys.constFirst();
    QVector<qint64> keys;
    Result<> read = prepareStatements();
    if (read.failed())
        read = read.prefixed(QStringLiteral("Liste açılamadı: "));
    else
        read = readKeys(m_sortedKeys, false, &keys);
    if (read.failed()) {
        m_lastError = read.message();
        emit const_cast<PayeeList *>(this)->listUnreadable(read.message());
        return;
    }
    // The record the fields show stays the current one, also when another
    // program has added or deleted payees since the opening.
    const qsizetype shownAt = keys.indexOf(shown);
    if (shownAt < 0)
        keys.prepend(shown);
    else
        m_current = int(shownAt);
    m_keys = std::move(keys);
}

bool PayeeList::hasRow(int row) const
{
    // The first row of a sorted opening is known without the others.
    return row >= 0 && (row < m_keys.size() || row < rowCount());
}

Result<> PayeeList::close()
{
    if (m_state == State::Closed)
        return Result<>::success();
    if (const Result<> settled = settlePending(nullptr); settled.failed())
        return fail(settled);
    closeQuietly();
    return Result<>::success();
}

void PayeeList::closeQuietly()
{
    const bool hadRows = !m_keys.isEmpty();
    if (hadRows)
        emit rowsAboutToBeReset();
    m_keys.clear();
    m_keysPending = false;
    m_current = -1;
    m_newRow = -1;
    m_buffer = {};
    m_original = {};
    m_cache.clear();
    m_unreadable.clear();
    // A statement still prepared keeps the connection, and with it the
    // file, open after the database is closed.
    for (SqlCipherConnection::Statement *statement : {&m_sortedKeys, &m_rangeKeys, &m_select, &m_insert, &m_update,
                                                      &m_delete})
        *statement = {};
    m_preparedGeneration = 0;
    if (hadRows)
        emit rowsReset();
    setState(State::Closed);
    emit fieldsChanged();
}

Result<> PayeeList::prepareStatements() const
{
    if (!m_database.isOpen())
        return Result<>::failure(QStringLiteral("veritabanı açık değil."));
    if (m_preparedGeneration == m_database.generation() && m_select.isValid())
        return Result<>::success();
    SqlCipherConnection &connection = m_database.connection();
    const std::pair<SqlCipherConnection::Statement *, QString> statements[] = {
        {&m_sortedKeys, m_table.sortedKeysSql(m_database.nameIndexesCurrent())},
        {&m_rangeKeys, m_table.nameRangeKeysSql(m_database.nameIndexesCurrent())},
        {&m_select, m_table.selectSql()},         {&m_insert, m_table.insertSql()},
        {&m_update, m_table.updateSql()},         {&m_delete, m_table.deleteSql()},
    };
    for (const auto &[statement, sql] : statements) {
        *statement = connection.prepare(sql);
        if (!statement->isValid()) {
            const QString reason = PayeeDatabase::failureReason(statement->error(), m_database.filePath());
            m_select = {};
            return Result<>::failure(reason);
        }
    }
    m_cache.clear();
    m_preparedGeneration = m_database.generation();
    return Result<>::success();
}

// --- Reading -----------------------------------------------------------------

int PayeeList::rowCount() const
{
    readPendingKeys();
    return int(m_keys.size());
}

int PayeeList::recordCount() const
{
    return rowCount() - (m_newRow >= 0 ? 1 : 0);
}

int PayeeList::recordNumber(int row) const
{
    if (row < 0 || row >= rowCount() || row == m_newRow)
        return 0;
    return row + 1 - ((m_newRow >= 0 && row > m_newRow) ? 1 : 0);
}

QString PayeeList::field(PayeeColumn column) const
{
    return fields()[size_t(column)];
}

PayeeFields PayeeList::fields() const
{
    return fieldsAt(m_current);
}

Result<PayeeFields> PayeeList::readCurrent() const
{
    if (!hasRow(m_current))
        return PayeeFields{};
    if (canPost() && m_keys[m_current] == m_editKey)
        return m_buffer;
    return loadRecord(m_keys[m_current]);
}

bool PayeeList::isReadable(int row) const
{
    if (!hasRow(row))
        return true;
    if (canPost() && m_keys[row] == m_editKey)
        return true;
    // The answer of a read, never of a mark alone: a row not read yet has
    // no mark, and a marked one may read now (another program repaired the
    // file, say). A row read before comes from the cache.
    return loadRecord(m_keys[row]).succeeded();
}

PayeeFields PayeeList::fieldsAt(int row) const
{
    if (!hasRow(row))
        return {};
    if (canPost() && m_keys[row] == m_editKey)
        return m_buffer;
    return loadRecord(m_keys[row]).valueOr(PayeeFields{});
}

Result<PayeeFields> PayeeList::loadRecord(qint64 key) const
{
    if (const PayeeFields *cached = m_cache.object(key))
        return *cached;
    const QString head = QStringLiteral("Kayıt okunamadı: ");
    if (const Result<> prepared = prepareStatements(); prepared.failed())
        return prepared.prefixed(head).error();
    m_select.bindInt64(1, key);
    if (m_select.next()) {
        PayeeFields fields;
        for (PayeeColumn column : kAllPayeeColumns)
            fields[size_t(column)] = m_select.text(int(column));
        m_select.reset();
        m_cache.insert(key, new PayeeFields(fields));
        m_unreadable.remove(key);
        return fields;
    }
    if (!m_select.error().isError())
        return Failure(head + QStringLiteral("kayıt veritabanında yok; başka bir program silmiş olabilir."));
    SqlCipherConnection::Error error = m_select.error();
    // The file opened with its password: a page that fails now is damaged.
    if (error.failure == SqlCipherConnection::Failure::NotADatabase)
        error.failure = SqlCipherConnection::Failure::Corrupt;
    const Failure failure(head + PayeeDatabase::failureReason(error, m_database.filePath()));
    const bool firstOfThisOpening = m_unreadable.isEmpty();
    m_unreadable.insert(key);
    if (firstOfThisOpening)
        emit const_cast<PayeeList *>(this)->recordUnreadable(failure.message());
    return failure;
}

// --- Editing -----------------------------------------------------------------

Result<> PayeeList::setField(PayeeColumn column, const QString &text)
{
    if (m_state == State::Closed)
        return fail(QStringLiteral("Kayıt değiştirilemedi: ") + kNotOpen);
    if (m_state == State::Browsing) {
        if (const Result<> edited = edit(); edited.failed())
            return edited;
    }
    m_buffer[size_t(column)] = text;
    emit fieldsChanged();
    if (column == PayeeColumn::Name)
        emit rowsChanged(m_current, m_current);
    return Result<>::success();
}

Result<> PayeeList::edit()
{
    if (m_state == State::Closed)
        return fail(QStringLiteral("Kayıt düzenlenemedi: ") + kNotOpen);
    if (m_state != State::Browsing)
        return Result<>::success();
    readPendingKeys();
    // Typing into the fields of an empty list starts a new record.
    if (m_current < 0)
        return insert();
    // Never edit a record that could not be read: saving the empty texts
    // would wipe the fields that were not typed over.
    const Result<PayeeFields> loaded = loadRecord(m_keys[m_current]);
    if (loaded.failed())
        return fail(loaded.error());
    m_original = *loaded;
    m_buffer = *loaded;
    m_editKey = m_keys[m_current];
    setState(State::Editing);
    return Result<>::success();
}

bool PayeeList::isModified() const
{
    if (!canPost())
        return false;
    // QString counts a null and an empty text as equal, as the user does.
    return m_buffer != m_original;
}

Result<> PayeeList::post()
{
    if (m_state == State::Closed)
        return fail(QStringLiteral("Kayıt kaydedilemedi: ") + kNotOpen);
    if (m_state == State::Browsing)
        return Result<>::success();
    const Result<> saved = saveBuffer();
    return saved.failed() ? fail(saved) : saved;
}

Result<> PayeeList::checkLengths() const
{
    for (PayeeColumn column : kAllPayeeColumns) {
        const QString &text = m_buffer[size_t(column)];
        const int limit = PayeeTable::maxLength(column);
        // Only typed texts: older data may hold longer ones.
        if (text != m_original[size_t(column)] && text.size() > limit) {
            return Result<>::failure(QStringLiteral("Kayıt kaydedilemedi: \"%1\" alanı en çok %2 karakter "
                                                  "alabilir; yazılan metin %3 karakter.")
                                       .arg(PayeeTable::fieldLabel(column))
                                       .arg(limit)
                                       .arg(text.size()));
        }
    }
    return Result<>::success();
}

void PayeeList::bindFields(SqlCipherConnection::Statement &statement) const
{
    // An emptied field becomes absent, like a field never filled.
    for (PayeeColumn column : kAllPayeeColumns) {
        const QString &text = m_buffer[size_t(column)];
        statement.bindText(int(column) + 1, text.isEmpty() ? QString() : text);
    }
}

Result<> PayeeList::saveBuffer()
{
    if (m_state == State::Editing && !isModified()) {
        setState(State::Browsing);
        return Result<>::success();
    }
    if (const Result<> fits = checkLengths(); fits.failed())
        return fits;
    const QString head = QStringLiteral("Kayıt kaydedilemedi: ");
    if (const Result<> prepared = prepareStatements(); prepared.failed())
        return prepared.prefixed(head);

    SqlCipherConnection &connection = m_database.connection();
    if (m_state == State::Editing) {
        const qint64 key = m_keys[m_current];
        bindFields(m_update);
        m_update.bindInt64(6, key);
        const SqlCipherConnection::Error failure = m_update.run();
        if (failure.isError())
            return Result<>::failure(head + PayeeDatabase::failureReason(failure, m_database.filePath()));
        if (connection.changes() == 0) {
            return Result<>::failure(head + QStringLiteral("kayıt veritabanında yok; başka bir program silmiş "
                                                         "olabilir. Değişiklikleri iptal edebilirsiniz."));
        }
        m_cache.insert(key, new PayeeFields(m_buffer));
        setState(State::Browsing);
        emit rowsChanged(m_current, m_current);
        return Result<>::success();
    }

    bindFields(m_insert);
    const SqlCipherConnection::Error failure = m_insert.run();
    if (failure.isError())
        return Result<>::failure(head + PayeeDatabase::failureReason(failure, m_database.filePath()));
    const qint64 key = connection.lastInsertRowId();
    const int row = m_newRow;
    // Stays where it was inserted; only a reopen sorts it in.
    m_keys[row] = key;
    m_newRow = -1;
    m_cache.insert(key, new PayeeFields(m_buffer));
    setState(State::Browsing);
    // The rows below it have a record number again.
    emit rowsChanged(row, rowCount() - 1);
    return Result<>::success();
}

void PayeeList::cancel()
{
    if (m_state == State::Editing) {
        m_buffer = m_original;
        setState(State::Browsing);
        emit fieldsChanged();
        emit rowsChanged(m_current, m_current);
    } else if (m_state == State::Inserting) {
        dropNewRecord();
        setState(State::Browsing);
        emit fieldsChanged();
        emit afterScroll();
    }
}

void PayeeList::dropNewRecord()
{
    const int row = m_newRow;
    emit rowAboutToBeRemoved(row);
    m_keys.remove(row);
    m_newRow = -1;
    m_buffer = {};
    m_original = {};
    // The record that was current before the insert sits on the row again.
    m_current = m_keys.isEmpty() ? -1 : std::min(row, rowCount() - 1);
    emit rowRemoved(row);
}

Result<> PayeeList::insert()
{
    if (m_state == State::Closed)
        return fail(QStringLiteral("Yeni kayıt eklenemedi: ") + kNotOpen);
    if (m_state == State::Inserting && !isModified())
        return Result<>::success();
    if (const Result<> settled = settlePending(nullptr); settled.failed())
        return fail(settled);
    readPendingKeys();
    const int row = std::max(m_current, 0);
    emit rowAboutToBeInserted(row);
    m_keys.insert(row, kNewRecordKey);
    m_newRow = row;
    m_editKey = kNewRecordKey;
    m_current = row;
    m_buffer = {};
    m_original = {};
    emit rowInserted(row);
    setState(State::Inserting);
    emit fieldsChanged();
    emit afterScroll();
    return Result<>::success();
}

Result<> PayeeList::deleteCurrent()
{
    if (m_state == State::Closed)
        return fail(QStringLiteral("Kayıt silinemedi: ") + kNotOpen);
    if (m_state == State::Inserting) {
        // The new record is not in the table yet: dropping it is the delete.
        dropNewRecord();
        setState(State::Browsing);
        emit fieldsChanged();
        emit afterScroll();
        return Result<>::success();
    }
    readPendingKeys();
    // The data layer's own words for it, as the offices know them.
    if (m_current < 0)
        return fail(QStringLiteral("Cannot perform this operation on an empty dataset"));
    if (const Result<> prepared = prepareStatements(); prepared.failed())
        return fail(prepared.prefixed(QStringLiteral("Kayıt silinemedi: ")));
    const qint64 key = m_keys[m_current];
    m_delete.bindInt64(1, key);
    const SqlCipherConnection::Error failure = m_delete.run();
    if (failure.isError())
        return fail(QStringLiteral("Kayıt silinemedi: ") + PayeeDatabase::failureReason(failure, m_database.filePath()));

    // Deleting discards an edit of the same record.
    const int row = m_current;
    emit rowAboutToBeRemoved(row);
    m_keys.remove(row);
    m_cache.remove(key);
    m_buffer = {};
    m_original = {};
    m_current = m_keys.isEmpty() ? -1 : std::min(row, rowCount() - 1);
    emit rowRemoved(row);
    setState(State::Browsing);
    emit fieldsChanged();
    emit afterScroll();
    return Result<>::success();
}

// --- Moving ------------------------------------------------------------------

Result<> PayeeList::settlePending(int *targetRow)
{
    if (m_state == State::Editing) {
        if (isModified())
            return saveBuffer();
        m_buffer = m_original;
        setState(State::Browsing);
    } else if (m_state == State::Inserting) {
        if (isModified())
            return saveBuffer();
        const int row = m_newRow;
        dropNewRecord();
        setState(State::Browsing);
        if (targetRow && *targetRow > row)
            --*targetRow;
    }
    return Result<>::success();
}

Result<> PayeeList::moveTo(int row)
{
    if (m_state == State::Closed)
        return fail(QStringLiteral("Başka kayda geçilemedi: ") + kNotOpen);
    if (row < 0 || row >= rowCount())
        return fail(QStringLiteral("Başka kayda geçilemedi: listede %1. satır yok.").arg(row + 1));
    if (row == m_current)
        return Result<>::success();
    int target = row;
    if (const Result<> settled = settlePending(&target); settled.failed())
        return fail(settled);
    setCurrent(target);
    return Result<>::success();
}

Result<> PayeeList::moveByRecords(int distance, int *moved)
{
    if (moved)
        *moved = 0;
    if (m_state == State::Closed)
        return fail(QStringLiteral("Başka kayda geçilemedi: ") + kNotOpen);
    if (rowCount() == 0)
        return Result<>::success();
    const int target = int(std::clamp(qint64(m_current) + distance, qint64(0), qint64(rowCount() - 1)));
    if (target == m_current)
        return Result<>::success();
    // Counted in rows as shown before the move, as the grid saw them.
    const int distanceShown = target - m_current;
    const Result<> movedTo = moveTo(target);
    if (movedTo.succeeded() && moved)
        *moved = distanceShown;
    return movedTo;
}

Result<> PayeeList::first()
{
    return rowCount() > 0 ? moveTo(0) : Result<>::success();
}

Result<> PayeeList::last()
{
    return rowCount() > 0 ? moveTo(rowCount() - 1) : Result<>::success();
}

Result<> PayeeList::next()
{
    return moveByRecords(1);
}

Result<> PayeeList::prior()
{
    return moveByRecords(-1);
}

bool PayeeList::moveToRow(int row)
{
    const Result<> movedTo = moveTo(row);
    if (movedTo.failed())
        emit errorOccurred(movedTo.message());
    return movedTo.succeeded();
}

int PayeeList::moveBy(int distance)
{
    int moved = 0;
    if (const Result<> movedBy = moveByRecords(distance, &moved); movedBy.failed())
        emit errorOccurred(movedBy.message());
    return moved;
}

void PayeeList::setCurrent(int row)
{
    m_current = row;
    emit fieldsChanged();
    emit afterScroll();
}

void PayeeList::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}

Result<> PayeeList::fail(const QString &message)
{
    return fail(Result<>::failure(message));
}

Result<> PayeeList::fail(Result<> failure)
{
    m_lastError = failure.message();
    return failure;
}
