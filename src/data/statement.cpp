#include "data/statement.h"

#include <QSqlError>

#include <cstdio>

namespace sdelka {

Statement::Statement(Database& db, const QString& sql) : db_(db) {
    setSql(sql);
}

void Statement::setSql(const QString& sql) {
    if (sql == sql_ && !sql.isEmpty())
        return;
    sql_ = sql;
    positional_ = toPositional(sql);
    query_.reset();
    preparedGeneration_ = -1;
}

void Statement::setParam(const QString& name, const QVariant& value) {
    params_.insert(name.toLower(), value);
}

QVariant Statement::param(const QString& name) const {
    return params_.value(name.toLower());
}

bool Statement::hasParam(const QString& name) const {
    return params_.contains(name.toLower());
}

QSqlQuery& Statement::execute() {
    if (sql_.trimmed().isEmpty())
        throw DatabaseError(QStringLiteral("Пустой текст запроса."));
    db_.ensureConnected();
    // A statement refused at execution stays prepared (a DEALLOCATE would be refused too inside
    // an aborted transaction); one refused at preparation, or on a lost connection, is dropped.
    auto fail = [this](const QSqlError& error, bool atPrepare) {
        const QString text = error.text();
        db_.noteFailure(error);
        if (atPrepare || db_.generation() != preparedGeneration_ || !db_.isOpen()) {
            query_.reset();
            preparedGeneration_ = -1;
        }
        if (Database::logSql())
            std::fprintf(stderr, "SQL error: %s\n", qPrintable(text));
        throw DatabaseError(text);
    };
    if (!query_ || preparedGeneration_ != db_.generation()) {
        query_ = std::make_unique<QSqlQuery>(db_.connection());
        query_->setForwardOnly(true);
        db_.countRoundTrip();
        if (!query_->prepare(positional_.sql))
            fail(query_->lastError(), true);
        preparedGeneration_ = db_.generation();
    }
    for (int i = 0; i < positional_.names.size(); ++i)
        query_->bindValue(i, params_.value(positional_.names.at(i)));
    if (Database::logSql()) {
        QStringList shown;
        for (const QString& n : positional_.names)
            shown << n + QLatin1Char('=') + params_.value(n).toString();
        std::fprintf(stderr, "SQL: %s\n  [%s]\n", qPrintable(sql_), qPrintable(shown.join(", ")));
    }
    db_.countRoundTrip();
    if (!query_->exec())
        fail(query_->lastError(), false);
    return *query_;
}

} // namespace sdelka
