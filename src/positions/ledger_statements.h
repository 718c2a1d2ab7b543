#pragma once

#include <QString>

// Statements of the hours ledger. The day column d{day} is the only part formatted into the
// text, from a day number the program computed.
namespace sdelka::sql {

// Serialises every write of one ledger row (worker, shift, month) across workstations; a month
// rebuild takes the month's key exclusively, day rules share it.
inline const QString LedgerLockColumns = QStringLiteral(
    "pg_advisory_xact_lock_shared(:month_key), pg_advisory_xact_lock(:w_id, :row_key)");
inline const QString LedgerLockRow = QStringLiteral("select ") + LedgerLockColumns;
inline const QString LedgerLockMonth = QStringLiteral("select pg_advisory_xact_lock(:month_key)");

// The day rule, in one statement once the row's lock is held: while the worker has positions
// in the shift that day, their hours go into the day's cell of his month row, which is created
// when missing; otherwise the cell is emptied, and the row goes when no other day (%2, %3 of
// them) holds hours.
inline const QString LedgerDay = QStringLiteral(
    "with h as (select count(*) as n, coalesce(sum(time), 0) as tim from accounts_dep.smena "
    "where w_id=:w_id and smena=:smena and data=:day), "
    "del as (delete from accounts_dep.h_tabel where w_id=:w_id and smena=:smena and "
    "month=:month and year=:year and (select n from h)=0 and num_nulls(%2)=%3 returning id), "
    "upd as (update accounts_dep.h_tabel set d%1=case when (select n from h)>0 then "
    "(select tim from h) end where w_id=:w_id and smena=:smena and month=:month and "
    "year=:year and not exists (select 1 from del) returning id) "
    "insert into accounts_dep.h_tabel(smena, w_id, month, year, d%1) "
    "select :smena, :w_id, :month, :year, tim from h where n>0 and not exists "
    "(select 1 from upd)");

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
