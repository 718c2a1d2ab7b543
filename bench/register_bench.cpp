// The register's day lists on a small and a large table, and the month rebuild of the hours
// ledger as single statements per worker and day against the ledger's own rebuild.
#include "bench_data.h"
#include "comparisons.h"
#include "register/hours_ledger.h"

#include <benchmark/benchmark.h>

#include <memory>

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
    BenchDatabase& table = positionsTable(int(state.range(0)));
    TDataModule6& dm = table.dm();
    dm.setShiftParams(ListDay, QStringLiteral("ta"));
    int rows = 0;
    for (auto _ : state) {
        rows = 0;
        for (int shift = 1; shift <= 4; ++shift) {
            DataSet& list = dm.shiftList(shift);
            list.reopen();
            rows += list.recordCount();
        }
    }
    state.counters["rows"] = rows;
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

void rebuildSingleStatements(benchmark::State& state) {
    TDataModule6& dm = monthTable().dm();
    for (auto _ : state)
        rebuildStatementByStatement(dm, RebuildMonth, RebuildYear);
}
BENCHMARK(rebuildSingleStatements)->Unit(benchmark::kMillisecond)->Iterations(1);

void rebuildLedger(benchmark::State& state) {
    TDataModule6& dm = monthTable().dm();
    HoursLedger ledger(dm);
    for (auto _ : state)
        ledger.rebuildMonth(RebuildMonth, RebuildYear);
}
BENCHMARK(rebuildLedger)->Unit(benchmark::kMillisecond);

AddComparison rebuild{{"month rebuild, 300 workers x 4 shifts x 22 days: ledger vs statement by "
                       "statement",
                       "rebuildSingleStatements", "rebuildLedger", 1.0 / 50}};

} // namespace
