#pragma once

#include "data/statement.h"

namespace sdelka {

// A statement that changes data: insert, update or delete.
class Command {
public:
    Command(Database& db, const QString& name, const QString& sql = {})
        : statement_(db, sql), name_(name) {}

    const QString& name() const { return name_; }
    void setSql(const QString& sql) { statement_.setSql(sql); }
    const QString& sql() const { return statement_.sql(); }
    void setParam(const QString& name, const QVariant& value) { statement_.setParam(name, value); }
    QVariant param(const QString& name) const { return statement_.param(name); }

    // Returns the number of rows the statement touched.
    int execute();
    // For a statement with "returning": the first row's named column.
    QVariant executeReturning(const QString& column);

private:
    Statement statement_;
    QString name_;
};

} // namespace sdelka
