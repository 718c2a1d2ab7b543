#pragma once

#include <QString>

namespace sdelka::sql {

inline const QString UpdateMark =
    QStringLiteral("update accounts_dep.smena set ok=:ok where id=:id");
inline const QString DeletePosition = QStringLiteral("delete from accounts_dep.smena where id=:id");

} // namespace sdelka::sql
