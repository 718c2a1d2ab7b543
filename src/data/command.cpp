#include "data/command.h"

#include <QSqlRecord>

namespace sdelka {

int Command::execute() {
    QSqlQuery& q = statement_.execute();
    const int affected = q.numRowsAffected();
    q.finish();
    return affected;
}

QVariant Command::executeReturning(const QString& column) {
    QSqlQuery& q = statement_.execute();
    QVariant result;
    if (q.next())
        result = q.value(column);
    q.finish();
    return result;
}

} // namespace sdelka
