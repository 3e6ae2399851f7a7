#include "registry/SqlCipherConnection.h"

#include <QFileInfo>
#include <QStringDecoder>

#include <sqlite3.h>

#include <utility>

namespace {

SqlCipherConnection::Failure failureOf(int resultCode)
{
    using Failure = SqlCipherConnection::Failure;
    switch (resultCode & 0xFF) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
        return Failure::None;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Failure::Busy;
    case SQLITE_READONLY:
        return Failure::ReadOnly;
    case SQLITE_CONSTRAINT:
        return Failure::Constraint;
    case SQLITE_FULL:
        return Failure::DiskFull;
    case SQLITE_CORRUPT:
        return Failure::Corrupt;
    case SQLITE_NOTADB:
        return Failure::NotADatabase;
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR:
    case SQLITE_PERM:
    case SQLITE_PROTOCOL:
    case SQLITE_NOLFS:
        return Failure::Io;
    default:
        return Failure::Other;
    }
}

SqlCipherConnection::Error errorOf(sqlite3 *database, int resultCode)
{
    SqlCipherConnection::Error error;
    error.failure = failureOf(resultCode);
    if (error.isError()) {
        error.code = resultCode;
        if (database && (sqlite3_extended_errcode(database) & 0xFF) == (resultCode & 0xFF))
            error.code = sqlite3_extended_errcode(database);
        error.detail = database ? QString::fromUtf8(sqlite3_errmsg(database))
                                : QString::fromUtf8(sqlite3_errstr(resultCode));
    }
    return error;
}

SqlCipherConnection::Error notOpen()
{
    return {SqlCipherConnection::Failure::Other, 0, QStringLiteral("connection is not open")};
}

struct CollationHolder
{
    SqlCipherConnection::Comparison comparison;
};

int collationTrampoline(void *holder, int leftLength, const void *left, int rightLength, const void *right)
{
    return static_cast<CollationHolder *>(holder)->comparison(
        static_cast<const char *>(left), leftLength, static_cast<const char *>(right), rightLength);
}

void deleteCollationHolder(void *holder)
{
    delete static_cast<CollationHolder *>(holder);
}

// The first column of the first row of sql, or an empty text.
QString firstText(sqlite3 *database, const char *sql)
{
    QString text;
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(database, sql, -1, &statement, nullptr) == SQLITE_OK
        && sqlite3_step(statement) == SQLITE_ROW) {
        text = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
    }
    sqlite3_finalize(statement);
    return text;
}

// The SQLCipher library the program runs with, set up once, before its
// first connection. Every file of ours has the settings of SQLCipher 3
// (1024-byte pages, 64 000 rounds of PBKDF2-HMAC-SHA1, HMAC-SHA1 on every
// page), which SQLCipher 3 knows no others than. SQLCipher 4 would key new
// files, attached copies among them, with its own settings, which SQLCipher
// 3 cannot read, and opens ours only with those settings named: made its
// defaults, they serve every connection and every ATTACH. Nothing here
// migrates a file (PRAGMA cipher_migrate): it stays readable by both.
struct Engine
{
    QString version; // "3.4.1", "4.6.1 community"
    int major = 0;
    QString problem; // why no file can be opened; empty when usable
};

Engine setUpEngine()
{
    Engine engine;
    sqlite3 *memory = nullptr;
    if (sqlite3_open_v2(":memory:", &memory, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        engine.problem = QStringLiteral("cannot start the database engine: %1")
                             .arg(QString::fromUtf8(sqlite3_errmsg(memory)));
        sqlite3_close_v2(memory);
        return engine;
    }
    engine.version = firstText(memory, "PRAGMA cipher_version");
    engine.major = engine.version.section(QLatin1Char('.'), 0, 0).toInt();
    if (engine.major < 3) {
        engine.problem = engine.version.isEmpty()
                             ? QStringLiteral("the database engine is no SQLCipher")
                             : QStringLiteral("SQLCipher %1 is older than 3").arg(engine.version);
    } else {
        if (engine.major >= 4)
            sqlite3_exec(memory, "PRAGMA cipher_default_compatibility = 3", nullptr, nullptr, nullptr);
        // SQLCipher 3 names no algorithms: it has only the SHA-1 ones.
        const QString hmac = firstText(memory, "PRAGMA cipher_default_hmac_algorithm");
        const QString kdf = firstText(memory, "PRAGMA cipher_default_kdf_algorithm");
        if (firstText(memory, "PRAGMA cipher_default_page_size") != QLatin1String("1024")
            || firstText(memory, "PRAGMA cipher_default_kdf_iter") != QLatin1String("64000")
            || firstText(memory, "PRAGMA cipher_default_use_hmac") != QLatin1String("1")
            || !(hmac.isEmpty() || hmac == QLatin1String("HMAC_SHA1"))
            || !(kdf.isEmpty() || kdf == QLatin1String("PBKDF2_HMAC_SHA1"))) {
            engine.problem = QStringLiteral("SQLCipher %1 does not take the settings of SQLCipher 3 files")
                                 .arg(engine.version);
        }
    }
    sqlite3_close_v2(memory);
    return engine;
}

const Engine &engine()
{
    static const Engine engine = setUpEngine();
    return engine;
}

} // namespace

