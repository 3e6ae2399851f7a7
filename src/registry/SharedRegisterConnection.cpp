#include "registry/SharedRegisterConnection.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringList>
#include <QtEndian>

#include <libpq-fe.h>

#include <cstring>
#include <vector>

namespace {

using Failure = SharedRegisterConnection::Failure;
using Error = SharedRegisterConnection::Error;

// The object ids of the types the statements bind and read (pg_type.h).
constexpr Oid kBool = 16;
constexpr Oid kBytea = 17;
constexpr Oid kInt8 = 20;
constexpr Oid kInt2 = 21;
constexpr Oid kInt4 = 23;
constexpr Oid kText = 25;

// Answers are read after this many statements of a batch, so that neither
// side's buffers fill while the other waits.
constexpr int kBatchWindow = 256;

// A connection that is never refused as unreachable only by taking the
// whole of the system's own time (about two minutes).
const QString kConnectTimeout = QStringLiteral("10");

const QString kUnreachableHint = QStringLiteral("Sunucunun çalıştığını, adının ve bağlantı noktasının doğru olduğunu "
                                                "ve bu bilgisayarın ağa bağlı olduğunu denetleyin.");

struct ConninfoDeleter
{
    void operator()(PQconninfoOption *options) const { PQconninfoFree(options); }
};
using Conninfo = std::unique_ptr<PQconninfoOption, ConninfoDeleter>;

QMap<QString, QString> valuesOf(const PQconninfoOption *options)
{
    QMap<QString, QString> values;
    for (const PQconninfoOption *option = options; option && option->keyword; ++option) {
        if (option->val && *option->val)
            values.insert(QString::fromUtf8(option->keyword), QString::fromUtf8(option->val));
    }
    return values;
}

// Whether one entry of a host list is this computer: a Unix socket's folder
// (or an abstract socket), the name localhost, or a loopback address.
bool isLocalHost(const QString &host)
{
    const QString entry = host.trimmed();
    if (entry.isEmpty() || entry.startsWith(u'/') || entry.startsWith(u'@'))
        return true;
    if (entry.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    static const QRegularExpression loopback(QStringLiteral("^(127(\\.\\d{1,3}){3}|::1|(0{1,4}:){7}0{0,3}1)$"));
    return loopback.match(entry).hasMatch();
}

// The names libpq will connect to; the host names decide, for they are what
// the certificate is checked against, and the addresses only without them.
bool goesToAnotherComputer(const QMap<QString, QString> &effective)
{
    const QString hosts = effective.value(QStringLiteral("host"));
    const QString addresses = effective.value(QStringLiteral("hostaddr"));
    const QStringList entries = (hosts.isEmpty() ? addresses : hosts).split(u',');
    for (const QString &entry : entries) {
        if (!isLocalHost(entry))
            return true;
    }
    return false;
}

QString describe(const QMap<QString, QString> &values)
{
    QString host = values.value(QStringLiteral("host"));
    if (host.isEmpty())
        host = values.value(QStringLiteral("hostaddr"));
    QStringList parts;
    parts.append(host.isEmpty() || host.startsWith(u'/') ? QStringLiteral("sunucu bu bilgisayarda") + (host.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(host))
                                                         : QStringLiteral("sunucu %1").arg(host));
    if (values.contains(QStringLiteral("port")))
        parts.append(QStringLiteral("bağlantı noktası %1").arg(values.value(QStringLiteral("port"))));
    if (values.contains(QStringLiteral("dbname")))
        parts.append(QStringLiteral("veritabanı %1").arg(values.value(QStringLiteral("dbname"))));
    if (values.contains(QStringLiteral("user")))
        parts.append(QStringLiteral("kullanıcı %1").arg(values.value(QStringLiteral("user"))));
    return parts.join(QStringLiteral(", "));
}

QString libpqWords(const PGconn *connection)
{
    return QString::fromUtf8(PQerrorMessage(connection)).trimmed();
}

// What a failed connection's message tells. libpq gives no code for it,
// only words, which are English here (and the server's, which it passes on,
// English unless the server was set up otherwise); what is not recognised is
// Other, with the words shown.
Failure connectionFailure(const PGconn *connection)
{
    if (PQconnectionNeedsPassword(connection))
        return Failure::PasswordNeeded;
    const QString words = libpqWords(connection);
    const auto has = [&words](const char *text) { return words.contains(QLatin1String(text), Qt::CaseInsensitive); };
    if (has("password authentication failed") || has("authentication failed for user")
        || (has("role \"") && has("does not exist")))
        return Failure::WrongPassword;
    if (has("database \"") && has("does not exist"))
        return Failure::NoSuchDatabase;
    if (has("SSL") || has("certificate") || has("no encryption"))
        return Failure::Tls;
    if (has("Connection refused") || has("No such file or directory") || has("could not translate host name")
        || has("timeout expired") || has("Is the server running") || has("could not connect")
        || has("Network is unreachable") || has("No route to host") || has("server closed the connection"))
        return Failure::Unreachable;
    return Failure::Other;
}

QString connectionMessage(Failure failure, const QString &where, const QString &user, const QString &words)
{
    const QString head = QStringLiteral("Paylaşılan kayda bağlanılamadı (%1): ").arg(where);
    switch (failure) {
    case Failure::Unreachable:
        return head + QStringLiteral("sunucuya ulaşılamıyor. %1 (libpq: %2)").arg(kUnreachableHint, words);
    case Failure::PasswordNeeded:
        return head + QStringLiteral("sunucu %1 kullanıcısı için parola istiyor, ama parola ne bağlantı dizesinde "
                                     "ne parola dosyasında (~/.pgpass) ne de hizmet dosyasında var.")
                          .arg(user);
    case Failure::WrongPassword:
        return head + QStringLiteral("sunucu %1 kullanıcısını kabul etmedi: kullanıcı adı ya da parola yanlış.").arg(user);
    case Failure::NoSuchDatabase:
        return head + QStringLiteral("sunucuda bu adla bir veritabanı yok. Bağlantı dizesindeki veritabanı adını "
                                     "(dbname) denetleyin.");
    case Failure::Tls:
        return head + QStringLiteral("sunucuyla güvenli (TLS) bağlantı kurulamadı ya da sunucunun sertifikası "
                                     "doğrulanamadı. Sunucunun sertifikasını imzalayan kuruluşun sertifikası bu "
                                     "bilgisayarda olmalı (~/.postgresql/root.crt ya da sslrootcert). (libpq: %1)")
                          .arg(words);
    default:
        return head + QStringLiteral("sunucu bağlantıyı kabul etmedi. (libpq: %1)").arg(words);
    }
}

QByteArray bigEndian(qint64 value)
{
    QByteArray bytes(8, Qt::Uninitialized);
    qToBigEndian(value, bytes.data());
    return bytes;
}

QString textOf(const char *value, int length)
{
    // Exactly the stored text: QString::fromUtf8 would drop a byte order
    // mark at its start.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(value, length));
}

} // namespace

// --- Parameters ---------------------------------------------------------------

SharedRegisterConnection::Parameters &SharedRegisterConnection::Parameters::text(const QString &value)
{
    m_types.append(kText);
    m_nulls.append(value.isNull());
    m_values.append(value.isNull() ? QByteArray() : value.toUtf8());
    return *this;
}

SharedRegisterConnection::Parameters &SharedRegisterConnection::Parameters::int64(qint64 value)
{
    m_types.append(kInt8);
    m_nulls.append(false);
    m_values.append(bigEndian(value));
    return *this;
}

SharedRegisterConnection::Parameters &SharedRegisterConnection::Parameters::nullInt64()
{
    m_types.append(kInt8);
    m_nulls.append(true);
    m_values.append(QByteArray());
    return *this;
}

SharedRegisterConnection::Parameters &SharedRegisterConnection::Parameters::bytes(const QByteArray &value)
{
    m_types.append(kBytea);
    m_nulls.append(value.isNull());
    m_values.append(value);
    return *this;
}

// --- Rows ---------------------------------------------------------------------

SharedRegisterConnection::Rows::Rows(pg_result *result)
    : m_result(result, PQclear)
{
}

int SharedRegisterConnection::Rows::count() const
{
    return m_result ? PQntuples(m_result.get()) : 0;
}

int SharedRegisterConnection::Rows::columns() const
{
    return m_result ? PQnfields(m_result.get()) : 0;
}

bool SharedRegisterConnection::Rows::isNull(int row, int column) const
{
    return !m_result || PQgetisnull(m_result.get(), row, column);
}

QString SharedRegisterConnection::Rows::text(int row, int column) const
{
    if (isNull(row, column))
        return {};
    return textOf(PQgetvalue(m_result.get(), row, column), PQgetlength(m_result.get(), row, column));
}

qint64 SharedRegisterConnection::Rows::int64(int row, int column) const
{
    if (isNull(row, column))
        return 0;
    const char *value = PQgetvalue(m_result.get(), row, column);
    switch (PQftype(m_result.get(), column)) {
    case kInt8:
        return qFromBigEndian<qint64>(value);
    case kInt4:
        return qFromBigEndian<qint32>(value);
    case kInt2:
        return qFromBigEndian<qint16>(value);
    case kBool:
        return value[0] != 0 ? 1 : 0;
    default:
        return 0;
    }
}

bool SharedRegisterConnection::Rows::boolean(int row, int column) const
{
    return int64(row, column) != 0;
}

QByteArray SharedRegisterConnection::Rows::bytes(int row, int column) const
{
    if (isNull(row, column))
        return {};
    return QByteArray(PQgetvalue(m_result.get(), row, column), PQgetlength(m_result.get(), row, column));
}

qint64 SharedRegisterConnection::Rows::affected() const
{
    return m_result ? QByteArray(PQcmdTuples(m_result.get())).toLongLong() : 0;
}

// --- Connection ---------------------------------------------------------------

SharedRegisterConnection::SharedRegisterConnection() = default;

SharedRegisterConnection::~SharedRegisterConnection()
{
    close();
}

Result<QMap<QString, QString>> SharedRegisterConnection::addedParameters(const QString &connectionString)
{
    char *parseError = nullptr;
    const Conninfo given(PQconninfoParse(connectionString.toUtf8().constData(), &parseError));
    if (!given) {
        const QString words = parseError ? QString::fromUtf8(parseError).trimmed() : QString();
        PQfreemem(parseError);
        return ::Failure(QStringLiteral("Paylaşılan kaydın bağlantı dizesi okunamadı: libpq biçiminde değil "
                                      "(örnek: \"service=mirvasel\" ya da \"host=sunucu dbname=mirvasel user=ad\"). "
                                      "(libpq: %1)")
                           .arg(words));
    }
    const QMap<QString, QString> stated = valuesOf(given.get());

    // What libpq makes of the string with its service and the environment:
    // only a connection started shows it. It is dropped before anything is
    // sent; at most the server's address was looked up.
    const QByteArray utf8 = connectionString.toUtf8();
    const char *keywords[] = {"dbname", nullptr};
    const char *values[] = {utf8.constData(), nullptr};
    PGconn *probe = PQconnectStartParams(keywords, values, 1);
    QMap<QString, QString> effective = stated;
    if (probe) {
        const Conninfo options(PQconninfo(probe));
        effective = valuesOf(options.get());
        PQfinish(probe);
    }

    QMap<QString, QString> added;
    // libpq's own default is "prefer", which falls back to no encryption
    // at all: a mode named anywhere (the string, its service, PGSSLMODE) is
    // kept, but "prefer" is taken for the default it nearly always is.
    const bool modeChosen = stated.contains(QStringLiteral("sslmode")) || qEnvironmentVariableIsSet("PGSSLMODE")
                            || effective.value(QStringLiteral("sslmode"), QStringLiteral("prefer"))
                                   != QLatin1String("prefer");
    if (!modeChosen && goesToAnotherComputer(effective))
        added.insert(QStringLiteral("sslmode"), QStringLiteral("verify-full"));
    if (!effective.contains(QStringLiteral("connect_timeout")))
        added.insert(QStringLiteral("connect_timeout"), kConnectTimeout);
    added.insert(QStringLiteral("fallback_application_name"), QStringLiteral("Zenparol"));
    added.insert(QStringLiteral("client_encoding"), QStringLiteral("UTF8"));
    return added;
}

Result<> SharedRegisterConnection::fail(Error error, const QString &message)
{
    m_error = std::move(error);
    return Result<>::failure(message);
}

Result<> SharedRegisterConnection::open(const QString &connectionString, const QByteArray &password)
{
    close();
    m_error = {};
    const Result<QMap<QString, QString>> added = addedParameters(connectionString);
    if (added.failed())
        return fail({Failure::BadConnectionString, {}, {}}, added.message());

    // The string first, expanded as libpq reads it, then what is added.
    std::vector<QByteArray> keywordBytes{QByteArrayLiteral("dbname")};
    std::vector<QByteArray> valueBytes{connectionString.toUtf8()};
    for (auto it = added->cbegin(); it != added->cend(); ++it) {
        keywordBytes.push_back(it.key().toUtf8());
        valueBytes.push_back(it.value().toUtf8());
    }
    if (!password.isNull()) {
        keywordBytes.push_back(QByteArrayLiteral("password"));
        valueBytes.push_back(password);
    }
    std::vector<const char *> keywords;
    std::vector<const char *> values;
    for (std::size_t i = 0; i < keywordBytes.size(); ++i) {
        keywords.push_back(keywordBytes[i].constData());
        values.push_back(valueBytes[i].constData());
    }
    keywords.push_back(nullptr);
    values.push_back(nullptr);

    PGconn *connection = PQconnectdbParams(keywords.data(), values.data(), 1);
    if (!connection)
        return fail({Failure::Other, {}, {}}, QStringLiteral("Paylaşılan kayda bağlanılamadı: bellek yetmedi."));
    const Conninfo options(PQconninfo(connection));
    const QMap<QString, QString> effective = valuesOf(options.get());
    m_description = describe(effective);
    if (PQstatus(connection) != CONNECTION_OK) {
        const Failure failure = connectionFailure(connection);
        const QString words = libpqWords(connection);
        PQfinish(connection);
        return fail({failure, {}, words},
                    connectionMessage(failure, m_description, effective.value(QStringLiteral("user")), words));
    }
    m_connection = connection;
    if (const Result<> schema = checkSchema(); schema.failed()) {
        const Error error = m_error;
        close();
        m_error = error;
        return schema;
    }
    return Result<>::success();
}

Result<> SharedRegisterConnection::checkSchema()
{
    const QString head = QStringLiteral("Paylaşılan kayıt kullanılamıyor (%1): ").arg(m_description);
    const Result<Rows> who = execute(QStringLiteral("SELECT current_user::text"));
    if (who.failed())
        return fail(m_error, head + failureReason(m_error));
    m_role = who->text(0, 0);
    const Result<Rows> version = execute(QStringLiteral("SELECT surum FROM mirvasel.sema"));
    if (version.failed()) {
        Error error = m_error;
        // undefined_table, invalid_schema_name
        if (error.sqlState == QLatin1String("42P01") || error.sqlState == QLatin1String("3F000")) {
            error.failure = Failure::NoSchema;
            return fail(error, head + QStringLiteral("veritabanında paylaşılan kayıt kurulmamış. Yönetici önce sunucuda "
                                                     "mirvasel-shared-register.sql betiğini çalıştırmalı."));
        }
        if (error.failure == Failure::Refused) {
            error.failure = Failure::NoAccess;
            return fail(error, head + QStringLiteral("%1 kullanıcısının paylaşılan kayda erişim izni yok. Yönetici bu "
                                                     "kullanıcıyı mirvasel_katip rolüne eklemeli.")
                                          .arg(m_role));
        }
        return fail(error, head + failureReason(error));
    }
    const qint64 found = version->count() == 1 ? version->int64(0, 0) : 0;
    if (found == kSchemaVersion)
        return Result<>::success();
    if (found > kSchemaVersion) {
        return fail({Failure::NewerSchema, {}, {}},
                    head + QStringLiteral("paylaşılan kaydın şema sürümü %1, bu programınki %2: kayıt programın daha "
                                          "yeni bir sürümü için kurulmuş. Programı güncelleyin.")
                               .arg(found)
                               .arg(kSchemaVersion));
    }
    return fail({Failure::OlderSchema, {}, {}},
                head + QStringLiteral("paylaşılan kaydın şema sürümü %1, bu programınki %2: kayıt eski bir sürümle "
                                      "kurulmuş. Yönetici sunucudaki kaydı güncellemeli.")
                           .arg(found)
                           .arg(kSchemaVersion));
}

void SharedRegisterConnection::close()
{
    if (m_connection) {
        PQfinish(m_connection);
        m_connection = nullptr;
    }
    m_prepared.clear();
    m_role.clear();
}

SharedRegisterConnection::Error SharedRegisterConnection::errorOf(pg_result *result) const
{
    Error error;
    error.failure = Failure::Other;
    if (result) {
        error.sqlState = QString::fromLatin1(PQresultErrorField(result, PG_DIAG_SQLSTATE));
        error.detail = QString::fromUtf8(PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY));
    }
    if (error.detail.isEmpty())
        error.detail = libpqWords(m_connection);
    if (!m_connection || PQstatus(m_connection) == CONNECTION_BAD || error.sqlState.startsWith(QLatin1String("08"))
        || error.sqlState.startsWith(QLatin1String("57P"))) {
        error.failure = Failure::Lost;
    } else if (error.sqlState == QLatin1String("42501")) {
        error.failure = Failure::Refused;
    } else if (error.sqlState.startsWith(QLatin1String("23"))) {
        error.failure = Failure::Constraint;
    } else if (error.sqlState == QLatin1String("40001") || error.sqlState == QLatin1String("40P01")
               || error.sqlState == QLatin1String("55P03")) {
        error.failure = Failure::Conflict;
    } else if (error.sqlState == QLatin1String("53100")) {
        error.failure = Failure::DiskFull;
    }
    return error;
}

