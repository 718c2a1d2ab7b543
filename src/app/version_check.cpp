#include "app/version_check.h"

namespace sdelka {

namespace {
const QString ReadVersion =
    QStringLiteral("select ctid::text as row_ref, d, t, delim from accounts_dep.ver limit 1");
const QString WriteStamp =
    QStringLiteral("update accounts_dep.ver set d=:d, t=:t where ctid=:row_ref::tid and "
                   "(coalesce(d,0) < :d or (coalesce(d,0) = :d and coalesce(t,0) < :t))");
const QString InsertStamp = QStringLiteral("insert into accounts_dep.ver(d, t) values (:d, :t)");
} // namespace

VersionOutcome checkVersion(TDataModule6& dm, BuildStamp build) {
    DataSet& ver = dm.Control;
    ver.close();
    ver.setSql(ReadVersion);
    ver.open();
    const bool hasRow = !ver.isEmpty();
    const BuildStamp stored{ver.field(QStringLiteral("d")).toInt(),
                            ver.field(QStringLiteral("t")).toInt()};
    const QString rowRef = ver.field(QStringLiteral("row_ref")).toString();
    dm.DecimalDelimiter = ver.field(QStringLiteral("delim")).toString();
    ver.close();

    const QVariantMap stamp{{QStringLiteral("d"), build.date}, {QStringLiteral("t"), build.time}};
    if (!hasRow) {
        dm.execute(dm.SQL_exec, InsertStamp, stamp);
        return VersionOutcome::Stamped;
    }
    if (stored < build) {
        QVariantMap params = stamp;
        params.insert(QStringLiteral("row_ref"), rowRef);
        dm.execute(dm.SQL_exec, WriteStamp, params);
        return VersionOutcome::Stamped;
    }
    if (build < stored)
        return VersionOutcome::NewerBuildRan;
    return VersionOutcome::Current;
}

} // namespace sdelka
