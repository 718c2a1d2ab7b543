#pragma once

#include <QDate>

namespace sdelka {

// Saturday and Sunday are days off.
inline bool isWeekend(const QDate& day) {
    return day.dayOfWeek() >= Qt::Saturday;
}

// The month as the timesheets read it: from its first day inclusive to the first day of the
// next month exclusive.
struct MonthRange {
    QDate first;
    QDate next;
    int days() const { return first.daysInMonth(); }
};

inline MonthRange monthRange(int month, int year) {
    const QDate first(year, month, 1);
    return {first, first.addMonths(1)};
}

} // namespace sdelka
