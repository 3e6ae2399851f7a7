#include "olddata/OldDatabaseFile.h"

#include "olddata/JetText.h"

#include <QFile>

// libmdb 1.0.0 wraps glib's header in extern "C" itself, which glib's C++
// parts do not survive: glib comes first.
#include <glib.h>
#include <mdbtools.h>

#include <memory>
#include <optional>
#include <vector>

namespace OldDatabaseFile {

namespace {

constexpr int kRowCountOffset = 0x0C;
constexpr int kRowTableOffset = 0x0E;
constexpr unsigned kOffsetMask = 0x1FFF;
constexpr unsigned kDeletedRow = 0x8000;
constexpr unsigned kOverflowRow = 0x4000;
// Jet numbers the rows of a page in one byte.
constexpr int kMostRowsOnPage = 255;
// A row moved again after it grew once more: Jet follows the chain, and so
// does the reader, but never round in a circle.
constexpr int kMostOverflowHops = 8;
// A memo is text too; its pieces on long-value pages are followed, at most
// this many.
constexpr int kMostMemoPieces = 4096;
constexpr qsizetype kMemoHeader = 12;

struct HandleCloser
{
    void operator()(MdbHandle *handle) const { mdb_close(handle); }
};
struct TableFreer
{
    void operator()(MdbTableDef *table) const { mdb_free_tabledef(table); }
};
using Handle = std::unique_ptr<MdbHandle, HandleCloser>;
using Table = std::unique_ptr<MdbTableDef, TableFreer>;

Outcome failed(Status status, QString message)
{
    Outcome outcome;
    outcome.status = status;
    outcome.message = std::move(message);
    return outcome;
}

unsigned pageInt16(const unsigned char *page, int offset)
{
    return unsigned(page[offset]) | (unsigned(page[offset + 1]) << 8);
}

quint32 pageInt32(const unsigned char *page, int offset)
{
    return quint32(page[offset]) | (quint32(page[offset + 1]) << 8) | (quint32(page[offset + 2]) << 16)
        | (quint32(page[offset + 3]) << 24);
}

QString columnName(const MdbColumn *column)
{
    return QString::fromUtf8(column->name);
}

class TableReader
{
public:
    TableReader(MdbHandle *mdb, PaymentCategory category) : m_mdb(mdb), m_category(category) {}

    // Only the table's definition.
    std::optional<Outcome> openTable();
    Outcome read(const RowSink &sink);

private:
    bool readPage(quint32 page);
    // The row's bytes on the current page after following its overflow
    // pointers; false for a row that is not there (deleted), with damage
    // set when the page contradicts itself.
    bool locateRow(const std::vector<unsigned char> &page, int row, int *start, std::size_t *length);
    // The value's text appended to utf8; false for one that is not text.
    bool appendValue(const MdbField &field, const MdbColumn *column, QByteArray *utf8);
    bool appendMemo(const MdbField &field, QByteArray *utf8);
    QString damage(const QString &what) const;

    MdbHandle *m_mdb;
    PaymentCategory m_category;
    Table m_table;
    std::array<int, kPayeeColumnCount> m_columns{};
    bool m_damaged = false;
    // The page libmdb's page buffer holds: a row's page is read once for
    // all its rows, not again for each.
    static constexpr quint32 kNoPage = 0xFFFFFFFFu;
    quint32 m_bufferPage = kNoPage;
};

QString TableReader::damage(const QString &what) const
{
    return QStringLiteral("%1 tablosu okunamadı: %2 Dosya bozuk olabilir.")
        .arg(PayeeTable::of(m_category).tableName(), what);
}

std::optional<Outcome> TableReader::openTable()
{
    const PayeeTable &payeeTable = PayeeTable::of(m_category);
    const QString name = payeeTable.tableName();
    MdbCatalogEntry *found = nullptr;
    for (guint i = 0; m_mdb->catalog && i < m_mdb->catalog->len; ++i) {
        auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(m_mdb->catalog, i));
        if (entry->object_type == MDB_TABLE
            && QString::fromUtf8(entry->object_name).compare(name, Qt::CaseInsensitive) == 0) {
            found = entry;
            break;
        }
    }
    if (!found)
        return failed(Status::NotPayeeDatabase, QStringLiteral("%1 tablosu yok.").arg(name));
    m_table.reset(mdb_read_table(found));
    if (!m_table)
        return failed(Status::Damaged, damage(QStringLiteral("tablo tanımı okunamadı.")));
    if (m_table->num_cols == 0 || m_table->num_cols > MDB_MAX_COLS)
        return failed(Status::Damaged, damage(QStringLiteral("tablo tanımındaki sütun sayısı geçersiz.")));
    if (!mdb_read_columns(m_table.get()) || m_table->columns->len != m_table->num_cols)
        return failed(Status::Damaged, damage(QStringLiteral("sütun tanımları okunamadı.")));

