// The register's day lists on a small and a large table, and the month rebuild of the hours
// ledger as single statements per worker and day against the ledger's own rebuild.
#include "bench_checks.h"
#include "bench_data.h"
#include "comparisons.h"
#include "positions/hours_ledger.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

using namespace sdelka;
using namespace sdelka::bench;

namespace {

const QDate ListDay(2026, 11, 18);
constexpr int PositionsPerDay = 400;

// The table of positions with `total` rows, the same `PositionsPerDay` on every day.
BenchDatabase& positionsTable(int total) {
    return benchDatabase(QStringLiteral("bench_positions_%1").arg(total),
                         [total](BenchDatabase& b) {
                             b.seedCatalog(300);
                             const int days = total / PositionsPerDay;
                             // The listed day sits in the middle of the table's dates.
                             b.addDays(ListDay.addDays(days / 2), days, PositionsPerDay);
                         });
}

void loadDayLists(benchmark::State& state) {
    guarded(state, [&] {
        BenchDatabase& table = positionsTable(int(state.range(0)));
        TDataModule6& dm = table.dm();
        dm.setShiftParams(ListDay, QStringLiteral("ta"));
        // What the four lists must show between them: every position of the day not marked
        // hidden, as the server counts them.
        const int expected = dm.readInt(
            QStringLiteral("select count(*) as cnt from accounts_dep.smena where data=:data and "
                           "ok<>:ok"),
            QStringLiteral("cnt"),
            {{QStringLiteral("data"), ListDay}, {QStringLiteral("ok"), QStringLiteral("ta")}});
        if (!verified(state, expected > 0, "the listed day holds no positions"))
            return;
        int rows = 0;
        for (auto _ : state) {
            rows = 0;
            for (int shift = 1; shift <= 4; ++shift) {
                DataSet& list = dm.shiftList(shift);
                list.reopen();
                rows += list.recordCount();
            }
            if (rows != expected) {
                verified(state, false,
                         "the day lists read " + std::to_string(rows) + " rows of the day's " +
                             std::to_string(expected));
                break;
            }
        }
        state.counters["rows"] = rows;
    });
}
BENCHMARK(loadDayLists)->Arg(20000)->Arg(2000000)->Unit(benchmark::kMillisecond);

AddComparison lists{{"four day lists, 2,000,000 vs 20,000 positions in the table",
                     "loadDayLists/20000", "loadDayLists/2000000", 1.5}};

constexpr int RebuildMonth = 3;
constexpr int RebuildYear = 2027;

BenchDatabase& monthTable() {
    return benchDatabase(QStringLiteral("bench_rebuild"), [](BenchDatabase& b) {
        b.seedCatalog(300);
        b.addMonth(RebuildMonth, RebuildYear, 300);
    });
}

// The rebuild as single statements: a count and a write per worker, shift and day, each
// statement assembled with its values in the text.
void rebuildStatementByStatement(TDataModule6& dm, int month, int year) {
    dm.execute(dm.DelSmena, QStringLiteral("delete from accounts_dep.h_tabel where smena>0 and "
                                           "month=%1 and year=%2")
                                .arg(month)
                                .arg(year));
    DataSet dt(dm.ADO_DB, QStringLiteral("dt"),
               QStringLiteral(" select smena, w_id, sum(time) as tim from accounts_dep.smena "
                              "where data=:data group by smena,w_id;"));
    const int days = QDate(year, month, 1).daysInMonth();
    for (int day = 1; day <= days; ++day) {
        dt.setParam(QStringLiteral("data"),
                    QStringLiteral("%1.%2.%3").arg(day).arg(month).arg(year));
        dt.reopen();
        for (int r = 0; r < dt.recordCount(); ++r) {
            const int shift = dt.value(r, QStringLiteral("smena")).toInt();
            const int worker = dt.value(r, QStringLiteral("w_id")).toInt();
            const int hours = dt.value(r, QStringLiteral("tim")).toInt();
            const QString key = QStringLiteral("w_id=%1 and smena=%2 and month=%3 and year=%4")
                                    .arg(worker)
                                    .arg(shift)
                                    .arg(month)
                                    .arg(year);
            const int cnt = dm.readInt(
                QStringLiteral(
                    "select count(w_id) as cnt from accounts_dep.h_tabel h_tabel where ") +
                    key,
                QStringLiteral("cnt"));
            if (cnt != 0)
                dm.execute(dm.H_Tabel_ins,
                           QStringLiteral("update accounts_dep.h_tabel set d%1='%2' where ")
                                   .arg(day)
                                   .arg(hours) +
                               key);
            else
                dm.execute(dm.H_Tabel_ins,
                           QStringLiteral("insert into accounts_dep.h_tabel(smena, w_id, month, "
                                          "year, d%1) values(%2, %3, %4, %5, %6)")
                               .arg(day)
                               .arg(shift)
                               .arg(worker)
                               .arg(month)
                               .arg(year)
                               .arg(hours));
        }
        dt.close();
    }
}

// The month's ledger rows, each as one line of its values without its id, in a fixed order:
// what two rebuilds of the same positions must both leave.
using LedgerRows = std::vector<QString>;

LedgerRows ledgerOf(TDataModule6& dm, int month, int year) {
    QStringList columns{QStringLiteral("w_id"), QStringLiteral("smena"), QStringLiteral("i_type"),
                        QStringLiteral("i_night"), QStringLiteral("id_nom")};
    for (int d = 1; d <= 31; ++d)
        columns << QStringLiteral("d%1").arg(d);
    const QString list = columns.join(QStringLiteral(", "));
    DataSet rows(dm.ADO_DB, QStringLiteral("ledger_check"),
                 QStringLiteral("select %1 from accounts_dep.h_tabel where month=:month and "
                                "year=:year order by %1")
                     .arg(list));
    rows.setParam(QStringLiteral("month"), month);
    rows.setParam(QStringLiteral("year"), year);
    rows.open();
    LedgerRows result;
    result.reserve(std::size_t(rows.recordCount()));
    for (int r = 0; r < rows.recordCount(); ++r) {
        QStringList values;
        for (int c = 0; c < columns.size(); ++c) {
            const QVariant v = rows.value(r, c);
            values << (v.isNull() ? QStringLiteral("null") : v.toString());
        }
        result.push_back(values.join(QLatin1Char(' ')));
    }
    return result;
}

// Empties the month of the ledger, so a rebuild has to write every row itself.
void clearLedgerMonth(BenchDatabase& table) {
    table.exec(QStringLiteral("delete from accounts_dep.h_tabel where month=%1 and year=%2")
                   .arg(RebuildMonth)
                   .arg(RebuildYear));
}

// What each rebuild left, once it ran.
std::optional<LedgerRows>& statementLedger() {
    static std::optional<LedgerRows> rows;
    return rows;
}
std::optional<LedgerRows>& programLedger() {
    static std::optional<LedgerRows> rows;
    return rows;
}

// The first difference of two ledgers, or nothing when they are the same.
std::optional<std::string> differenceOf(const LedgerRows& statements, const LedgerRows& program) {
    for (std::size_t i = 0; i < std::max(statements.size(), program.size()); ++i) {
        const QString a = i < statements.size() ? statements[i] : QStringLiteral("no row");
        const QString b = i < program.size() ? program[i] : QStringLiteral("no row");
        if (a != b)
            return "the ledgers differ (" + std::to_string(statements.size()) + " and " +
                   std::to_string(program.size()) + " rows); row " + std::to_string(i + 1) +
                   ": statement by statement \"" + a.toStdString() + "\", ledger \"" +
                   b.toStdString() + "\"";
    }
    return std::nullopt;
}

// Both rebuilds wrote rows, and the same rows, once both have run.
void checkLedgers(benchmark::State& state) {
    if (statementLedger() && !verified(state, !statementLedger()->empty(),
                                       "the statement-by-statement rebuild wrote no ledger rows"))
        return;
    if (programLedger() &&
        !verified(state, !programLedger()->empty(), "the ledger's rebuild wrote no rows"))
        return;
    if (statementLedger() && programLedger()) {
        const auto difference = differenceOf(*statementLedger(), *programLedger());
        verified(state, !difference, difference.value_or(std::string()));
    }
}

void rebuildSingleStatements(benchmark::State& state) {
    guarded(state, [&] {
        BenchDatabase& table = monthTable();
        clearLedgerMonth(table);
        for (auto _ : state)
            rebuildStatementByStatement(table.dm(), RebuildMonth, RebuildYear);
        statementLedger() = ledgerOf(table.dm(), RebuildMonth, RebuildYear);
        checkLedgers(state);
    });
}
BENCHMARK(rebuildSingleStatements)->Unit(benchmark::kMillisecond)->Iterations(1);

void rebuildLedger(benchmark::State& state) {
    guarded(state, [&] {
        BenchDatabase& table = monthTable();
        TDataModule6& dm = table.dm();
        HoursLedger ledger(dm);
        clearLedgerMonth(table);
        for (auto _ : state)
            ledger.rebuildMonth(RebuildMonth, RebuildYear);
        programLedger() = ledgerOf(dm, RebuildMonth, RebuildYear);
        // Run alone, it still compares with the statement-by-statement ledger, built now.
        if (!statementLedger()) {
            clearLedgerMonth(table);
            rebuildStatementByStatement(dm, RebuildMonth, RebuildYear);
            statementLedger() = ledgerOf(dm, RebuildMonth, RebuildYear);
        }
        checkLedgers(state);
    });
}
BENCHMARK(rebuildLedger)->Unit(benchmark::kMillisecond);

AddComparison rebuild{{"month rebuild, 300 workers x 4 shifts x 22 days: ledger vs statement by "
                       "statement",
                       "rebuildSingleStatements", "rebuildLedger", 1.0 / 50}};

} // namespace