Result<> SharedRegisterConnection::failStatement(pg_result *result, const QString &head)
{
    m_error = errorOf(result);
    PQclear(result);
    return Result<>::failure(head + failureReason(m_error));
}

Result<QByteArray> SharedRegisterConnection::prepared(const QString &sql, const Parameters &parameters)
{
    QByteArray key = sql.toUtf8();
    for (const Oid type : parameters.m_types)
        key += '/' + QByteArray::number(type);
    if (const auto found = m_prepared.constFind(key); found != m_prepared.cend())
        return *found;
    const QByteArray name = "mirvasel_" + QByteArray::number(m_prepared.size() + 1);
    pg_result *result = PQprepare(m_connection, name.constData(), sql.toUtf8().constData(), parameters.count(),
                                  reinterpret_cast<const Oid *>(parameters.m_types.constData()));
    if (PQresultStatus(result) != PGRES_COMMAND_OK)
        return failStatement(result).error();
    PQclear(result);
    m_prepared.insert(key, name);
    return name;
}

namespace {

// The pointers, lengths and formats libpq takes for the values.
struct Bound
{
    std::vector<const char *> values;
    std::vector<int> lengths;
    std::vector<int> formats;
};

Bound bound(const QVector<QByteArray> &values, const QVector<bool> &nulls)
{
    Bound b;
    for (qsizetype i = 0; i < values.size(); ++i) {
        b.values.push_back(nulls[i] ? nullptr : values[i].constData());
        b.lengths.push_back(int(values[i].size()));
        b.formats.push_back(1);
    }
    return b;
}

} // namespace

