#include "register/register_screen.h"
#include "support/db_fixture.h"

#include <QProcess>

using namespace sdelka;
using namespace sdelka::test;

using DemoDataTest = DbTest;

// The demo shop of scripts/demo: it loads into the schema, holds what every screen needs, and
// its hours ledger is in step with its positions.
TEST_F(DemoDataTest, TheDemoShopLoadsWithItsLedgerInStep) {
    const QString demo = qEnvironmentVariable("SDELKA_SCHEMA_DIR") + QStringLiteral("/demo.sql");
    QProcess psql;
    psql.start(QStringLiteral("psql"),
               {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"),
                QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-h"), testHost(),
                QStringLiteral("-U"), QStringLiteral("postgres"), QStringLiteral("-d"), dbName_,
                QStringLiteral("-f"), demo});
    ASSERT_TRUE(psql.waitForFinished(60000));
    ASSERT_EQ(psql.exitCode(), 0) << psql.readAllStandardError().toStdString();

    EXPECT_GE(scalar("select count(*) from accounts_dep.person").toInt(), 25);
    EXPECT_GE(scalar("select count(*) from cmn_gds_and_srv.gds_and_srv where id < 7777").toInt(),
              40);
    EXPECT_EQ(scalar("select count(*) from cmn_classifier.item where id_level = 2").toInt(), 6);
    EXPECT_EQ(
        scalar("select count(*) from cmn_classifier.item where id_level = 2 and b_excluded = 1")
            .toInt(),
        1);
    EXPECT_EQ(scalar("select count(*) from accounts_dep.vid_oper where id in (2, 3) and "
                     "upper(vid) like '%КРАСКА%'")
                  .toInt(),
              2);
    EXPECT_GT(
        scalar("select count(*) from accounts_dep.fatigue where id_o in (7777, 7778)").toInt(), 0);
    EXPECT_EQ(ledgerFaults(), QStringList{});

    // Every shift of the busiest day is listed in the register with its sums and marks.
    const QDate busiest = scalar("select data from accounts_dep.smena group by data order by "
                                 "count(*) desc limit 1")
                              .toDate();
    dm_->setShiftParams(busiest, "ta");
    int listed = 0;
    for (int shift = 1; shift <= 4; ++shift) {
        DataSet& list = dm_->shiftList(shift);
        list.open();
        EXPECT_GT(list.recordCount(), 0) << shift;
        listed += list.recordCount();
    }
    EXPECT_EQ(listed,
              scalar(QString("select count(*) from accounts_dep.smena where data='%1' and ok "
                             "is not null and ok <> 'ta'")
                         .arg(busiest.toString(Qt::ISODate)))
                  .toInt());
    dm_->Oper.open();
    EXPECT_GT(dm_->Oper.recordCount(), 100);
}
