#include "register/hours_ledger.h"

#include "core/calendar.h"
#include "register/ledger_statements.h"

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
            {QStringLiteral("year"), day.year()}};
}

} // namespace

void HoursLedger::closeLedgerLists() {
    for (DataSet* set : {&dm_.H_Tabel_1, &dm_.H_Tabel_2, &dm_.H_Tabel_3})
        set->close();
}

HoursLedger::DayState HoursLedger::lockAndRead(int workerId, int shift, const QDate& day) {
    dm_.execute(dm_.H_Tabel_ins, sql::LedgerLockRow,
                {{QStringLiteral("month_key"), monthKey(day.month(), day.year())},
                 {QStringLiteral("w_id"), workerId},
                 {QStringLiteral("row_key"), rowKey(shift, day.month(), day.year())}});
    QVariantMap params = rowParams(workerId, shift, day);
    params.insert(QStringLiteral("date"), day.toString(QStringLiteral("dd.MM.yyyy")));
    DataSet& control = dm_.Control;
    control.close();
    control.setSql(sql::LedgerRowAndHours);
    for (auto it = params.begin(); it != params.end(); ++it)
        control.setParam(it.key(), it.value());
    control.open();
    const QVariant hours = control.field(QStringLiteral("tim"));
    DayState state{control.field(QStringLiteral("cnt")).toInt(), hours.toInt(), !hours.isNull()};
    control.close();
    return state;
}

void HoursLedger::writeDay(int workerId, int shift, const QDate& day, const QVariant& hours,
                           bool rowExists) {
    QVariantMap params = rowParams(workerId, shift, day);
    params.insert(QStringLiteral("hours"), hours);
    const QString& statement = rowExists ? sql::LedgerUpdateDay : sql::LedgerInsertDay;
    dm_.execute(dm_.H_Tabel_ins, statement.arg(day.day()), params);
}

void HoursLedger::afterSave(int workerId, int shift, const QDate& day) {
    closeLedgerLists();
    Transaction tx(dm_.ADO_DB);
    const DayState state = lockAndRead(workerId, shift, day);
    writeDay(workerId, shift, day, state.hours, state.rows > 0);
    tx.commit();
}

void HoursLedger::afterDelete(int workerId, int shift, const QDate& day) {
    closeLedgerLists();
    Transaction tx(dm_.ADO_DB);
    const DayState state = lockAndRead(workerId, shift, day);
    if (state.hasHours) {
        writeDay(workerId, shift, day, state.hours, state.rows > 0);
    } else if (state.rows > 0) {
        // No hours left that day: the ledger stops counting it, as a rebuild would.
        writeDay(workerId, shift, day, QVariant(QMetaType::fromType<int>()), true);
        dm_.execute(dm_.H_Tabel_ins, sql::LedgerDropEmptyRow, rowParams(workerId, shift, day));
    }
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