Result<SharedRegisterConnection::Rows> SharedRegisterConnection::execute(const QString &sql, const Parameters &parameters)
{
    if (!m_connection) {
        m_error = {Failure::Lost, {}, QStringLiteral("not connected")};
        return ::Failure(failureReason(m_error));
    }
    const Result<QByteArray> name = prepared(sql, parameters);
    if (name.failed())
        return name.error();
    const Bound b = bound(parameters.m_values, parameters.m_nulls);
    pg_result *result = PQexecPrepared(m_connection, name->constData(), parameters.count(), b.values.data(),
                                       b.lengths.data(), b.formats.data(), 1);
    const ExecStatusType status = PQresultStatus(result);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        return failStatement(result).error();
    return Rows(result);
}

Result<> SharedRegisterConnection::command(const char *sql)
{
    if (!m_connection) {
        m_error = {Failure::Lost, {}, QStringLiteral("not connected")};
        return Result<>::failure(failureReason(m_error));
    }
    pg_result *result = PQexec(m_connection, sql);
    if (PQresultStatus(result) != PGRES_COMMAND_OK)
        return failStatement(result);
    PQclear(result);
    return Result<>::success();
}

Result<> SharedRegisterConnection::begin()
{
    return command("BEGIN");
}

Result<> SharedRegisterConnection::commit()
{
    if (!m_connection) {
        m_error = {Failure::Lost, {}, QStringLiteral("not connected")};
        return Result<>::failure(failureReason(m_error));
    }
    pg_result *result = PQexec(m_connection, "COMMIT");
    if (PQresultStatus(result) != PGRES_COMMAND_OK)
        return failStatement(result);
    // The server answers COMMIT of a transaction that failed with a
    // ROLLBACK, and no error.
    const bool rolledBack = std::strcmp(PQcmdStatus(result), "ROLLBACK") == 0;
    PQclear(result);
    if (rolledBack) {
        m_error = {Failure::Other, {}, QStringLiteral("the transaction had failed and was rolled back")};
        return Result<>::failure(QStringLiteral("işlem sunucuda yarıda kaldığı için geri alındı; hiçbir değişiklik "
                                                "kaydedilmedi."));
    }
    return Result<>::success();
}