    for (PayeeColumn column : kAllPayeeColumns) {
        const QString wanted = payeeTable.columnName(column);
        int index = -1;
        for (guint i = 0; i < m_table->num_cols; ++i) {
            const auto *candidate = static_cast<MdbColumn *>(g_ptr_array_index(m_table->columns, i));
            if (columnName(candidate).compare(wanted, Qt::CaseInsensitive) == 0) {
                index = int(i);
                break;
            }
        }
        if (index < 0)
            return failed(Status::NotPayeeDatabase, QStringLiteral("%1 tablosunda %2 sütunu yok.").arg(name, wanted));
        const auto *found = static_cast<MdbColumn *>(g_ptr_array_index(m_table->columns, guint(index)));
        if (found->col_type != MDB_TEXT && found->col_type != MDB_MEMO)
            return failed(Status::NotPayeeDatabase,
                          QStringLiteral("%1 tablosunun %2 sütunu metin değil.").arg(name, wanted));
        m_columns[std::size_t(column)] = index;
    }
    return std::nullopt;
}

bool TableReader::readPage(quint32 page)
{
    if (page != m_bufferPage) {
        m_bufferPage = kNoPage;
        if (mdb_read_pg(m_mdb, page) != ssize_t(m_mdb->fmt->pg_size))
            return false;
        m_bufferPage = page;
    }
    return m_mdb->pg_buf[0] == MDB_PAGE_DATA && pageInt32(m_mdb->pg_buf, 4) == quint32(m_table->entry->table_pg);
}

bool TableReader::locateRow(const std::vector<unsigned char> &page, int row, int *start, std::size_t *length)
{
    const unsigned header = pageInt16(page.data(), kRowTableOffset + 2 * row);
    if (header & kDeletedRow)
        return false;
    quint32 current = m_table->cur_phys_pg;
    int currentRow = row;
    unsigned flags = header;
    for (int hop = 0; flags & kOverflowRow; ++hop) {
        // The row's place holds the page and row it went to.
        if (hop >= kMostOverflowHops) {
            m_damaged = true;
            return false;
        }
        const unsigned offset = flags & kOffsetMask;
        if (!readPage(current) || offset + 4 > unsigned(m_mdb->fmt->pg_size)) {
            m_damaged = true;
            return false;
        }
        const quint32 pointer = pageInt32(m_mdb->pg_buf, int(offset));
        current = pointer >> 8;
        currentRow = int(pointer & 0xFF);
        if (!readPage(current) || currentRow >= int(pageInt16(m_mdb->pg_buf, kRowCountOffset))) {
            m_damaged = true;
            return false;
        }
        // The moved row carries the deleted mark; only its own overflow
        // mark counts.
        flags = pageInt16(m_mdb->pg_buf, kRowTableOffset + 2 * currentRow) & ~kDeletedRow;
    }
    if (!readPage(current)) {
        m_damaged = true;
        return false;
    }
    if (mdb_find_row(m_mdb, currentRow, start, length) != 0 || *length == 0) {
        m_damaged = true;
        return false;
    }
    *start &= int(kOffsetMask);
    return true;
}

bool TableReader::appendMemo(const MdbField &field, QByteArray *utf8)
{
    if (field.siz < kMemoHeader)
        return false;
    const auto *header = static_cast<const unsigned char *>(field.value);
    const quint32 length = pageInt32(header, 0);
    const quint32 pointer = pageInt32(header, 4);
    if (length & 0x80000000u)
        return JetText::appendUtf8(QByteArrayView(reinterpret_cast<const char *>(header) + kMemoHeader,
                                                  field.siz - kMemoHeader),
                                   utf8);
    const quint32 expected = length & 0x3FFFFFFFu;
    QByteArray bytes;
    if (length & 0x40000000u) {
        void *buffer = nullptr;
        int rowStart = 0;
        std::size_t rowLength = 0;
        if (mdb_find_pg_row(m_mdb, int(pointer), &buffer, &rowStart, &rowLength) != 0)
            return false;
        bytes = QByteArray(static_cast<const char *>(buffer) + rowStart, qsizetype(rowLength));
    } else if ((length & 0xC0000000u) == 0) {
        quint32 next = pointer;
        for (int piece = 0; next >> 8; ++piece) {
            void *buffer = nullptr;
            int rowStart = 0;
            std::size_t rowLength = 0;
            if (piece >= kMostMemoPieces
                || mdb_find_pg_row(m_mdb, int(next), &buffer, &rowStart, &rowLength) != 0 || rowLength < 4)
                return false;
            const auto *row = static_cast<const unsigned char *>(buffer) + rowStart;
            bytes.append(reinterpret_cast<const char *>(row) + 4, qsizetype(rowLength) - 4);
            if (quint32(bytes.size()) > expected)
                return false;
            next = pageInt32(row, 0);
        }
    } else {
        return false;
    }
    if (quint32(bytes.size()) != expected)
        return false;
    return JetText::appendUtf8(bytes, utf8);
}

bool TableReader::appendValue(const MdbField &field, const MdbColumn *column, QByteArray *utf8)
{
    if (field.siz < 0 || (field.siz > 0 && !field.value))
        return false;
    if (column->col_type == MDB_MEMO)
        return appendMemo(field, utf8);
    return JetText::appendUtf8(QByteArrayView(static_cast<const char *>(field.value), field.siz), utf8);
}

Outcome TableReader::read(const RowSink &sink)
{
    Outcome outcome;
    outcome.status = Status::Read;
    qint64 &found = outcome.rows[std::size_t(categoryIndex(m_category))];
    const int pageSize = int(m_mdb->fmt->pg_size);
    std::vector<MdbField> fields(std::max<std::size_t>(m_table->num_cols, MDB_MAX_COLS));
    std::vector<unsigned char> page(static_cast<std::size_t>(pageSize));
    // The row's texts one after the other, and where each lies.
    QByteArray texts;
    texts.reserve(4096);
    std::array<std::pair<qsizetype, qsizetype>, kPayeeColumnCount> places;

    mdb_rewind_table(m_table.get());
    while (mdb_read_next_dpg(m_table.get())) {
        m_bufferPage = quint32(m_table->cur_phys_pg);
        std::copy(m_mdb->pg_buf, m_mdb->pg_buf + pageSize, page.begin());
        const int rows = int(pageInt16(page.data(), kRowCountOffset));
        if (rows > kMostRowsOnPage || kRowTableOffset + 2 * rows > pageSize)
            return failed(Status::Damaged, damage(QStringLiteral("bir sayfasının satır tablosu geçersiz.")));
        for (int row = 0; row < rows; ++row) {
            int start = 0;
            std::size_t length = 0;
            if (!locateRow(page, row, &start, &length)) {
                if (m_damaged)
                    return failed(Status::Damaged, damage(QStringLiteral("bir kaydın yeri geçersiz.")));
                continue;
            }
            const int columnsInRow = mdb_crack_row(m_table.get(), start, length, fields.data());
            if (columnsInRow < 0)
                return failed(Status::Damaged, damage(QStringLiteral("bir kaydı çözülemedi.")));
            texts.resize(0);
            for (PayeeColumn column : kAllPayeeColumns) {
                const int index = m_columns[std::size_t(column)];
                const auto *definition = static_cast<MdbColumn *>(g_ptr_array_index(m_table->columns, guint(index)));
                const MdbField &field = fields[std::size_t(index)];
                // A column added after the row was written: absent in it.
                if (definition->col_num >= columnsInRow || field.is_null) {
                    places[std::size_t(column)] = {-1, 0};
                    continue;
                }
                const qsizetype before = texts.size();
                if (!appendValue(field, definition, &texts))
                    return failed(Status::Damaged,
                                  damage(QStringLiteral("bir kaydın %1 değeri okunamadı.").arg(columnName(definition))));
                places[std::size_t(column)] = {before, texts.size() - before};
            }
            PayeeUtf8Fields values;
            for (int i = 0; i < kPayeeColumnCount; ++i) {
                const auto [at, size] = places[std::size_t(i)];
                // Present but empty: an empty text, never an absent one.
                if (at >= 0)
                    values[std::size_t(i)] = size > 0 ? QByteArrayView(texts.constData() + at, size) : QByteArrayView("", 0);
            }
            sink(m_category, values);
            ++found;
            // Back to the page the row table is on.
            if (!readPage(m_table->cur_phys_pg))
                return failed(Status::Damaged, damage(QStringLiteral("bir sayfası okunamadı.")));
        }
    }
    // The table definition keeps the number of its rows: fewer found means
    // that some could not be reached.
    if (quint64(found) != quint64(m_table->num_rows))
        return failed(Status::Damaged, damage(QStringLiteral("tanımında %1 kayıt yazılı, okunabilen %2.")
                                                  .arg(m_table->num_rows)
                                                  .arg(found)));
    return outcome;
}

} // namespace