// --- Statement ---------------------------------------------------------------

SqlCipherConnection::Statement::Statement(sqlite3_stmt *statement, Error error)
    : m_statement(statement)
    , m_error(std::move(error))
{
}

SqlCipherConnection::Statement::~Statement()
{
    sqlite3_finalize(m_statement);
}

SqlCipherConnection::Statement::Statement(Statement &&other) noexcept
    : m_statement(std::exchange(other.m_statement, nullptr))
    , m_error(std::move(other.m_error))
{
}

SqlCipherConnection::Statement &SqlCipherConnection::Statement::operator=(Statement &&other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(m_statement);
        m_statement = std::exchange(other.m_statement, nullptr);
        m_error = std::move(other.m_error);
    }
    return *this;
}

void SqlCipherConnection::Statement::bindText(int index, const QString &text)
{
    if (!m_statement)
        return;
    if (text.isNull()) {
        sqlite3_bind_null(m_statement, index);
        return;
    }
    const QByteArray utf8 = text.toUtf8();
    // An empty QByteArray still points at "", so an empty text is no NULL.
    sqlite3_bind_text(m_statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void SqlCipherConnection::Statement::bindUtf8(int index, const char *utf8, qsizetype size)
{
    if (!m_statement)
        return;
    if (!utf8) {
        sqlite3_bind_null(m_statement, index);
        return;
    }
    sqlite3_bind_text(m_statement, index, utf8, int(size), SQLITE_STATIC);
}

void SqlCipherConnection::Statement::bindInt64(int index, qint64 value)
{
    if (m_statement)
        sqlite3_bind_int64(m_statement, index, value);
}

void SqlCipherConnection::Statement::bindBlob(int index, const QByteArray &bytes)
{
    if (!m_statement)
        return;
    if (bytes.isNull()) {
        sqlite3_bind_null(m_statement, index);
        return;
    }
    sqlite3_bind_blob(m_statement, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
}

bool SqlCipherConnection::Statement::next()
{
    if (!m_statement)
        return false;
    const int result = sqlite3_step(m_statement);
    if (result == SQLITE_ROW) {
        m_error = {};
        return true;
    }
    m_error = errorOf(sqlite3_db_handle(m_statement), result);
    sqlite3_reset(m_statement);
    return false;
}

SqlCipherConnection::Error SqlCipherConnection::Statement::run()
{
    if (!m_statement)
        return m_error.isError() ? m_error : notOpen();
    while (next()) {
    }
    return m_error;
}

QString SqlCipherConnection::Statement::text(int column) const
{
    const auto *value = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
    if (!value)
        return {};
    // Exactly the text that was stored: QString::fromUtf8 would drop a
    // byte order mark at its start.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(value, sqlite3_column_bytes(m_statement, column)));
}

qint64 SqlCipherConnection::Statement::int64(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

QByteArray SqlCipherConnection::Statement::blob(int column) const
{
    const void *value = sqlite3_column_blob(m_statement, column);
    const int size = sqlite3_column_bytes(m_statement, column);
    if (!value)
        return {};
    return QByteArray(static_cast<const char *>(value), size);
}

bool SqlCipherConnection::Statement::isNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

void SqlCipherConnection::Statement::reset()
{
    if (m_statement) {
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
    }
}

// --- Connection --------------------------------------------------------------

SqlCipherConnection::SqlCipherConnection() = default;

SqlCipherConnection::~SqlCipherConnection()
{
    close();
}

SqlCipherConnection::Error SqlCipherConnection::open(const QString &filePath, const QByteArray &key)
{
    return openWith(filePath, key, false);
}

SqlCipherConnection::Error SqlCipherConnection::create(const QString &filePath, const QByteArray &key)
{
    return openWith(filePath, key, true);
}

QString SqlCipherConnection::engineVersion()
{
    return engine().version;
}

SqlCipherConnection::Error SqlCipherConnection::openWith(const QString &filePath, const QByteArray &key,
                                                         bool create)
{
    close();
    if (!engine().problem.isEmpty())
        return {Failure::Other, 0, engine().problem};
    const bool exists = QFileInfo::exists(filePath);
    if (create && exists)
        return {Failure::AlreadyExists, 0, QStringLiteral("file exists")};
    if (!create && !exists)
        return {Failure::Missing, 0, QStringLiteral("file does not exist")};

    // Without SQLITE_OPEN_CREATE a file that vanished meanwhile stays missing
    // instead of being replaced by an empty database.
    // One thread at a time uses a connection: the engine's own lock around
    // every call would only cost, at each row a search reads.
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_PRIVATECACHE | SQLITE_OPEN_NOMUTEX;
    if (create)
        flags |= SQLITE_OPEN_CREATE;
    sqlite3 *database = nullptr;
    int result = sqlite3_open_v2(filePath.toUtf8().constData(), &database, flags, nullptr);
    if (result != SQLITE_OK) {
        Error error = errorOf(database, result);
        if (!create && !QFileInfo::exists(filePath))
            error.failure = Failure::Missing;
        // A handle whose open failed must not be keyed: close it straight away.
        sqlite3_close_v2(database);
        return error;
    }
    sqlite3_extended_result_codes(database, 1);
    sqlite3_busy_timeout(database, m_busyTimeout);

    // The settings of our files are the engine's defaults (engine()): the
    // key is all it takes, with either major version.
    result = sqlite3_key(database, key.constData(), int(key.size()));
    if (result == SQLITE_OK && engine().major >= 4) {
        // SQLCipher 4 writes its own warnings to standard error, from the
        // first keyed connection on; each failure comes back to us as a
        // result code, which the program reports in its own words.
        result = sqlite3_exec(database, "PRAGMA cipher_log_level = NONE", nullptr, nullptr, nullptr);
    }
    if (result == SQLITE_OK) {
        // The key is only tried when the first page is read; another key
        // and a file that is no database both fail here as SQLITE_NOTADB,
        // before anything could be written.
        result = sqlite3_exec(database, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    }
    if (result == SQLITE_OK) {
        // The rollback journal keeps the file alone the whole database, as
        // copies and backups of it assume; WAL would add two side files.
        // Every page read is decrypted: a cache that holds the four name
        // indexes of very large registers (about 20 MiB at 100 000 payees
        // each) keeps reopening a list from decrypting them again. Pages
        // take memory only once read.
        result = sqlite3_exec(database,
                              "PRAGMA journal_mode = DELETE; PRAGMA cache_size = -65536;",
                              nullptr, nullptr, nullptr);
    }
    if (result != SQLITE_OK) {
        Error error = errorOf(database, result);
        sqlite3_close_v2(database);
        return error;
    }
    m_database = database;
    m_filePath = filePath;
    return {};
}

void SqlCipherConnection::close()
{
    if (m_database) {
        // v2: statements still alive keep the engine's state until they go.
        sqlite3_close_v2(m_database);
        m_database = nullptr;
    }
    m_filePath.clear();
}

void SqlCipherConnection::setBusyTimeout(int milliseconds)
{
    m_busyTimeout = milliseconds;
    if (m_database)
        sqlite3_busy_timeout(m_database, milliseconds);
}

SqlCipherConnection::Statement SqlCipherConnection::prepare(const QString &sql)
{
    if (!m_database)
        return Statement(nullptr, notOpen());
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt *statement = nullptr;
    const int result = sqlite3_prepare_v2(m_database, utf8.constData(), int(utf8.size()) + 1, &statement,
                                          nullptr);
    if (result != SQLITE_OK) {
        sqlite3_finalize(statement);
        return Statement(nullptr, errorOf(m_database, result));
    }
    return Statement(statement, {});
}

SqlCipherConnection::Error SqlCipherConnection::execute(const QString &sql)
{
    if (!m_database)
        return notOpen();
    const int result = sqlite3_exec(m_database, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    return errorOf(m_database, result);
}

qint64 SqlCipherConnection::queryInt64(const QString &sql, Error *error)
{
    Statement statement = prepare(sql);
    qint64 value = 0;
    if (statement.next()) {
        value = statement.int64(0);
        statement.reset();
    }
    if (error)
        *error = statement.error();
    return value;
}

qint64 SqlCipherConnection::lastInsertRowId() const
{
    return m_database ? sqlite3_last_insert_rowid(m_database) : 0;
}

int SqlCipherConnection::changes() const
{
    return m_database ? sqlite3_changes(m_database) : 0;
}

bool SqlCipherConnection::inTransaction() const
{
    return m_database && !sqlite3_get_autocommit(m_database);
}

SqlCipherConnection::Error SqlCipherConnection::registerCollation(const char *name, Comparison comparison)
{
    if (!m_database)
        return notOpen();
    const int result = sqlite3_create_collation_v2(m_database, name, SQLITE_UTF8,
                                                   new CollationHolder{comparison}, collationTrampoline,
                                                   deleteCollationHolder);
    return errorOf(m_database, result);
}