void SharedRegisterConnection::rollBack()
{
    if (m_connection && PQtransactionStatus(m_connection) != PQTRANS_IDLE) {
        const Error kept = m_error;
        (void)command("ROLLBACK");
        m_error = kept;
    }
}

bool SharedRegisterConnection::inTransaction() const
{
    if (!m_connection)
        return false;
    const PGTransactionStatusType status = PQtransactionStatus(m_connection);
    return status == PQTRANS_INTRANS || status == PQTRANS_INERROR || status == PQTRANS_ACTIVE;
}

Result<> SharedRegisterConnection::listen(const QString &channel)
{
    if (!m_connection) {
        m_error = {Failure::Lost, {}, QStringLiteral("not connected")};
        return Result<>::failure(failureReason(m_error));
    }
    // A channel is a name, not a value: quoted by libpq, never pasted raw.
    const QByteArray name = channel.toUtf8();
    char *quoted = PQescapeIdentifier(m_connection, name.constData(), std::size_t(name.size()));
    if (!quoted) {
        m_error = {Failure::Other, {}, libpqWords(m_connection)};
        return Result<>::failure(failureReason(m_error));
    }
    const QByteArray sql = QByteArrayLiteral("LISTEN ") + quoted;
    PQfreemem(quoted);
    return command(sql.constData());
}

