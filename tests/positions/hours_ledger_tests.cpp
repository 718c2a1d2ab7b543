#include "positions/hours_ledger.h"
#include "support/db_fixture.h"

#include <QRandomGenerator>

#include <thread>

using namespace sdelka;
using namespace sdelka::test;

class HoursLedgerTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        seedCatalog();
        ledger = std::make_unique<HoursLedger>(*dm_);
    }
    // The piecework rows as "worker/shift/month.year: day=hours ..." for the days that hold a
    // value.
    QStringList ledgerRows() {
        QStringList out;
        QString days;
        for (int d = 1; d <= 31; ++d)
            days += QString("|| coalesce(' %1=' || d%1, '') ").arg(d);
        return rows(
            QString("select w_id||'/'||smena||'/'||month||'.'||year||':' %1 from "
                    "accounts_dep.h_tabel where smena > 0 order by w_id, smena, year, month")
                .arg(days));
    }
    void del(int id) { exec(QString("delete from accounts_dep.smena where id=%1").arg(id)); }
    std::unique_ptr<HoursLedger> ledger;
};

TEST_F(HoursLedgerTest, DayRulesAfterSavesAndDeletions) {
    const QDate d3(2026, 3, 3), d4(2026, 3, 4);
    struct Step {
        const char* what;
        std::function<void()> act;
        QStringList expected;
    };
    const std::vector<Step> steps = {
        {"first position of the month inserts one row with one day",
         [&] {
             addPosition(1, 1, 1, "2026-03-03", "no", 7);
             ledger->updateDay(1, 1, d3);
         },
         {"1/1/3.2026: 3=7"}},
        {"a second position of the same day sums",
         [&] {
             addPosition(2, 1, 1, "2026-03-03", "no", 4);
             ledger->updateDay(1, 1, d3);
         },
         {"1/1/3.2026: 3=11"}},
        {"another day fills its own cell",
         [&] {
             addPosition(3, 1, 1, "2026-03-04", "no", 2);
             ledger->updateDay(1, 1, d4);
         },
         {"1/1/3.2026: 3=11 4=2"}},
        {"0 hours writes 0 and creates the row",
         [&] {
             addPosition(4, 2, 4, "2026-03-04", "no", 0);
             ledger->updateDay(2, 4, d4);
         },
         {"1/1/3.2026: 3=11 4=2", "2/4/3.2026: 4=0"}},
        {"deleting one of two leaves the other's hours",
         [&] {
             del(1);
             ledger->updateDay(1, 1, d3);
         },
         {"1/1/3.2026: 3=4 4=2", "2/4/3.2026: 4=0"}},
        {"deleting the last of a day empties the day",
         [&] {
             del(2);
             ledger->updateDay(1, 1, d3);
         },
         {"1/1/3.2026: 4=2", "2/4/3.2026: 4=0"}},
        {"deleting the last of the month removes the row",
         [&] {
             del(3);
             ledger->updateDay(1, 1, d4);
         },
         {"2/4/3.2026: 4=0"}},
        {"a day of 0 hours left behind keeps its 0",
         [&] {
             addPosition(5, 2, 4, "2026-03-04", "no", 3);
             ledger->updateDay(2, 4, d4);
             del(5);
             ledger->updateDay(2, 4, d4);
         },
         {"2/4/3.2026: 4=0"}},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(ledgerRows(), step.expected) << step.what;
    }
}

