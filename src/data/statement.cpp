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
    // A new text starts without the values of the one before: a value left over from another
    // statement must never reach this one under a name they happen to share.
    params_.clear();
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
    QSqlQuery& query = db_.prepared(positional_.sql);
    for (int i = 0; i < positional_.names.size(); ++i) {
        // An empty text is an empty text, never NULL; only a value left unset is NULL.
        QVariant value = params_.value(positional_.names.at(i));
        if (value.typeId() == QMetaType::QString && value.toString().isNull())
            value = QStringLiteral("");
        query.bindValue(i, value);
    }
    if (Database::logSql()) {
        QStringList shown;
        for (const QString& n : positional_.names)
            shown << n + QLatin1Char('=') + params_.value(n).toString();
        std::fprintf(stderr, "SQL: %s\n  [%s]\n", qPrintable(sql_), qPrintable(shown.join(", ")));
    }
    db_.countRoundTrip();
    if (!query.exec()) {
        const QSqlError error = query.lastError();
        db_.noteFailure(error);
        if (Database::logSql())
            std::fprintf(stderr, "SQL error: %s\n", qPrintable(error.text()));
        throw DatabaseError(error.text());
    }
    return query;
}

} // namespace sdelka
