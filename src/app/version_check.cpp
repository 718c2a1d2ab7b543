#include "app/version_check.h"

#include "app/app_statements.h"

namespace sdelka {

VersionOutcome checkVersion(TDataModule6& dm, BuildStamp build) {
    DataSet& ver = dm.Control;
    ver.close();
    ver.setSql(sql::ReadVersion);
    ver.open();
    const bool hasRow = !ver.isEmpty();
    const BuildStamp stored{ver.field(QStringLiteral("d")).toInt(),
                            ver.field(QStringLiteral("t")).toInt()};
    const QString rowRef = ver.field(QStringLiteral("row_ref")).toString();
    dm.DecimalDelimiter = ver.field(QStringLiteral("delim")).toString();
    ver.close();

    const QVariantMap stamp{{QStringLiteral("d"), build.date}, {QStringLiteral("t"), build.time}};
    if (!hasRow) {
        dm.execute(dm.SQL_exec, sql::InsertStamp, stamp);
        return VersionOutcome::Stamped;
    }
    if (stored < build) {
        QVariantMap params = stamp;
        params.insert(QStringLiteral("row_ref"), rowRef);
        dm.execute(dm.SQL_exec, sql::WriteStamp, params);
        return VersionOutcome::Stamped;
    }
    if (build < stored)
        return VersionOutcome::NewerBuildRan;
    return VersionOutcome::Current;
}

} // namespace sdelka
