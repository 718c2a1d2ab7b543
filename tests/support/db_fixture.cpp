#include "support/db_fixture.h"

#include "widgets/messages.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <atomic>

namespace sdelka::test {

QString testHost() {
    return qEnvironmentVariable("SDELKA_TEST_HOST");
}

QString testTemplate() {
    return qEnvironmentVariable("SDELKA_TEST_TEMPLATE", QStringLiteral("sdelka_template"));
}

namespace {

QSqlDatabase superuserConnection(const QString& name, const QString& database) {
    QSqlDatabase db = QSqlDatabase::contains(name) ? QSqlDatabase::database(name, false)
                                                   : QSqlDatabase::addDatabase("QPSQL", name);
    db.setHostName(testHost());
    db.setUserName(QStringLiteral("postgres"));
    db.setDatabaseName(database);
    return db;
}

void adminExec(const QString& sql) {
    QSqlDatabase admin = superuserConnection(QStringLiteral("test-admin"), "postgres");
    if (!admin.isOpen() && !admin.open())
        FAIL() << "no test cluster: " << admin.lastError().text().toStdString();
    QSqlQuery q(admin);
    if (!q.exec(sql))
        FAIL() << sql.toStdString() << ": " << q.lastError().text().toStdString();
}

} // namespace

void DbTest::SetUp() {
    ASSERT_FALSE(testHost().isEmpty())
        << "SDELKA_TEST_HOST is not set: run the tests through scripts/test";
    static std::atomic<int> counter{0};
    dbName_ = QStringLiteral("t_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
    ASSERT_NO_FATAL_FAILURE(
        adminExec(QStringLiteral("create database %1 template %2").arg(dbName_, testTemplate())));
    fixture_ = superuserConnection(QStringLiteral("test-fixture"), dbName_);
    ASSERT_TRUE(fixture_.open()) << fixture_.lastError().text().toStdString();
    QSqlQuery(fixture_).exec(QStringLiteral("SET DateStyle = 'ISO, DMY'"));
    db_ = std::make_unique<Database>();
    db_->open(settings());
    dm_ = std::make_unique<TDataModule6>(*db_);
    dm_->setReporter([](const QString& text) { showError(text); });
}

void DbTest::TearDown() {
    dm_.reset();
    db_.reset();
    fixture_.close();
    fixture_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("test-fixture"));
    if (!dbName_.isEmpty())
        adminExec(QStringLiteral("drop database if exists %1 with (force)").arg(dbName_));
}

ConnectionSettings DbTest::settings() const {
    ConnectionSettings s;
    s.database = dbName_;
    s.server = testHost();
    return s;
}

void DbTest::exec(const QString& sql) {
    QSqlQuery q(fixture_);
    if (!q.exec(sql))
        ADD_FAILURE() << sql.toStdString() << ": " << q.lastError().text().toStdString();
}

QVariant DbTest::scalar(const QString& sql) {
    QSqlQuery q(fixture_);
    if (!q.exec(sql)) {
        ADD_FAILURE() << sql.toStdString() << ": " << q.lastError().text().toStdString();
        return {};
    }
    return q.next() ? q.value(0) : QVariant();
}

QStringList DbTest::rows(const QString& sql) {
    QSqlQuery q(fixture_);
    QStringList out;
    if (!q.exec(sql)) {
        ADD_FAILURE() << sql.toStdString() << ": " << q.lastError().text().toStdString();
        return out;
    }
    while (q.next()) {
        QStringList cols;
        for (int i = 0; i < q.record().count(); ++i)
            cols << q.value(i).toString();
        out << cols.join(QLatin1Char('|'));
    }
    return out;
}

QStringList DbTest::ledgerFaults() {
    QStringList days;
    for (int d = 1; d <= 31; ++d)
        days << QStringLiteral("d%1").arg(d);
    const QString dayColumns = days.join(QStringLiteral(", "));
    return rows(
        QStringLiteral("with pos as (select w_id, smena, extract(month from data)::int as month, "
                       "extract(year from data)::int as year, extract(day from data)::int as "
                       "day, sum(time)::int as hours from accounts_dep.smena where smena > 0 "
                       "group by 1, 2, 3, 4, 5), "
                       "cells as (select t.w_id, t.smena, t.month, t.year, c.day::int as day, "
                       "c.hours from accounts_dep.h_tabel t, unnest(array[%1]) with ordinality "
                       "as c(hours, day) where t.smena > 0 and c.hours is not null) "
                       "select 'day ' || w_id || '/' || smena || '/' || day || '.' || month || "
                       "'.' || year || ': positions ' || coalesce(p.hours::text, '-') || ', "
                       "ledger ' || coalesce(c.hours::text, '-') from pos p full join cells c "
                       "using (w_id, smena, month, year, day) where p.hours is distinct from "
                       "c.hours "
                       "union all select 'twin rows ' || w_id || '/' || smena || '/' || month || "
                       "'.' || year from accounts_dep.h_tabel where smena > 0 group by w_id, "
                       "smena, month, year having count(*) > 1 "
                       "union all select 'row without days ' || w_id || '/' || smena || '/' || "
                       "month || '.' || year from accounts_dep.h_tabel where smena > 0 and "
                       "num_nonnulls(%1) = 0")
            .arg(dayColumns));
}

void DbTest::seedCatalog() {
    exec(QStringLiteral(
        "insert into cmn_classifier.item(id, id_level, s_code, s_caption, b_excluded) "
        "values (50, 2, '50', 'Мебель', 0);"
        "insert into accounts_dep.person(id, fio, s_staffpos_hl) values "
        "(1, 'Иванов И.И.', 'Сборщик'), (2, 'Петров П.П.', 'Маляр');"
        "insert into cmn_gds_and_srv.gds_and_srv(id, s_caption, s_description, id_msm_bs, massa, "
        "id_class_item) values (100, 'Стол СТ-1', '', 6, 1, 50);"
        "insert into accounts_dep.vid_oper(id, vid) values (10, 'Сборка'), (2, 'КРАСКА "
        "порошковая');"
        "insert into accounts_dep.oper(id, vid, naimen, i_id, cena_new) values "
        "(1000, 10, 0, 100, 5), (1001, 2, 1, 100, 7);"
        "insert into accounts_dep.norm(o_id, norma, prize, price) values "
        "(1000, 10, 0, 5), (1000, 20, 0, 4.5), (1001, 5, 0, 7);"
        // Ids the database hands out start above the ones given here.
        "select setval(pg_get_serial_sequence('accounts_dep.person', 'id'), 1000);"
        "select setval(pg_get_serial_sequence('accounts_dep.smena', 'id'), 1000);"));
}

void DbTest::addPosition(int id, int worker, int shift, const QString& date, const QString& ok,
                         int hours, int product, int operation) {
    exec(
        QStringLiteral("insert into accounts_dep.smena(id, w_id, i_id, o_id, cena, kol_vo, brak, "
                       "data, smena, color, time, vvod, ok, prize, id_doc, id_doc_item, "
                       "f_gds_qty_use, id_gds_use, id_cons_use) values "
                       "(%1, %2, %3, %4, 2.5, 10, 1, '%5', %6, 0, %7, now(), %8, 0, 0, 0, 0, 0, 0)")
            .arg(id)
            .arg(worker)
            .arg(product)
            .arg(operation)
            .arg(date)
            .arg(shift)
            .arg(hours)
            .arg(ok.isNull() ? QStringLiteral("null")
                             : QLatin1Char('\'') + ok + QLatin1Char('\'')));
}

} // namespace sdelka::test
