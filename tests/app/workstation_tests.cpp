// Several workstations on one database, and a workstation that dies in the middle of an action:
// each workstation is a client process built from the program's own code.

#include "positions/hours_ledger.h"
#include "positions/position_store.h"
#include "support/db_fixture.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <iostream>
#include <memory>
#include <vector>

using namespace sdelka;
using namespace sdelka::test;

class WorkstationTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        seedCatalog();
        exec("insert into accounts_dep.person(id, fio, s_staffpos_hl) values "
             "(3, 'Сидоров С.С.', 'Сборщик'), (4, 'Кузнецов К.К.', 'Подсобник')");
    }

    void TearDown() override {
        for (auto& client : clients_) {
            if (client->state() != QProcess::NotRunning) {
                client->kill();
                client->waitForFinished(2000);
            }
        }
        clients_.clear();
        DbTest::TearDown();
    }

    QProcess& startClient(const QStringList& action) {
        auto client = std::make_unique<QProcess>();
        client->setProgram(QStringLiteral(SDELKA_CLIENT_PATH));
        client->setArguments(QStringList{dbName_, testHost()} + action);
        client->start();
        clients_.push_back(std::move(client));
        return *clients_.back();
    }

    // Reads the client's output until it says "STOPPED" (a few seconds at most); returns the
    // client's server process, or 0 when it never got there.
    int waitForStop(QProcess& client) {
        QDeadlineTimer deadline(10000);
        QString out;
        while (!out.contains(QLatin1String("STOPPED")) && !deadline.hasExpired() &&
               client.state() != QProcess::NotRunning) {
            client.waitForReadyRead(100);
            out += QString::fromUtf8(client.readAllStandardOutput());
        }
        out += QString::fromUtf8(client.readAllStandardOutput());
        if (!out.contains(QLatin1String("STOPPED"))) {
            ADD_FAILURE() << "the client did not reach its stop point: " << out.toStdString()
                          << client.readAllStandardError().toStdString();
            return 0;
        }
        return QRegularExpression(QStringLiteral("BACKEND (\\d+)")).match(out).captured(1).toInt();
    }

    // Kills the client and waits until the server has ended its session too.
    void kill(QProcess& client, int backend) {
        client.kill();
        ASSERT_TRUE(client.waitForFinished(5000));
        EXPECT_EQ(client.exitStatus(), QProcess::CrashExit);
        const QString alive =
            QStringLiteral("select count(*) from pg_stat_activity where pid = %1").arg(backend);
        for (int i = 0; i < 100 && scalar(alive).toInt() > 0; ++i)
            QThread::msleep(50);
        ASSERT_EQ(scalar(alive).toInt(), 0) << "the server still runs the killed session";
    }

    // Every ledger row with all its columns, in the order they were written.
    QStringList ledger() { return rows("select t::text from accounts_dep.h_tabel t order by id"); }

    // What differs between the piecework ledger and the positions: a day whose cell is not the
    // sum of the day's hours (empty where there is no position), a key with two rows, a row
    // without any day.

    std::vector<std::unique_ptr<QProcess>> clients_;
};

