// The server goes away while the program holds its connection and comes back later: the
// action in between shows the driver's text and the next one after the return just works.
// Each test runs its own cluster, so stopping it never disturbs the tests running beside it.

#include "data/statement.h"
#include "register/register_screen.h"
#include "support/screen_helpers.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

using namespace sdelka;
using namespace sdelka::test;

namespace {

// A PostgreSQL cluster of its own in a temporary folder, listening on a socket there; stopped
// and removed when it goes out of scope, also when a test fails half-way.
class PrivateCluster {
public:
    PrivateCluster() {
        // The server runs as the postgres user, which must reach the folders inside.
        QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                               QFile::ReadGroup | QFile::ExeGroup |
                                               QFile::ReadOther | QFile::ExeOther);
    }
    ~PrivateCluster() {
        if (initialised_)
            stop();
    }
    PrivateCluster(const PrivateCluster&) = delete;
    PrivateCluster& operator=(const PrivateCluster&) = delete;

    QString data() const { return dir_.filePath(QStringLiteral("data")); }
    QString socket() const { return dir_.filePath(QStringLiteral("socket")); }
    QString log() const { return dir_.filePath(QStringLiteral("server.log")); }

    void init() {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_NO_FATAL_FAILURE(
            shell(QStringLiteral("cluster_init \"$1\" \"$2\""), {data(), socket()}));
        initialised_ = true;
    }
    void start() {
        ASSERT_NO_FATAL_FAILURE(
            shell(QStringLiteral("cluster_start \"$1\" \"$2\" \"$3\""), {data(), socket(), log()}));
    }
    void stop() { shell(QStringLiteral("cluster_stop \"$1\""), {data()}); }

    // Runs psql as the superuser on a database of the cluster and returns what it prints
    // (unaligned, tuples only); fails the test when psql fails.
    QString psql(const QString& database, const QStringList& arguments) {
        QProcess p;
        p.start(QStringLiteral("psql"),
                QStringList{"-X", "-q", "-A", "-t", "-v", "ON_ERROR_STOP=1", "-h", socket(), "-U",
                            "postgres", "-d", database} +
                    arguments);
        const bool finished = p.waitForFinished(60000);
        const QString err = QString::fromUtf8(p.readAllStandardError());
        EXPECT_TRUE(finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
            << "psql " << arguments.join(' ').toStdString() << ": " << err.toStdString();
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }
    QString sql(const QString& statements) {
        return psql(QStringLiteral("sdelka"), {"-c", statements});
    }

private:
    void shell(const QString& command, const QStringList& arguments) {
        QProcess p;
        p.start(QStringLiteral("bash"),
                QStringList{"-c", QStringLiteral("source \"$0\"; ") + command,
                            QStringLiteral(SDELKA_SOURCE_DIR "/scripts/cluster.sh")} +
                    arguments);
        const bool finished = p.waitForFinished(90000);
        if (!finished) {
            p.kill();
            p.waitForFinished(5000);
        }
        ASSERT_TRUE(finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
            << command.toStdString() << ": " << p.readAllStandardError().toStdString();
    }

    QTemporaryDir dir_;
    bool initialised_ = false;
};

class LostServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(cluster.init());
        ASSERT_NO_FATAL_FAILURE(cluster.start());
        cluster.psql(QStringLiteral("postgres"), {"-c", "create database sdelka"});
        cluster.psql(QStringLiteral("sdelka"),
                     {"-f", QStringLiteral(SDELKA_SOURCE_DIR "/db/schema.sql")});
        cluster.sql(
            "insert into cmn_classifier.item(id, id_level, s_code, s_caption, b_excluded) "
            "values (50, 2, '50', 'Мебель', 0);"
            "insert into accounts_dep.person(id, fio, s_staffpos_hl) values "
            "(1, 'Иванов И.И.', 'Сборщик');"
            "insert into cmn_gds_and_srv.gds_and_srv(id, s_caption, s_description, id_msm_bs, "
            "massa, id_class_item) values (100, 'Стол СТ-1', '', 6, 1, 50);"
            "insert into accounts_dep.vid_oper(id, vid) values (10, 'Сборка');"
            "insert into accounts_dep.oper(id, vid, naimen, i_id, cena_new) values "
            "(1000, 10, 0, 100, 5);"
            "insert into accounts_dep.smena(id, w_id, i_id, o_id, cena, kol_vo, brak, data, "
            "smena, color, time, vvod, ok, prize, id_doc, id_doc_item, f_gds_qty_use, "
            "id_gds_use, id_cons_use) values (1, 1, 100, 1000, 2.5, 10, 1, current_date, 1, 0, "
            "8, now(), 'no', 0, 0, 0, 0, 0, 0);");
        ASSERT_FALSE(HasFailure());
        db = std::make_unique<Database>();
        ConnectionSettings s;
        s.database = QStringLiteral("sdelka");
        s.server = cluster.socket();
        ASSERT_NO_THROW(db->open(s));
    }
    void TearDown() override { db.reset(); }

