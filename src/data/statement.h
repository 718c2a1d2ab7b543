#pragma once

#include "data/database.h"
#include "data/placeholders.h"

#include <QHash>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

namespace sdelka {

// One statement text with its named parameters, matched without regard to letter case. Its
// prepared form on the server is the connection's.
class Statement {
public:
    Statement(Database& db, const QString& sql = {});

    // A new text drops the parameters set for the old one; the same text keeps them.
    void setSql(const QString& sql);
    const QString& sql() const { return sql_; }

    void setParam(const QString& name, const QVariant& value);
    QVariant param(const QString& name) const;
    bool hasParam(const QString& name) const;

    // Sends the statement with the current parameter values; throws DatabaseError with the
    // driver's text when the server refuses it.
    QSqlQuery& execute();

    Database& database() const { return db_; }

private:
    Database& db_;
    QString sql_;
    PositionalStatement positional_;
    QHash<QString, QVariant> params_;
};

} // namespace sdelka