TEST_F(WorkstationTest, EightWorkstationsKeepTheLedgerInStepWithThePositions) {
    constexpr int Clients = 8;
    for (int c = 0; c < Clients; ++c)
        startClient({QStringLiteral("stress"), QString::number(c + 1), QStringLiteral("3")});

    // inserted, changed, deleted, then the refusals: deadlock, serialization, gone, duplicate,
    // other
    const QRegularExpression counts(
        QStringLiteral("inserted=(\\d+) changed=(\\d+) deleted=(\\d+) deadlock=(\\d+) "
                       "serialization=(\\d+) gone=(\\d+) duplicate=(\\d+) other=(\\d+)"));
    std::vector<long> total(8, 0);
    QDeadlineTimer deadline(30000);
    for (auto& client : clients_) {
        ASSERT_TRUE(client->waitForFinished(int(deadline.remainingTime())))
            << "a client did not finish in time";
        const QString out = QString::fromUtf8(client->readAllStandardOutput());
        const QString err = QString::fromUtf8(client->readAllStandardError());
        EXPECT_EQ(client->exitStatus(), QProcess::NormalExit) << err.toStdString();
        EXPECT_EQ(client->exitCode(), 0) << out.toStdString() << err.toStdString();
        const auto m = counts.match(out);
        ASSERT_TRUE(m.hasMatch()) << out.toStdString() << err.toStdString();
        for (int i = 0; i < 8; ++i)
            total[i] += m.captured(i + 1).toLong();
    }
    std::cout << "eight workstations: " << total[0] << " inserted, " << total[1] << " changed, "
              << total[2] << " deleted; refused: " << total[3] << " deadlocks, " << total[4]
              << " serialization failures, " << total[5]
              << " changes of positions deleted meanwhile, " << total[6] << " duplicates, "
              << total[7] << " other\n";
    // Enough actions ran for the workstations to meet on the same rows.
    EXPECT_GT(total[0] + total[1] + total[2], 8 * 50);
    EXPECT_GT(scalar("select count(*) from accounts_dep.h_tabel where smena > 0").toInt(), 0);
    EXPECT_EQ(ledgerFaults(), QStringList{});
    EXPECT_EQ(total[7], 0);
    // The duplicate check runs under the lock: no two positions share worker, operation,
    // product, day, shift and colour, however the workstations met.
    EXPECT_EQ(scalar("select count(*) from (select 1 from accounts_dep.smena group by w_id, o_id, "
                     "i_id, data, smena, color having count(*) > 1) twins")
                  .toInt(),
              0);
}

TEST_F(WorkstationTest, AKilledMonthRebuildLeavesTheLedgerAsItWas) {
    int id = 1;
    for (int day = 1; day <= 30; day += 2) {
        addPosition(id++, 1, 1, QDate(2026, 4, day).toString(Qt::ISODate), "no", day % 9);
        addPosition(id++, 2, 1 + day % 3, QDate(2026, 4, day).toString(Qt::ISODate), "no", 4);
    }
    HoursLedger(*dm_).rebuildMonth(4, 2026);
    // The ledger no longer matches the positions: a position it does not know, a stale row and
    // a household row that a rebuild leaves alone.
    addPosition(id++, 3, 2, "2026-04-12", "no", 6);
    exec("insert into accounts_dep.h_tabel(w_id, month, year, smena, d30) values (3, 4, 2026, 4, "
         "99); insert into accounts_dep.h_tabel(w_id, month, year, i_type, i_night, d1) values "
         "(1, 4, 2026, 7777, 0, 6)");
    const QStringList before = ledger();
    ASSERT_FALSE(ledgerFaults().isEmpty());

    QProcess& client = startClient({QStringLiteral("rebuild"), QStringLiteral("4"),
                                    QStringLiteral("2026"), QStringLiteral("10")});
    const int backend = waitForStop(client);
    ASSERT_GT(backend, 0);
    ASSERT_NO_FATAL_FAILURE(kill(client, backend));
    EXPECT_EQ(ledger(), before);
}

TEST_F(WorkstationTest, AKilledHelperSaveLeavesThePositionWithItsHelpersListed) {
    addPosition(1, 1, 2, "2026-03-05", "no", 8);
    PositionStore store(*dm_);
    store.addHelper(1, 2, Money::fromInt(1), 4);
    store.addHelper(1, 3, *Money::parse(u"0.5"), 2);
    store.addHelper(1, 4, *Money::parse(u"1.5"), 6);
    HoursLedger(*dm_).updateDay(1, 2, QDate(2026, 3, 5));
    const QStringList helpers = rows("select t::text from accounts_dep.person_temp t order by id");
    const QStringList ledgerBefore = ledger();
    ASSERT_EQ(helpers.size(), 3);

    QProcess& client =
        startClient({QStringLiteral("helpers"), QStringLiteral("1"), QStringLiteral("2")});
    const int backend = waitForStop(client);
    ASSERT_GT(backend, 0);
    ASSERT_NO_FATAL_FAILURE(kill(client, backend));
    EXPECT_EQ(scalar("select count(*) from accounts_dep.smena where o_id = 7779").toInt(), 0);
    EXPECT_EQ(rows("select t::text from accounts_dep.person_temp t order by id"), helpers);
    EXPECT_EQ(ledger(), ledgerBefore);
}
