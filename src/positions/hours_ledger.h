#pragma once

#include "data/data_module.h"

#include <QDate>

#include <functional>
#include <map>
#include <vector>

namespace sdelka {

// Keeps the piecework rows of the hours ledger in step with the positions: one row per
// worker, shift and month, each day's cell the sum of that day's hours of the worker's
// positions in that shift.
class HoursLedger {
public:
    explicit HoursLedger(TDataModule6& dm) : dm_(dm) {}

    // After a position was saved, changed or deleted: writes the day's hours of the worker's
    // positions in that shift, creating the row for the first day of a month; a day left
    // without positions is emptied, and a row left without any day is removed.
    void updateDay(int workerId, int shift, const QDate& day);

    // The lock every write of a ledger row takes first, in the writing transaction, and then
    // writes the day: the day's cell holds the hours of the positions there are.
    static QVariantMap lockParams(int workerId, int shift, const QDate& day);
    void writeDayLocked(int workerId, int shift, const QDate& day);

    // Rebuilds every piecework row of the month from the positions, in one transaction; the
    // progress callback gets each day done and the month's number of days.
    using Progress = std::function<void(int day, int days)>;
    void rebuildMonth(int month, int year, const Progress& progress = {});

    // Takes the lock of one row (several rows: lock them in a fixed order).
    void lock(int workerId, int shift, const QDate& day);

private:
    void closeLedgerLists();
    void insertMonth(int month, int year, int days,
                     const std::map<std::pair<int, int>, std::vector<QString>>& rows);

    TDataModule6& dm_;
};

} // namespace sdelka
