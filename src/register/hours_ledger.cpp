#include "register/hours_ledger.h"

#include "core/calendar.h"
#include "register/ledger_statements.h"

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
    const MonthRange range = monthRange(month, year);
    const QVariantMap monthParams{{QStringLiteral("month"), month}, {QStringLiteral("year"), year}};
    Transaction tx(dm_.ADO_DB);
    dm_.execute(dm_.H_Tabel_ins, sql::LedgerLockMonth,
                {{QStringLiteral("month_key"), monthKey(month, year)}});
    dm_.execute(dm_.DelSmena, sql::LedgerDeleteMonth, monthParams);
    for (int day = 1; day <= range.days(); ++day) {
        QVariantMap params = monthParams;
        params.insert(QStringLiteral("data"), QDate(year, month, day));
        dm_.execute(dm_.H_Tabel_ins, sql::LedgerRebuildDay.arg(day), params);
        if (progress)
            progress(day, range.days());
    }
    tx.commit();
}

} // namespace sdelka