TEST_F(HoursLedgerTest, RebuildEqualsSavingEveryPositionOnceInAnyOrder) {
    // A month of positions of three workers in all shifts, some days with two positions, plus
    // positions of the neighbouring months that must stay out.
    QRandomGenerator rng(7);
    struct Pos {
        int w, shift;
        QDate day;
    };
    std::vector<Pos> positions;
    int id = 1;
    for (int w = 1; w <= 3; ++w)
        for (int day = 1; day <= 30; day += 1 + int(rng.bounded(3)))
            for (int k = 0; k < 1 + int(rng.bounded(2)); ++k) {
                const Pos p{w, 1 + int(rng.bounded(4)), QDate(2026, 4, day)};
                addPosition(id++, p.w, p.shift, p.day.toString(Qt::ISODate), "no",
                            int(rng.bounded(12)));
                positions.push_back(p);
            }
    addPosition(id++, 1, 1, "2026-05-01", "no", 5);
    addPosition(id++, 1, 1, "2026-03-31", "no", 5);
    exec("insert into accounts_dep.h_tabel(w_id, month, year, i_type, i_night, d1) "
         "values (1, 4, 2026, 7777, 0, 6)");
    // A stale row the rebuild must replace.
    exec("insert into accounts_dep.h_tabel(w_id, month, year, smena, d30) values (3, 4, 2026, 2, "
         "99)");

    std::shuffle(positions.begin(), positions.end(), std::mt19937(11));
    exec("delete from accounts_dep.h_tabel where smena > 0");
    for (const Pos& p : positions)
        ledger->updateDay(p.w, p.shift, p.day);
    const QStringList bySaves = ledgerRows();
    ASSERT_FALSE(bySaves.isEmpty());

    exec("insert into accounts_dep.h_tabel(w_id, month, year, smena, d30) values (3, 4, 2026, 2, "
         "99)");
    std::vector<std::pair<int, int>> progress;
    ledger->rebuildMonth(4, 2026, [&](int day, int days) { progress.emplace_back(day, days); });
    EXPECT_EQ(ledgerRows(), bySaves);
    ASSERT_EQ(progress.size(), 30u);
    EXPECT_EQ(progress.back(), std::make_pair(30, 30));
    // The household row is untouched.
    EXPECT_EQ(rows("select smena||'/'||i_type||'/'||d1 from accounts_dep.h_tabel where smena=0"),
              QStringList{"0/7777/6"});
}

TEST_F(HoursLedgerTest, RebuildCoversTheDaysOfTheMonthOnly) {
    addPosition(1, 1, 2, "2024-02-29", "no", 9);
    addPosition(2, 1, 2, "2024-03-01", "no", 4);
    int days = 0;
    ledger->rebuildMonth(2, 2024, [&](int, int n) { days = n; });
    EXPECT_EQ(days, 29);
    EXPECT_EQ(ledgerRows(), QStringList{"1/2/2.2024: 29=9"});
    addPosition(3, 1, 2, "2024-04-30", "no", 3);
    addPosition(4, 1, 2, "2024-05-01", "no", 6);
    ledger->rebuildMonth(4, 2024, [&](int, int n) { days = n; });
    EXPECT_EQ(days, 30);
    EXPECT_EQ(ledgerRows(), QStringList({"1/2/2.2024: 29=9", "1/2/4.2024: 30=3"}));
}

TEST_F(HoursLedgerTest, ARefusedRebuildLeavesTheOldMonth) {
    addPosition(1, 1, 1, "2026-04-02", "no", 5);
    ledger->updateDay(1, 1, QDate(2026, 4, 2));
    const QStringList before = ledgerRows();
    // A position whose hours do not fit the ledger's column makes the day refused.
    exec("alter table accounts_dep.h_tabel add constraint small_days check (coalesce(d3,0) < 24)");
    addPosition(2, 2, 1, "2026-04-03", "no", 30);
    EXPECT_THROW(ledger->rebuildMonth(4, 2026), DatabaseError);
    EXPECT_EQ(ledgerRows(), before);
}

TEST_F(HoursLedgerTest, ParallelDayRulesLeaveOneRowWithTheRightSums) {
    for (int day = 1; day <= 5; ++day)
        addPosition(day, 1, 3, QDate(2026, 6, day).toString(Qt::ISODate), "no", day);
    std::vector<std::thread> clients;
    std::atomic<int> failures{0};
    for (int c = 0; c < 8; ++c) {
        clients.emplace_back([&, c] {
            try {
                Database db(QString("client%1").arg(c));
                db.open(settings());
                TDataModule6 dm(db);
                HoursLedger ledger(dm);
                for (int round = 0; round < 5; ++round)
                    for (int day = 1; day <= 5; ++day)
                        ledger.updateDay(1, 3, QDate(2026, 6, 1 + (day + c) % 5));
            } catch (const DatabaseError&) {
                ++failures;
            }
        });
    }
    for (auto& t : clients)
        t.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(ledgerRows(), QStringList{"1/3/6.2026: 1=1 2=2 3=3 4=4 5=5"});
}