    QString mark() { return cluster.sql("select ok from accounts_dep.smena where id = 1"); }

    PrivateCluster cluster;
    std::unique_ptr<Database> db;
};

// Clicks "Обновить" and says how long the action took.
qint64 clickRefresh(TForm1& reg) {
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(reg.Button8, Qt::LeftButton);
    return clock.elapsed();
}

// A failed action while the server is down ends at once or within the connect timeout, never
// waits for the server.
constexpr qint64 FailedActionBoundMs = 15000;

TEST_F(LostServerTest, TheRegisterShowsTheDriversTextAndWorksAgainWhenTheServerReturns) {
    TDataModule6 dm(*db);
    dm.setReporter([](const QString& text) { showError(text); });
    dm.setShiftParams(QVariant(), QStringLiteral("ta"));
    TForm1 reg(dm);
    reg.LoginCode = QStringLiteral("8046");
    reg.show();
    ASSERT_NO_THROW(reg.activate());
    ASSERT_EQ(reg.DBGrid2->model()->rowCount(), 1);
    MessageLog log;

    cluster.stop();
    for (int attempt = 1; attempt <= 2; ++attempt) {
        const qint64 ms = clickRefresh(reg);
        std::printf("refresh with the server down, attempt %d: %lld ms\n", attempt,
                    static_cast<long long>(ms));
        ASSERT_EQ(log.boxes().size(), 1u) << attempt;
        EXPECT_EQ(log.boxes().front().kind, MessageKind::Error);
        EXPECT_FALSE(log.last().trimmed().isEmpty());
        std::printf("  the box says: %s\n", qPrintable(log.last()));
        EXPECT_LT(ms, FailedActionBoundMs);
        EXPECT_TRUE(reg.isVisible());
        EXPECT_TRUE(reg.isEnabled());
        EXPECT_TRUE(reg.Button8->isEnabled());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy cursor stayed";
        log.clear();
    }

    ASSERT_NO_FATAL_FAILURE(cluster.start());
    clickRefresh(reg);
    EXPECT_TRUE(log.empty()) << log.last().toStdString();
    ASSERT_EQ(reg.DBGrid2->model()->rowCount(), 1);
    EXPECT_EQ(reg.DBGrid2->model()->index(0, 0).data().toString(), "Иванов И.И.");

    const QRect cell = reg.DBGrid2->visualRect(reg.DBGrid2->model()->index(0, 0));
    QTest::mouseClick(reg.DBGrid2->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(reg.DBGrid2->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_TRUE(log.empty()) << log.last().toStdString();
    EXPECT_EQ(mark(), "ok");
    EXPECT_EQ(reg.DBGrid2->model()->index(0, 10).data().toString(), "ok");
}

TEST_F(LostServerTest, ACommitThatLosesTheServerFailsAndLeavesNoTransactionBehind) {
    Statement insert(*db, QStringLiteral("insert into accounts_dep.vid_oper(id, vid) values "
                                         "(:id, 'Шлифовка')"));
    {
        Transaction t(*db);
        insert.setParam("id", 11);
        insert.execute();
        cluster.stop();
        EXPECT_THROW(t.commit(), DatabaseError);
    }
    EXPECT_FALSE(db->inTransaction());
    // Still down: the next action fails with the driver's text as well.
    QElapsedTimer clock;
    clock.start();
    try {
        Transaction t(*db);
        ADD_FAILURE() << "a transaction began with the server down";
    } catch (const DatabaseError& e) {
        EXPECT_FALSE(e.text().trimmed().isEmpty());
    }
    EXPECT_LT(clock.elapsed(), FailedActionBoundMs);
    EXPECT_FALSE(db->inTransaction());

    ASSERT_NO_FATAL_FAILURE(cluster.start());
    {
        Transaction t(*db);
        insert.setParam("id", 12);
        ASSERT_NO_THROW(insert.execute());
        ASSERT_NO_THROW(t.commit());
    }
    EXPECT_FALSE(db->inTransaction());
    EXPECT_EQ(cluster.sql("select string_agg(id::text, ',' order by id) from "
                          "accounts_dep.vid_oper where id in (11, 12)"),
              "12");
}

} // namespace
