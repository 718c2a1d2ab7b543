#include "bench_data.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <map>
#include <stdexcept>

namespace sdelka::bench {

QString benchHost() {
    return qEnvironmentVariable("SDELKA_BENCH_HOST");
}

namespace {
std::map<QString, std::unique_ptr<BenchDatabase>>& registry() {
    static std::map<QString, std::unique_ptr<BenchDatabase>> databases;
    return databases;
}
} // namespace

BenchDatabase& benchDatabase(const QString& name, const std::function<void(BenchDatabase&)>& fill) {
    auto& slot = registry()[name];
    if (!slot) {
        slot = std::make_unique<BenchDatabase>(name);
        fill(*slot);
    }
    return *slot;
}

void releaseBenchDatabases() {
    registry().clear();
}

namespace {

void superuserExec(const QString& database, const QString& sql) {
    const QString name = QStringLiteral("bench-admin-") + database;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(benchHost());
        db.setUserName(QStringLiteral("postgres"));
        db.setDatabaseName(database);
        if (!db.open())
            throw std::runtime_error(db.lastError().text().toStdString());
        QSqlQuery q(db);
        if (!q.exec(sql))
            throw std::runtime_error(
                (sql + QStringLiteral(": ") + q.lastError().text()).toStdString());
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

BenchDatabase::BenchDatabase(const QString& name) : name_(name) {
    superuserExec(QStringLiteral("postgres"),
                  QStringLiteral("drop database if exists %1 with (force)").arg(name));
    superuserExec(QStringLiteral("postgres"),
                  QStringLiteral("create database %1 template %2")
                      .arg(name, qEnvironmentVariable("SDELKA_BENCH_TEMPLATE",
                                                      QStringLiteral("sdelka_template"))));
    db_ = std::make_unique<Database>(QStringLiteral("bench-") + name);
    ConnectionSettings s;
    s.database = name;
    s.server = benchHost();
    db_->open(s);
    dm_ = std::make_unique<TDataModule6>(*db_);
}

BenchDatabase::~BenchDatabase() {
    dm_.reset();
    db_.reset();
    superuserExec(QStringLiteral("postgres"),
                  QStringLiteral("drop database if exists %1 with (force)").arg(name_));
}

void BenchDatabase::exec(const QString& sql) {
    superuserExec(name_, sql);
}

void BenchDatabase::seedCatalog(int workers) {
    exec(QStringLiteral(
             "insert into cmn_classifier.item(id, id_level, s_code, s_caption, b_excluded) values "
             "(50, 2, '50', 'Мебель', 0);"
             "insert into accounts_dep.person(id, fio, s_staffpos_hl) select g, 'Рабочий ' || g, "
             "'Сборщик' from generate_series(1, %1) g;"
             "insert into cmn_gds_and_srv.gds_and_srv(id, s_caption, s_description, id_msm_bs, "
             "massa, id_class_item) select g, 'Изделие ' || g, '', 6, 1, 50 "
             "from generate_series(1, 40) g;"
             "insert into accounts_dep.vid_oper(id, vid) select g, 'Операция ' || g "
             "from generate_series(1, 8) g;"
             "insert into accounts_dep.oper(id, vid, naimen, i_id, cena_new) "
             "select p * 10 + v, v, v % 2, p, 1 from generate_series(1, 40) p, "
             "generate_series(1, 8) v;"
             "insert into accounts_dep.norm(o_id, norma, prize, price) "
             "select id, 10, 0, 1 + id % 7 from accounts_dep.oper where id < 7777;")
             .arg(workers));
}

void BenchDatabase::addDays(const QDate& lastDay, int days, int perDay) {
    exec(QStringLiteral(
             "insert into accounts_dep.smena(w_id, i_id, o_id, cena, kol_vo, brak, data, smena, "
             "color, time, vvod, ok, prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, "
             "id_cons_use) "
             "select 1 + (n * 7) % 300, p, p * 10 + 1 + n % 8, 2.5, 10, 0, d, 1 + n % 4, 0, "
             "1 + n % 8, d, case when n % 3 = 0 then 'ok' else 'no' end, 0, 0, 0, 0, 0, 0 "
             "from generate_series(date '%1' - %2 + 1, date '%1', interval '1 day') d, "
             "generate_series(1, %3) n, lateral (select 1 + n % 40 as p) prod "
             // Positions are entered day by day, so a day's rows lie together in the table.
             "order by d, n;"
             "analyze accounts_dep.smena;")
             .arg(lastDay.toString(Qt::ISODate))
             .arg(days)
             .arg(perDay));
}

void BenchDatabase::addMonth(int month, int year, int workers) {
    exec(QStringLiteral(
             "insert into accounts_dep.smena(w_id, i_id, o_id, cena, kol_vo, brak, data, smena, "
             "color, time, vvod, ok, prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, "
             "id_cons_use) "
             "select w, 1 + w % 40, (1 + w % 40) * 10 + 1, 2.5, 10, 0, d, s, 0, 1 + (w + s) % 8, "
             "d, 'no', 0, 0, 0, 0, 0, 0 "
             "from generate_series(make_date(%2, %1, 1), make_date(%2, %1, 1) + interval '1 month' "
             "- interval '1 day', interval '1 day') d, generate_series(1, %3) w, "
             "generate_series(1, 4) s where extract(isodow from d) < 6 "
             "and d < make_date(%2, %1, 1) + 31 and "
             "(select count(*) from generate_series(make_date(%2, %1, 1), d, interval '1 day') x "
             "where extract(isodow from x) < 6) <= 22;"
             "analyze accounts_dep.smena;")
             .arg(month)
             .arg(year)
             .arg(workers));
}

} // namespace sdelka::bench
