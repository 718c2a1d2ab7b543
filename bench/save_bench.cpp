// A position's save from "Запись" to the refreshed list: the single statements of the register
// as they used to be sent, with values in their texts and no transaction, against the
// program's save, which writes the position and its ledger day together.
#include "bench_checks.h"
#include "bench_data.h"
#include "comparisons.h"
#include "positions/position_statements.h"
#include "positions/position_store.h"

#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>

using namespace sdelka;
using namespace sdelka::bench;

namespace {

// Each side saves into a day of its own month, the register showing that day. Both days lie amid
// the same positions (400 a day over 20 days) and their months start without ledger rows, so
// both sides find the same data where they write.
const QDate BaselineDay(2026, 11, 18);
const QDate ProgramDay(2026, 12, 18);

BenchDatabase& saveTable() {
    return benchDatabase(QStringLiteral("bench_save"), [](BenchDatabase& b) {
        b.seedCatalog(300);
        for (const QDate& day : {BaselineDay, ProgramDay})
            b.addDays(day.addDays(10), 20, 400);
    });
}

// The values of the n-th position saved into the day: another worker, operation or shift each
// time, and a colour no generated position has, so no save is refused as a duplicate.
PositionValues nth(long n, const QDate& day) {
    PositionValues p;
    p.workerId = 1 + int(n % 300);
    p.productId = 1 + int(n % 40);
    p.operationId = p.productId * 10 + 1 + int((n / 300) % 8);
    p.price = *Price::parse(u"2.5");
    p.pieces = Quantity::fromInt(10);
    p.rejects = 1;
    p.day = day;
    p.shift = 1 + int(n % 4);
    p.colour = 1 + int(n / 2400);
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
    if (dm.readInt(QStringLiteral("select count(id) as cnt from accounts_dep.SMENA where w_id=%1 "
                                  "and o_id=%2 and i_id=%3 and data=to_date('%4', 'DD.MM.YYYY') "
                                  "and smena=%5 and color=%6")
                       .arg(p.workerId)
                       .arg(p.operationId)
                       .arg(p.productId)
                       .arg(date)
                       .arg(p.shift)
                       .arg(p.colour),
                   QStringLiteral("cnt")) != 0)
        throw std::runtime_error("a saved position was taken for a duplicate");
    dm.readInt(
        QStringLiteral(
            "insert into accounts_dep.SMENA(w_id, i_id, o_id, cena, kol_vo, brak, data, smena, "
            "color, time, vvod,ok, prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, "
            "id_cons_use) values(%1, %2, %3, %7,%8, %9, to_date('%4', 'DD.MM.YYYY HH24:MI:SS'), "
            "%5, %6, %10, '%4', 'no', 0, 0, 0, 0, 0, 0) returning id as cur_id")
            .arg(p.workerId)
            .arg(p.productId)
            .arg(p.operationId)
            .arg(date)
            .arg(p.shift)
            .arg(p.colour)
            .arg(p.price.toDatabase())
            .arg(p.pieces.toShortString(QLocale::c()))
            .arg(p.rejects)
            .arg(p.hours),
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
    // The store checks for a duplicate itself, under the ledger row's lock, as the editor saves.
    PositionStore(dm).insert(p);
    dm.shiftList(p.shift).reopen();
}

// Every save since the position lastId wrote its row with its values (the n-th from `first`),
// and the day's cell of each saved worker and shift holds the hours of his positions there.
void checkSaves(benchmark::State& state, TDataModule6& dm, const QDate& day, int lastId, long first,
                long count) {
    DataSet rows(dm.ADO_DB, QStringLiteral("save_check"),
                 QStringLiteral("select w_id, i_id, o_id, data, smena, color, time, brak from "
                                "accounts_dep.smena where id>%1 order by id")
                     .arg(lastId));
    rows.open();
    if (!verified(state, rows.recordCount() == count,
                  std::to_string(count) + " saves wrote " + std::to_string(rows.recordCount()) +
                      " positions"))
        return;
    for (int r = 0; r < rows.recordCount(); ++r) {
        const PositionValues p = nth(first + r, day);
        auto is = [&](const char* field, int value) {
            return rows.value(r, QString::fromLatin1(field)).toInt() == value;
        };
        const bool same = is("w_id", p.workerId) && is("i_id", p.productId) &&
                          is("o_id", p.operationId) && is("smena", p.shift) &&
                          is("color", p.colour) && is("time", p.hours) && is("brak", p.rejects) &&
                          rows.value(r, QStringLiteral("data")).toDate() == p.day;
        if (!verified(state, same,
                      "save " + std::to_string(r + 1) + " wrote other values than it was given"))
            return;
    }
    const int wrongCells = dm.readInt(
        QStringLiteral(
            "select count(*) as cnt from (select w_id, smena, sum(time) as tim from "
            "accounts_dep.smena where data='%1' and (w_id, smena) in (select w_id, smena from "
            "accounts_dep.smena where id>%2) group by w_id, smena) s left join "
            "accounts_dep.h_tabel h on h.w_id=s.w_id and h.smena=s.smena and h.month=%3 and "
            "h.year=%4 where h.d%5 is distinct from s.tim")
            .arg(day.toString(Qt::ISODate))
            .arg(lastId)
            .arg(day.month())
            .arg(day.year())
            .arg(day.day()),
        QStringLiteral("cnt"));
    verified(state, wrongCells == 0,
             std::to_string(wrongCells) + " ledger cells of the saved positions are wrong");
}

template <void (*Save)(TDataModule6&, const PositionValues&)>
void savePosition(benchmark::State& state, const QDate& day) {
    guarded(state, [&] {
        TDataModule6& dm = saveTable().dm();
        // The register shows the day the positions go to, so each refreshed list holds them.
        dm.setShiftParams(day, QStringLiteral("ta"));
        for (int s = 1; s <= 4; ++s)
            dm.shiftList(s).reopen();
        const int lastId =
            dm.readInt(QStringLiteral("select coalesce(max(id), 0) as id from accounts_dep.smena"),
                       QStringLiteral("id"));
        static long n = 0;
        const long first = n;
        Save(dm, nth(n++, day)); // statements prepared once, as in a running program
        const long long before = dm.ADO_DB.roundTrips();
        long saves = 0;
        for (auto _ : state) {
            Save(dm, nth(n++, day));
            ++saves;
        }
        state.counters["round trips"] = double(dm.ADO_DB.roundTrips() - before) / double(saves);
        checkSaves(state, dm, day, lastId, first, saves + 1);
    });
}

void saveSingleStatements(benchmark::State& state) {
    savePosition<saveAsSingleStatements>(state, BaselineDay);
}
void saveProgram(benchmark::State& state) {
    savePosition<saveAsProgram>(state, ProgramDay);
}
BENCHMARK(saveSingleStatements)->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK(saveProgram)->Unit(benchmark::kMillisecond)->Iterations(300);

AddComparison saveTrips{{"position save to the refreshed list: round trips, program vs single "
                         "statements",
                         "saveSingleStatements", "saveProgram", 1.0, "round trips"}};
AddComparison saveTime{{"position save to the refreshed list: time, program vs single statements",
                        "saveSingleStatements", "saveProgram", 1.5}};

} // namespace
