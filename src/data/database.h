#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

#include <memory>

#include <stdexcept>

namespace sdelka {

// The one error of the data layer: the driver's text of a refused statement or a lost
// connection.
class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const QString& text)
        : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& text() const { return text_; }

private:
    QString text_;
};

// Where the program connects: the database and server come from the command line, the rest is
// fixed.
struct ConnectionSettings {
    QString database = QStringLiteral("kedr_erp");
    QString server = QStringLiteral("db-server");
    int port = 5432;
    QString user = QStringLiteral("sys");
    QString password = QStringLiteral("wmbrtfa");
    QString sslMode = QStringLiteral("allow");

    // The first argument names the database and the second the server; both count only when
    // the second is given and not empty.
    static ConnectionSettings fromArguments(const QStringList& arguments);
};

// The program's single connection. A statement that finds the connection lost raises the
// driver's text and marks it; the next statement connects again first, so a server that comes
// back is used without restarting the program.
class Database {
public:
    explicit Database(const QString& connectionName = QStringLiteral("sdelka"));
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void open(const ConnectionSettings& settings);
    void close();
    bool isOpen() const;

    // Reconnects when the last statement found the connection lost. Throws DatabaseError when
    // the server is still away.
    void ensureConnected();
    // Called after a statement failed: marks the connection lost when the server has gone.
    void noteFailure(const QSqlError& error);

    QSqlDatabase& connection() { return db_; }
    // The statement prepared on the server, kept for the connection's life; a statement text
    // sent again is executed without being prepared again. Throws DatabaseError when the
    // server refuses to prepare it.
    QSqlQuery& prepared(const QString& positionalSql);
    // Grows each time the connection is opened again; prepared statements of an older
    // generation are prepared anew.
    int generation() const { return generation_; }

    bool inTransaction() const { return transactionDepth_ > 0; }
    void begin();
    void commit();
    void rollback();

    // Counts the statements sent to the server (prepares and executions), for benchmarks.
    long long roundTrips() const { return roundTrips_; }
    void countRoundTrip() { ++roundTrips_; }

    static bool logSql();

private:
    void connect();
    void applySessionSettings();
    bool connectionLost(const QSqlError& error);

    QString name_;
    QSqlDatabase db_;
    ConnectionSettings settings_;
    QHash<QString, std::shared_ptr<QSqlQuery>> prepared_;
    int generation_ = 0;
    int transactionDepth_ = 0;
    bool lost_ = false;
    long long roundTrips_ = 0;
};

// Rolls back unless commit() was called, so a refused statement leaves nothing of its action
// behind. Nested transactions join the outer one.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Database& db_;
    bool done_ = false;
};

} // namespace sdelka
