#include "support/ServerDatabase.h"

#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>

namespace PrivateServer {

namespace {

QString psqlProgram()
{
    const QString found = QStandardPaths::findExecutable(QStringLiteral("psql"));
    if (!found.isEmpty())
        return found;
    const QString debian = QStringLiteral("/usr/lib/postgresql/15/bin/psql");
    return QFileInfo(debian).isExecutable() ? debian : QString();
}

// A value for a libpq connection string, quoted as libpq reads it.
QString quotedValue(const QString &value)
{
    QString escaped = value;
    escaped.replace(u'\\', QStringLiteral("\\\\"));
    escaped.replace(u'\'', QStringLiteral("\\'"));
    return u'\'' + escaped + u'\'';
}

PsqlRun runPsql(const QString &connection, const QStringList &arguments, const QByteArray &input)
{
    PsqlRun run;
    const QString program = psqlProgram();
    if (program.isEmpty()) {
        run.errors = QStringLiteral("psql is missing (package postgresql-client-15)");
        return run;
    }
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PGCLIENTENCODING"), QStringLiteral("UTF8"));
    // Nothing of a developer's own settings.
    environment.insert(QStringLiteral("PSQLRC"), QStringLiteral("/dev/null"));
    process.setProcessEnvironment(environment);
    process.start(program, QStringList{QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-A"),
                                       QStringLiteral("-t"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
                                       QStringLiteral("-d"), connection}
                               + arguments);
    if (!process.waitForStarted(30000)) {
        run.errors = QStringLiteral("psql did not start");
        return run;
    }
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        run.errors = QStringLiteral("psql did not finish within two minutes");
        return run;
    }
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.output = QString::fromUtf8(process.readAllStandardOutput());
    run.errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace

QString connectionString()
{
    return qEnvironmentVariable("MIRVASEL_TEST_PG");
}

QString tlsConnectionString()
{
    return qEnvironmentVariable("MIRVASEL_TEST_PG_TLS");
}

QString unavailable()
{
    if (connectionString().isEmpty())
        return QStringLiteral("MIRVASEL_TEST_PG is not set: run the tests through scripts/test, or start "
                              "scripts/test-postgres and export what it prints");
    if (psqlProgram().isEmpty())
        return QStringLiteral("psql is missing (package postgresql-client-15)");
    return {};
}

QString schemaScript()
{
    return QStringLiteral(MIRVASEL_SHARED_REGISTER_SQL);
}

QStringList PsqlRun::rows() const
{
    // A row of one empty text is an empty line.
    if (output.isEmpty())
        return {};
    return (output.endsWith(u'\n') ? output.chopped(1) : output).split(u'\n');
}

PsqlRun psql(const QString &connection, const QString &sql)
{
    return runPsql(connection, {QStringLiteral("-f"), QStringLiteral("-")}, sql.toUtf8());
}

PsqlRun psqlFile(const QString &connection, const QString &file)
{
    return runPsql(connection, {QStringLiteral("-f"), file}, {});
}

} // namespace PrivateServer

ServerDatabase::ServerDatabase(Schema schema)
{
    m_error = PrivateServer::unavailable();
    if (!m_error.isEmpty())
        return;
    m_name = QStringLiteral("mv_%1").arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'));
    const PrivateServer::PsqlRun made = PrivateServer::psql(
        PrivateServer::connectionString(), QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0;\n").arg(m_name));
    if (!made.succeeded()) {
        m_error = QStringLiteral("the test database could not be made: ") + made.errors;
        m_name.clear();
        return;
    }
    if (schema == Schema::Made) {
        const PrivateServer::PsqlRun script = PrivateServer::psqlFile(adminConnection(), PrivateServer::schemaScript());
        if (!script.succeeded())
            m_error = QStringLiteral("the schema script failed: ") + script.errors;
    }
}

ServerDatabase::~ServerDatabase()
{
    if (m_name.isEmpty())
        return;
    QString sql = QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE);\n").arg(m_name);
    for (const QString &role : std::as_const(m_roles))
        sql += QStringLiteral("DROP ROLE IF EXISTS %1;\n").arg(role);
    const PrivateServer::PsqlRun dropped = PrivateServer::psql(PrivateServer::connectionString(), sql);
    if (!dropped.succeeded())
        qWarning("the test database %s was not removed: %s", qPrintable(m_name), qPrintable(dropped.errors));
}

QString ServerDatabase::adminConnection() const
{
    return PrivateServer::connectionString() + QStringLiteral(" dbname=") + m_name;
}

QString ServerDatabase::addRole(const QString &group)
{
    const QString role = QStringLiteral("%1_%2").arg(m_name).arg(m_roles.size() + 1);
    QString sql = QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD $$%2$$").arg(role, QString::fromUtf8(kPassword));
    if (!group.isEmpty())
        sql += QStringLiteral(" IN ROLE ") + group;
    const PrivateServer::PsqlRun made = PrivateServer::psql(PrivateServer::connectionString(), sql + QStringLiteral(";\n"));
    if (!made.succeeded()) {
        m_lastError = made.errors;
        return {};
    }
    m_roles.append(role);
    return role;
}

QString ServerDatabase::connectionAs(const QString &role, const QString &password) const
{
    return PrivateServer::connectionString()
           + QStringLiteral(" dbname=%1 user=%2 password=%3").arg(m_name, role, PrivateServer::quotedValue(password));
}

PrivateServer::PsqlRun ServerDatabase::admin(const QString &sql) const
{
    return PrivateServer::psql(adminConnection(), sql);
}

QStringList ServerDatabase::rows(const QString &sql)
{
    const PrivateServer::PsqlRun run = admin(sql);
    m_lastError = run.succeeded() ? QString() : run.errors;
    return run.succeeded() ? run.rows() : QStringList();
}
