#pragma once

#include <QString>

// Statements of the start-up: the version table.
namespace sdelka::sql {

inline const QString ReadVersion =
    QStringLiteral("select ctid::text as row_ref, d, t, delim from accounts_dep.ver limit 1");
// The stamp is written only while the stored one is still older, so two builds starting at
// once settle on the newer.
inline const QString WriteStamp =
    QStringLiteral("update accounts_dep.ver set d=:d, t=:t where ctid=:row_ref::tid and "
                   "(coalesce(d,0) < :d or (coalesce(d,0) = :d and coalesce(t,0) < :t))");
inline const QString InsertStamp =
    QStringLiteral("insert into accounts_dep.ver(d, t) values (:d, :t)");

} // namespace sdelka::sql
