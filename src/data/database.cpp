#include "data/database.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <libpq-fe.h>

#include <cstdio>
#include <cstdlib>

namespace sdelka {

ConnectionSettings ConnectionSettings::fromArguments(const QStringList& arguments) {
    ConnectionSettings s;
    if (arguments.size() >= 2 && !arguments.at(1).isEmpty()) {
        s.database = arguments.at(0);
        s.server = arguments.at(1);
    }
    return s;
}

Database::Database(const QString& connectionName) : name_(connectionName) {
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name_);
}

Database::~Database() {
    prepared_.clear();
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(name_);
}

bool Database::logSql() {
    static const bool on = qEnvironmentVariable("SDELKA_LOG_SQL") == QLatin1String("1");
    return on;
}

void Database::open(const ConnectionSettings& settings) {
    settings_ = settings;
    connect();
}

QSqlQuery& Database::prepared(const QString& positionalSql) {
    if (auto it = prepared_.find(positionalSql); it != prepared_.end())
        return **it;
    // Statements assembled per day or per column are few; a bound keeps the server's share
    // of prepared statements small all the same.
    if (prepared_.size() >= 512)
        prepared_.clear();
    auto query = std::make_shared<QSqlQuery>(db_);
    query->setForwardOnly(true);
    // Numeric columns come as the server's exact text, never rounded through a double.
    query->setNumericalPrecisionPolicy(QSql::HighPrecision);
    countRoundTrip();
    if (!query->prepare(positionalSql)) {
        const QSqlError error = query->lastError();
        noteFailure(error);
        throw DatabaseError(error.text());
    }
    prepared_.insert(positionalSql, query);
    return *query;
}

void Database::connect() {
    prepared_.clear();
    db_.close();
    db_.setDatabaseName(settings_.database);
    db_.setHostName(settings_.server);
    db_.setPort(settings_.port);
    db_.setUserName(settings_.user);
    db_.setPassword(settings_.password);
    db_.setConnectOptions(QStringLiteral("sslmode=%1;connect_timeout=10;application_name=sdelka")
                              .arg(settings_.sslMode));
    if (!db_.open())
        throw DatabaseError(db_.lastError().text());
    applySessionSettings();
    lost_ = false;
    transactionDepth_ = 0;
    ++generation_;
}

void Database::applySessionSettings() {
    // Date texts such as 01.3.2024 are day.month.year whatever the server's default.
    QSqlQuery q(db_);
    for (const char* set : {"SET DateStyle = 'ISO, DMY'", "SET client_encoding = 'UTF8'"}) {
        if (!q.exec(QString::fromLatin1(set)))
            throw DatabaseError(q.lastError().text());
    }
}

void Database::close() {
    prepared_.clear();
    db_.close();
    transactionDepth_ = 0;
}

bool Database::isOpen() const {
    return db_.isOpen() && !lost_;
}

bool Database::connectionLost(const QSqlError& error) {
    if (!db_.isOpen() || error.type() == QSqlError::ConnectionError)
        return true;
    // Connection exceptions and the server's shutdown or termination of this session.
    const QString state = error.nativeErrorCode();
    if (state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P")))
        return true;
    const QVariant handle = db_.driver()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), "PGconn*") == 0) {
        PGconn* conn = *static_cast<PGconn* const*>(handle.constData());
        return conn == nullptr || PQstatus(conn) == CONNECTION_BAD;
    }
    return false;
}

void Database::ensureConnected() {
    if (lost_ || !db_.isOpen())
        connect();
}

void Database::noteFailure(const QSqlError& error) {
    if (connectionLost(error)) {
        lost_ = true;
        transactionDepth_ = 0;
    }
}

void Database::begin() {
    ensureConnected();
    if (transactionDepth_++ > 0)
        return;
    countRoundTrip();
    if (logSql())
        std::fprintf(stderr, "SQL: BEGIN\n");
    if (!db_.transaction()) {
        transactionDepth_ = 0;
        const QSqlError error = db_.lastError();
        noteFailure(error);
        throw DatabaseError(error.text());
    }
}

void Database::commit() {
    if (transactionDepth_ == 0)
        throw DatabaseError(QStringLiteral("Транзакция уже отменена."));
    if (--transactionDepth_ > 0)
        return;
    countRoundTrip();
    if (logSql())
        std::fprintf(stderr, "SQL: COMMIT\n");
    if (!db_.commit()) {
        const QSqlError error = db_.lastError();
        db_.rollback();
        noteFailure(error);
        throw DatabaseError(error.text());
    }
}

void Database::rollback() {
    if (transactionDepth_ == 0)
        return;
    transactionDepth_ = 0;
    if (lost_)
        return;
    countRoundTrip();
    if (logSql())
        std::fprintf(stderr, "SQL: ROLLBACK\n");
    if (!db_.rollback())
        noteFailure(db_.lastError());
}

Transaction::Transaction(Database& db) : db_(db) {
    db_.begin();
}

Transaction::~Transaction() {
    if (done_)
        return;
    // An inner transaction that did not commit spoils the whole action.
    db_.rollback();
}

void Transaction::commit() {
    db_.commit();
    done_ = true;
}

} // namespace sdelka