QList<SharedRegisterConnection::Notification> SharedRegisterConnection::takeNotifications()
{
    QList<Notification> taken;
    if (!m_connection)
        return taken;
    PQconsumeInput(m_connection);
    while (PGnotify *notify = PQnotifies(m_connection)) {
        taken.append({QString::fromUtf8(notify->relname), QString::fromUtf8(notify->extra)});
        PQfreemem(notify);
    }
    return taken;
}

int SharedRegisterConnection::socket() const
{
    return m_connection ? PQsocket(m_connection) : -1;
}

QString SharedRegisterConnection::failureReason(const Error &error)
{
    switch (error.failure) {
    case Failure::None:
        return {};
    case Failure::Lost:
        return QStringLiteral("sunucuyla bağlantı koptu; hiçbir değişiklik kaydedilmedi. Bağlantı yeniden kurulunca "
                              "işlemi yineleyin.");
    case Failure::Refused:
        return QStringLiteral("sunucu bu işleme izin vermedi (%1).").arg(error.detail);
    case Failure::Constraint:
        return QStringLiteral("paylaşılan kayıt değeri kabul etmedi: kayıt kurallarına uymuyor (%1).").arg(error.detail);
    case Failure::Conflict:
        return QStringLiteral("başka bir kullanıcının işlemiyle çakıştı; biraz sonra yeniden deneyin.");
    case Failure::DiskFull:
        return QStringLiteral("sunucunun diski dolu; yönetici yer açmalı.");
    default:
        break;
    }
    if (error.sqlState.isEmpty())
        return QStringLiteral("sunucu beklenmeyen bir hata bildirdi (%1).").arg(error.detail);
    return QStringLiteral("sunucu beklenmeyen bir hata bildirdi (SQLSTATE %1: %2).").arg(error.sqlState, error.detail);
}