namespace {

// Opens the file and its catalog; the outcome when that fails.
std::optional<Outcome> openFile(const QString &filePath, Handle *mdb)
{
    const QByteArray path = QFile::encodeName(filePath);
    mdb->reset(mdb_open(path.constData(), MDB_NOFLAGS));
    if (!*mdb)
        return failed(Status::Damaged, QStringLiteral("dosya bir Jet veritabanı olarak açılamadı."));
    if ((*mdb)->f->jet_version != MDB_VER_JET4)
        return failed(Status::NotPayeeDatabase, QStringLiteral("dosya Jet 4.0 biçiminde değil."));
    if (!mdb_read_catalog(mdb->get(), MDB_TABLE))
        return failed(Status::Damaged, QStringLiteral("veritabanının nesne listesi (MSysObjects) okunamadı. "
                                                      "Dosya bozuk olabilir."));
    return std::nullopt;
}

// Every table opened before any row is read, so that a file without one
// of them hands on no row; then, with a sink, the rows of each.
Outcome readTables(const QString &filePath, const RowSink *sink)
{
    Handle mdb;
    if (std::optional<Outcome> problem = openFile(filePath, &mdb))
        return *problem;
    std::vector<std::unique_ptr<TableReader>> readers;
    QStringList missing;
    for (PaymentCategory category : kAllCategories) {
        auto reader = std::make_unique<TableReader>(mdb.get(), category);
        if (std::optional<Outcome> problem = reader->openTable()) {
            if (problem->status == Status::Damaged)
                return *problem;
            missing.append(problem->message);
            continue;
        }
        readers.push_back(std::move(reader));
    }
    if (!missing.isEmpty())
        return failed(Status::NotPayeeDatabase, missing.join(u' '));
    Outcome outcome;
    outcome.status = Status::Read;
    if (!sink)
        return outcome;
    for (std::size_t i = 0; i < readers.size(); ++i) {
        Outcome table = readers[i]->read(*sink);
        if (table.status != Status::Read)
            return table;
        outcome.rows[i] = table.rows[i];
    }
    return outcome;
}

} // namespace

Outcome look(const QString &filePath)
{
    return readTables(filePath, nullptr);
}

Outcome read(const QString &filePath, const RowSink &sink)
{
    return readTables(filePath, &sink);
}

} // namespace OldDatabaseFile
