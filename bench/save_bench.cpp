// A position's save from "Запись" to the refreshed list: the single statements of the register
// as they used to be sent, with values in their texts and no transaction, against the
// program's save, which writes the position and its ledger day together.
#include "bench_data.h"
#include "comparisons.h"
#include "register/position_statements.h"
#include "register/position_store.h"

#include <benchmark/benchmark.h>

using namespace sdelka;
using namespace sdelka::bench;

namespace {

const QDate SaveDay(2026, 11, 18);

BenchDatabase& saveTable() {
    return benchDatabase(QStringLiteral("bench_save"), [](BenchDatabase& b) {
        b.seedCatalog(300);
        b.addDays(SaveDay.addDays(10), 20, 400);
    });
}

// The values of the n-th saved position: a new operation and day each time, so no save is
// refused as a duplicate.
PositionValues nth(long n) {
    PositionValues p;
    p.workerId = 1 + int(n % 300);
    p.productId = 1 + int(n % 40);
    p.operationId = p.productId * 10 + 1 + int((n / 300) % 8);
    p.price = *Price::parse(u"2.5");
    p.pieces = Quantity::fromInt(10);
    p.rejects = 1;
    p.day = SaveDay.addDays(-int(n / 2400) - 1);
    p.shift = 1 + int(n % 4);
    p.colour = int(n / 100000);
    p.hours = 3;
    return p;
}

void saveAsSingleStatements(TDataModule6& dm, const PositionValues& p) {
    const QString date = p.day.toString(QStringLiteral("dd.MM.yyyy"));
    const QString key = QStringLiteral("w_id=%1 and smena=%2 and month=%3 and year=%4")
                            .arg(p.workerId)
                            .arg(p.shift)
                            .arg(p.day.month())
                            .arg(p.day.year());
    dm.readInt(QStringLiteral("select count(id) as cnt from accounts_dep.SMENA where w_id=%1 and "
                              "o_id=%2 and i_id=%3 and data=to_date('%4', 'DD.MM.YYYY') and "
                              "smena=%5 and color=%6")
                   .arg(p.workerId)
                   .arg(p.operationId)
                   .arg(p.productId)
                   .arg(date)
                   .arg(p.shift)
                   .arg(p.colour),
               QStringLiteral("cnt"));
    dm.readInt(
        QStringLiteral(
            "insert into accounts_dep.SMENA(w_id, i_id, o_id, cena, kol_vo, brak, data, smena, "
            "color, time, vvod,ok, prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, "
            "id_cons_use) values(%1, %2, %3, 2.5,10, 1, to_date('%4', 'DD.MM.YYYY HH24:MI:SS'), "
            "%5, %6, 3, '%4', 'no', 0, 0, 0, 0, 0, 0) returning id as cur_id")
            .arg(p.workerId)
            .arg(p.productId)
            .arg(p.operationId)
            .arg(date)
            .arg(p.shift)
            .arg(p.colour),
        QStringLiteral("cur_id"));
    dm.shiftList(p.shift).reopen();
    const int rows = dm.readInt(
        QStringLiteral("select count(w_id) as cnt from accounts_dep.h_tabel where ") + key,
        QStringLiteral("cnt"));
    const int hours = dm.readInt(QStringLiteral("select sum(time) as tim from accounts_dep.smena "
                                                "where w_id=%1 and smena=%2 and data=to_date('%3', "
                                                "'DD.MM.YYYY') group by w_id, smena, data")
                                     .arg(p.workerId)
                                     .arg(p.shift)
                                     .arg(date),
                                 QStringLiteral("tim"));
    if (rows != 0)
        dm.execute(dm.H_Tabel_ins, QStringLiteral("update accounts_dep.h_tabel set d%1=%2 where ")
                                           .arg(p.day.day())
                                           .arg(hours) +
                                       key);
    else
        dm.execute(dm.H_Tabel_ins, QStringLiteral("insert into accounts_dep.h_tabel(smena, w_id, "
                                                  "month, year, d%1) values(%2, %3, %4, %5, %6)")
                                       .arg(p.day.day())
                                       .arg(p.shift)
                                       .arg(p.workerId)
                                       .arg(p.day.month())
                                       .arg(p.day.year())
                                       .arg(hours));
}

void saveAsProgram(TDataModule6& dm, const PositionValues& p) {
    dm.CheckExists(sql::PositionExists, PositionStore::duplicateParams(p, 0));
    PositionStore(dm).insert(p);
    dm.shiftList(p.shift).reopen();
}

template <void (*Save)(TDataModule6&, const PositionValues&)>
void savePosition(benchmark::State& state, long offset) {
    BenchDatabase& table = saveTable();
    TDataModule6& dm = table.dm();
    dm.setShiftParams(SaveDay, QStringLiteral("ta"));
    for (int s = 1; s <= 4; ++s)
        dm.shiftList(s).reopen();
    static long n = 0;
    Save(dm, nth(offset + n++)); // statements prepared once, as in a running program
    const long long before = dm.ADO_DB.roundTrips();
    long saves = 0;
    for (auto _ : state) {
        Save(dm, nth(offset + n++));
        ++saves;
    }
    state.counters["round trips"] = double(dm.ADO_DB.roundTrips() - before) / double(saves);
}

void saveSingleStatements(benchmark::State& state) {
    savePosition<saveAsSingleStatements>(state, 0);
}
void saveProgram(benchmark::State& state) {
    savePosition<saveAsProgram>(state, 1000000);
}
BENCHMARK(saveSingleStatements)->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK(saveProgram)->Unit(benchmark::kMillisecond)->Iterations(300);

AddComparison saveTrips{{"position save to the refreshed list: round trips, program vs single "
                         "statements",
                         "saveSingleStatements", "saveProgram", 1.0, "round trips"}};
AddComparison saveTime{{"position save to the refreshed list: time, program vs single statements",
                        "saveSingleStatements", "saveProgram", 1.5}};

} // namespace