// --- Batch --------------------------------------------------------------------

SharedRegisterConnection::Batch::Batch(SharedRegisterConnection &connection)
    : m_connection(connection)
{
}

SharedRegisterConnection::Batch::~Batch()
{
    if (m_inPipeline)
        (void)finish();
}

Result<> SharedRegisterConnection::Batch::add(const QString &sql, const Parameters &parameters)
{
    if (m_failed)
        return Result<>::failure(failureReason(m_connection.m_error));
    PGconn *connection = m_connection.m_connection;
    if (!connection) {
        m_connection.m_error = {Failure::Lost, {}, QStringLiteral("not connected")};
        return Result<>::failure(failureReason(m_connection.m_error));
    }
    // A statement is prepared outside the pipeline, which takes only
    // statements that do not wait for their answer.
    QByteArray key = sql.toUtf8();
    for (const Oid type : parameters.m_types)
        key += '/' + QByteArray::number(type);
    if (!m_connection.m_prepared.contains(key)) {
        if (const Result<> drained = finish(); drained.failed())
            return drained;
        if (const Result<QByteArray> name = m_connection.prepared(sql, parameters); name.failed()) {
            m_failed = true;
            return name.error();
        }
    }
    if (!m_inPipeline) {
        if (PQenterPipelineMode(connection) != 1) {
            m_failed = true;
            m_connection.m_error = {Failure::Other, {}, libpqWords(connection)};
            return Result<>::failure(failureReason(m_connection.m_error));
        }
        m_inPipeline = true;
    }
    const QByteArray name = m_connection.m_prepared.value(key);
    const Bound b = bound(parameters.m_values, parameters.m_nulls);
    if (PQsendQueryPrepared(connection, name.constData(), parameters.count(), b.values.data(), b.lengths.data(),
                            b.formats.data(), 1)
        != 1) {
        m_failed = true;
        m_connection.m_error = m_connection.errorOf(nullptr);
        return Result<>::failure(failureReason(m_connection.m_error));
    }
    if (++m_pending >= kBatchWindow)
        return drain();
    return Result<>::success();
}

