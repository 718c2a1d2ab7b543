#pragma once

#include <QString>

// Statements of the hours ledger. The day column d{day} is the only part formatted into the
// text, from a day number the program computed.
namespace sdelka::sql {

// Serialises every write of one ledger row (worker, shift, month) across workstations; a month
// rebuild takes the month's key exclusively, day rules share it.
inline const QString LedgerLockRow = QStringLiteral(
    "select pg_advisory_xact_lock_shared(:month_key), pg_advisory_xact_lock(:w_id, :row_key)");
inline const QString LedgerLockMonth = QStringLiteral("select pg_advisory_xact_lock(:month_key)");

// The row's count and the worker's hours of the shift and day, read together.
inline const QString LedgerRowAndHours = QStringLiteral(
    "select (select count(w_id) from accounts_dep.h_tabel where w_id=:w_id and smena=:smena and "
    "month=:month and year=:year) as cnt, "
    "(select sum(time) from accounts_dep.smena where w_id=:w_id and smena=:smena and "
    "data=to_date(:date, 'DD.MM.YYYY') group by w_id, smena, data) as tim");

inline const QString LedgerUpdateDay =
    QStringLiteral("update accounts_dep.h_tabel set d%1=:hours where w_id=:w_id and smena=:smena "
                   "and month=:month and year=:year");
inline const QString LedgerInsertDay =
    QStringLiteral("insert into accounts_dep.h_tabel(smena, w_id, month, year, d%1) "
                   "values(:smena, :w_id, :month, :year, :hours)");
// After a deletion left the day empty: the row goes when none of its days holds hours.
inline const QString LedgerDropEmptyRow = QStringLiteral(
    "delete from accounts_dep.h_tabel where w_id=:w_id and smena=:smena and month=:month and "
    "year=:year and num_nulls(d1,d2,d3,d4,d5,d6,d7,d8,d9,d10,d11,d12,d13,d14,d15,d16,d17,d18,"
    "d19,d20,d21,d22,d23,d24,d25,d26,d27,d28,d29,d30,d31)=31");

inline const QString LedgerDeleteMonth = QStringLiteral(
    "delete from accounts_dep.h_tabel where smena>0 and month=:month and year=:year");

// One day of a rebuild: the day's hours per shift and worker.
inline const QString LedgerDayHours =
    QStringLiteral("select smena, w_id, coalesce(sum(time), 0) as tim from accounts_dep.smena "
                   "where data=:data and smena>0 group by smena, w_id");

// The rebuilt rows of a month at once, from one array per column; %1 lists the day columns
// d1..dN and %2 their array parameters.
inline const QString LedgerInsertMonth = QStringLiteral(
    "insert into accounts_dep.h_tabel(smena, w_id, month, year, %1) "
    "select s, w, :month, :year, %1 from unnest(:smena::int[], :w_id::int[], %2) as t(s, w, %1)");

} // namespace sdelka::sql
