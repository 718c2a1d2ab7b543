#include "positions/hours_ledger.h"

#include "core/calendar.h"
#include "positions/ledger_statements.h"

#include <map>

namespace sdelka {

namespace {

// Lock keys: the month (shared by day rules, exclusive for a rebuild) and one row of a worker.
qint64 monthKey(int month, int year) {
    return 0x5D0000000LL + year * 100 + month;
}
int rowKey(int shift, int month, int year) {
    return shift * 1000000 + year * 100 + month;
}

QVariantMap rowParams(int workerId, int shift, const QDate& day) {
    return {{QStringLiteral("w_id"), workerId},
            {QStringLiteral("smena"), shift},
            {QStringLiteral("month"), day.month()},
            {QStringLiteral("year"), day.year()},
            {QStringLiteral("day"), day}};
}

} // namespace

void HoursLedger::closeLedgerLists() {
    for (DataSet* set : {&dm_.H_Tabel_1, &dm_.H_Tabel_2, &dm_.H_Tabel_3})
        set->close();
}

QVariantMap HoursLedger::lockParams(int workerId, int shift, const QDate& day) {
    return {{QStringLiteral("month_key"), monthKey(day.month(), day.year())},
            {QStringLiteral("w_id"), workerId},
            {QStringLiteral("row_key"), rowKey(shift, day.month(), day.year())}};
}

void HoursLedger::lock(int workerId, int shift, const QDate& day) {
    dm_.execute(dm_.H_Tabel_ins, sql::LedgerLockRow, lockParams(workerId, shift, day));
}

void HoursLedger::writeDayLocked(int workerId, int shift, const QDate& day) {
    closeLedgerLists();
    QStringList otherDays;
    for (int d = 1; d <= 31; ++d) {
        if (d != day.day())
            otherDays << QStringLiteral("d%1").arg(d);
    }
    dm_.execute(
        dm_.H_Tabel_ins,
        sql::LedgerDay.arg(day.day()).arg(otherDays.join(QLatin1Char(','))).arg(otherDays.size()),
        rowParams(workerId, shift, day));
}

void HoursLedger::updateDay(int workerId, int shift, const QDate& day) {
    Transaction tx(dm_.ADO_DB);
    lock(workerId, shift, day);
    writeDayLocked(workerId, shift, day);
    tx.commit();
}

void HoursLedger::rebuildMonth(int month, int year, const Progress& progress) {
    closeLedgerLists();
    const int days = monthRange(month, year).days();
    const QVariantMap monthParams{{QStringLiteral("month"), month}, {QStringLiteral("year"), year}};
    Transaction tx(dm_.ADO_DB);
    dm_.execute(dm_.H_Tabel_ins, sql::LedgerLockMonth,
                {{QStringLiteral("month_key"), monthKey(month, year)}});
    dm_.execute(dm_.DelSmena, sql::LedgerDeleteMonth, monthParams);

    // The day's sums are read day by day and the month's rows written at once: one row per
    // worker and shift that has a position in the month, each day's cell its hours.
    std::map<std::pair<int, int>, std::vector<QString>> rows; // (shift, worker) -> day cells
    DataSet& control = dm_.Control;
    control.close();
    control.setSql(sql::LedgerDayHours);
    for (int day = 1; day <= days; ++day) {
        control.setParam(QStringLiteral("data"), QDate(year, month, day));
        control.open();
        for (int r = 0; r < control.recordCount(); ++r) {
            const auto key = std::make_pair(control.value(r, QStringLiteral("smena")).toInt(),
                                            control.value(r, QStringLiteral("w_id")).toInt());
            auto& cells = rows[key];
            if (cells.empty())
                cells.assign(days, QStringLiteral("NULL"));
            cells[day - 1] = QString::number(control.value(r, QStringLiteral("tim")).toInt());
        }
        control.close();
        if (progress)
            progress(day, days);
    }
    if (!rows.empty())
        insertMonth(month, year, days, rows);
    tx.commit();
}

void HoursLedger::insertMonth(int month, int year, int days,
                              const std::map<std::pair<int, int>, std::vector<QString>>& rows) {
    auto array = [](const QStringList& items) {
        return QLatin1Char('{') + items.join(QLatin1Char(',')) + QLatin1Char('}');
    };
    QStringList shifts, workers;
    std::vector<QStringList> cells(days);
    for (const auto& [key, dayCells] : rows) {
        shifts << QString::number(key.first);
        workers << QString::number(key.second);
        for (int d = 0; d < days; ++d)
            cells[d] << dayCells[d];
    }
    QStringList columns, arrays;
    QVariantMap params{{QStringLiteral("month"), month},
                       {QStringLiteral("year"), year},
                       {QStringLiteral("smena"), array(shifts)},
                       {QStringLiteral("w_id"), array(workers)}};
    for (int d = 1; d <= days; ++d) {
        columns << QStringLiteral("d%1").arg(d);
        arrays << QStringLiteral(":a%1::int[]").arg(d);
        params.insert(QStringLiteral("a%1").arg(d), array(cells[d - 1]));
    }
    dm_.execute(dm_.H_Tabel_ins,
                sql::LedgerInsertMonth.arg(columns.join(QStringLiteral(", ")),
                                           arrays.join(QStringLiteral(", "))),
                params);
}

} // namespace sdelka