Result<> SharedRegisterConnection::Batch::drain()
{
    PGconn *connection = m_connection.m_connection;
    if (m_pending == 0)
        return m_failed ? Result<>::failure(failureReason(m_connection.m_error)) : Result<>::success();
    if (PQpipelineSync(connection) != 1) {
        m_failed = true;
        m_connection.m_error = m_connection.errorOf(nullptr);
        return Result<>::failure(failureReason(m_connection.m_error));
    }
    // Each statement's answer is followed by a null; the sync's answer ends
    // the lot. After a failure the rest come back as aborted.
    bool synced = false;
    while (!synced) {
        pg_result *result = PQgetResult(connection);
        if (!result) {
            if (PQstatus(connection) == CONNECTION_BAD) {
                if (!m_failed)
                    m_connection.m_error = m_connection.errorOf(nullptr);
                m_failed = true;
                break;
            }
            continue;
        }
        const ExecStatusType status = PQresultStatus(result);
        if (status == PGRES_PIPELINE_SYNC) {
            synced = true;
        } else if (status == PGRES_FATAL_ERROR && !m_failed) {
            m_failed = true;
            m_connection.m_error = m_connection.errorOf(result);
        }
        PQclear(result);
    }
    m_pending = 0;
    return m_failed ? Result<>::failure(failureReason(m_connection.m_error)) : Result<>::success();
}

Result<> SharedRegisterConnection::Batch::finish()
{
    const Result<> drained = drain();
    if (m_inPipeline) {
        if (m_connection.m_connection)
            PQexitPipelineMode(m_connection.m_connection);
        m_inPipeline = false;
    }
    return drained;
}
