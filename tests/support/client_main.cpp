// A workstation without screens: it connects as the program does and runs one action of the
// register through the program's own code, so tests can run many of them at once against one
// database or stop one in the middle of an action.
//
//   sdelka_client <database> <socketdir> stress <seed> <seconds>
//   sdelka_client <database> <socketdir> rebuild <month> <year> <stopDay>
//   sdelka_client <database> <socketdir> helpers <positionId> <stopAfter>
//
// Each prints "BACKEND <pid>" (its server process) first. rebuild and helpers print "STOPPED"
// at their stop point and wait there for the caller to kill them.

#include "data/data_module.h"
#include "positions/hours_ledger.h"
#include "positions/position_store.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QStringList>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

using namespace sdelka;

namespace {

// How long a stopped action waits to be killed before it gives up (without committing).
constexpr auto StopWait = std::chrono::seconds(30);
// Upper bounds of a stress run whatever the arguments say.
constexpr int MaxStressSeconds = 20;
constexpr int MaxStressActions = 50000;

void say(const QString& text) {
    std::fputs(qPrintable(text + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

[[noreturn]] void waitToBeKilled() {
    say(QStringLiteral("STOPPED"));
    std::this_thread::sleep_for(StopWait);
    // Nobody stopped us: leave without committing anything.
    std::_Exit(3);
}

// The few workers, shifts and days every stress client works on; the days cross a month's
// end so that changes move positions between ledger rows of two months.
const QDate FirstDay(2026, 3, 30);
constexpr int Days = 4;
constexpr int Workers = 3;
constexpr int Shifts = 3;
// A client keeps the table about this size: above it deletes more, below it inserts more.
constexpr int PoolSize = 12;

PositionValues randomPosition(QRandomGenerator& rng) {
    PositionValues p;
    p.workerId = 1 + int(rng.bounded(Workers));
    p.productId = 100;
    p.operationId = 1000;
    p.price = Price::fromInt(5);
    p.pieces = Quantity::fromInt(1 + rng.bounded(20));
    p.day = FirstDay.addDays(rng.bounded(Days));
    p.shift = 1 + int(rng.bounded(Shifts));
    // Now and then 0 hours: such a day holds 0, not an empty cell.
    p.hours = int(rng.bounded(11));
    return p;
}

struct StoredPosition {
    int id = 0;
    PositionValues values;
};

// Positions as they stand now: all of the stress clients' operation, or the one with the id.
std::vector<StoredPosition> readPositions(TDataModule6& dm, int id = 0) {
    DataSet& list = dm.Control;
    list.close();
    list.setSql(QStringLiteral("select id, w_id, i_id, o_id, cena, kol_vo, data, smena, color, "
                               "time from accounts_dep.smena where (:id = 0 and o_id = 1000) or "
                               "id = :id order by id"));
    list.setParam(QStringLiteral("id"), id);
    list.open();
    std::vector<StoredPosition> out;
    for (int r = 0; r < list.recordCount(); ++r) {
        StoredPosition s;
        s.id = list.value(r, QStringLiteral("id")).toInt();
        s.values.workerId = list.value(r, QStringLiteral("w_id")).toInt();
        s.values.productId = list.value(r, QStringLiteral("i_id")).toInt();
        s.values.operationId = list.value(r, QStringLiteral("o_id")).toInt();
        s.values.price = list.decimal<4>(r, QStringLiteral("cena"));
        s.values.pieces = list.decimal<6>(r, QStringLiteral("kol_vo"));
        s.values.day = list.value(r, QStringLiteral("data")).toDate();
        s.values.shift = list.value(r, QStringLiteral("smena")).toInt();
        s.values.colour = list.value(r, QStringLiteral("color")).toInt();
        s.values.hours = list.value(r, QStringLiteral("time")).toInt();
        out.push_back(s);
    }
    list.close();
    return out;
}

// Why a workstation's action was refused. Deadlocks and serialization failures are the
// server's answer to workstations meeting on the same rows, and a position another workstation
// deleted can no longer be changed; anything else is a fault.
enum class Refusal { Deadlock, Serialization, Gone, Duplicate, Other };

Refusal refusalOf(TDataModule6& dm, const DatabaseError& e, int target) {
    if (dynamic_cast<const DuplicatePosition*>(&e))
        return Refusal::Duplicate;
    const QString text = e.text();
    if (text.contains(QLatin1String("deadlock"), Qt::CaseInsensitive))
        return Refusal::Deadlock;
    if (text.contains(QLatin1String("serializ"), Qt::CaseInsensitive))
        return Refusal::Serialization;
    if (target != 0 && readPositions(dm, target).empty())
        return Refusal::Gone;
    return Refusal::Other;
}

int stress(TDataModule6& dm, quint32 seed, int seconds) {
    QRandomGenerator rng(seed);
    PositionStore store(dm);
    QElapsedTimer clock;
    clock.start();
    const qint64 limitMs = qint64(qBound(1, seconds, MaxStressSeconds)) * 1000;
    int inserted = 0, changed = 0, deleted = 0;
    int deadlocks = 0, serialization = 0, gone = 0, duplicates = 0, other = 0;
    for (int i = 0; i < MaxStressActions && clock.elapsed() < limitMs; ++i) {
        int target = 0;
        try {
            const std::vector<StoredPosition> positions = readPositions(dm);
            const int n = int(positions.size());
            const int roll = int(rng.bounded(100));
            const int insertShare = n < PoolSize ? 50 : 25;
            if (n == 0 || roll < insertShare) {
                store.insert(randomPosition(rng));
                ++inserted;
                continue;
            }
            const StoredPosition& chosen = positions[rng.bounded(n)];
            target = chosen.id;
            if (roll < insertShare + 40) {
                PositionValues v = chosen.values;
                const PositionValues drawn = randomPosition(rng);
                v.hours = drawn.hours;
                if (rng.bounded(2))
                    v.day = drawn.day;
                if (rng.bounded(3) == 0)
                    v.shift = drawn.shift;
                if (rng.bounded(3) == 0)
                    v.workerId = drawn.workerId;
                store.update(target, v);
                ++changed;
            } else {
                store.remove(target);
                ++deleted;
            }
        } catch (const DatabaseError& e) {
            switch (refusalOf(dm, e, target)) {
            case Refusal::Deadlock:
                ++deadlocks;
                break;
            case Refusal::Serialization:
                ++serialization;
                break;
            case Refusal::Gone:
                ++gone;
                break;
            case Refusal::Duplicate:
                ++duplicates;
                break;
            case Refusal::Other:
                ++other;
                std::fprintf(stderr, "refused: %s\n", qPrintable(e.text()));
                break;
            }
        }
    }
    say(QStringLiteral(
            "inserted=%1 changed=%2 deleted=%3 deadlock=%4 serialization=%5 gone=%6 duplicate=%7 "
            "other=%8")
            .arg(inserted)
            .arg(changed)
            .arg(deleted)
            .arg(deadlocks)
            .arg(serialization)
            .arg(gone)
            .arg(duplicates)
            .arg(other));
    return other == 0 ? 0 : 1;
}

int rebuild(TDataModule6& dm, int month, int year, int stopDay) {
    HoursLedger(dm).rebuildMonth(month, year, [stopDay](int day, int) {
        if (day == stopDay)
            waitToBeKilled();
    });
    say(QStringLiteral("DONE"));
    return 0;
}

int helpers(TDataModule6& dm, int positionId, int stopAfter) {
    const std::vector<StoredPosition> position = readPositions(dm, positionId);
    if (position.empty()) {
        std::fprintf(stderr, "no position %d\n", positionId);
        return 2;
    }
    PositionStore(dm).saveHelpers(positionId, position.front().values, [stopAfter](int done) {
        if (done == stopAfter)
            waitToBeKilled();
    });
    say(QStringLiteral("DONE"));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: sdelka_client <database> <socketdir> <action> [args]\n");
        return 2;
    }
    auto intArg = [&](int i) { return i < args.size() ? args.at(i).toInt() : 0; };
    try {
        Database db;
        TDataModule6 dm(db);
        db.open(ConnectionSettings::fromArguments(args.mid(0, 2)));
        say(QStringLiteral("BACKEND %1")
                .arg(dm.readInt(QStringLiteral("select pg_backend_pid() as pid"),
                                QStringLiteral("pid"))));
        const QString action = args.at(2);
        if (action == QLatin1String("stress"))
            return stress(dm, quint32(intArg(3)), intArg(4));
        if (action == QLatin1String("rebuild"))
            return rebuild(dm, intArg(3), intArg(4), intArg(5));
        if (action == QLatin1String("helpers"))
            return helpers(dm, intArg(3), intArg(4));
        std::fprintf(stderr, "unknown action %s\n", qPrintable(action));
        return 2;
    } catch (const DatabaseError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 1;
    }
}
