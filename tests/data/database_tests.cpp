#include "support/db_fixture.h"

#include <QDate>

using namespace sdelka;
using namespace sdelka::test;

using DatabaseTest = DbTest;

TEST_F(DatabaseTest, RefusedStatementInsideATransactionLeavesNothing) {
    seedCatalog();
    const QString insert = "insert into accounts_dep.person(fio, s_staffpos_hl) values (:fio, '')";
    try {
        Transaction tx(*db_);
        dm_->execute(dm_->SQL_exec, insert, {{"fio", "Новиков Н.Н."}});
        dm_->execute(dm_->SQL_exec, "update accounts_dep.person set id = 'x' where fio=:fio",
                     {{"fio", "Новиков Н.Н."}});
        tx.commit();
        FAIL() << "the second statement must be refused";
    } catch (const DatabaseError& e) {
        EXPECT_FALSE(e.text().isEmpty());
    }
    EXPECT_EQ(scalar("select count(*) from accounts_dep.person where fio='Новиков Н.Н.'").toInt(),
              0);
    // The connection is usable afterwards and a committed transaction stays.
    {
        Transaction tx(*db_);
        dm_->execute(dm_->SQL_exec, insert, {{"fio", "Новиков Н.Н."}});
        tx.commit();
    }
    EXPECT_EQ(scalar("select count(*) from accounts_dep.person where fio='Новиков Н.Н.'").toInt(),
              1);
}

TEST_F(DatabaseTest, TextsWithQuotesAndBackslashesAreStoredAsTyped) {
    const QStringList names = {"О'Брайен", "a\\b'; drop table accounts_dep.person; --",
                               "\"Кавычки\" :fio %_", "''"};
    for (const QString& name : names) {
        dm_->execute(dm_->SQL_exec,
                     "insert into accounts_dep.person(fio, s_staffpos_hl) values (:fio, :pos)",
                     {{"fio", name}, {"pos", name}});
        EXPECT_EQ(dm_->readInt("select count(*) cnt from accounts_dep.person where fio=:fio and "
                               "s_staffpos_hl=:fio",
                               "cnt", {{"FIO", name}}),
                  1)
            << name.toStdString();
    }
    EXPECT_EQ(scalar("select count(*) from accounts_dep.person").toInt(), names.size());
}

TEST_F(DatabaseTest, DateTextsReadAsDayMonthYearWhateverTheServerDefault) {
    exec(QString("alter database %1 set datestyle = 'SQL, MDY'").arg(dbName_));
    Database other(QStringLiteral("other"));
    other.open(settings());
    TDataModule6 dm(other);
    EXPECT_EQ(dm.readInt("select extract(month from '01.3.2024'::date) m", "m"), 3);
    EXPECT_EQ(dm.readInt("select extract(day from to_date('01.3.2024', 'DD.MM.YYYY')) d", "d"), 1);
}

TEST_F(DatabaseTest, LostConnectionShowsTheDriverTextThenReconnects) {
    seedCatalog();
    const QString count = "select count(*) cnt from accounts_dep.person";
    EXPECT_EQ(dm_->readInt(count, "cnt"), 2);
    const int generation = db_->generation();
    exec("select pg_terminate_backend(pid) from pg_stat_activity where application_name='sdelka' "
         "and datname=current_database()");
    try {
        dm_->readInt(count, "cnt");
        FAIL() << "the lost connection must be reported";
    } catch (const DatabaseError& e) {
        EXPECT_FALSE(e.text().trimmed().isEmpty());
    }
    EXPECT_EQ(dm_->readInt(count, "cnt"), 2);
    EXPECT_GT(db_->generation(), generation);
    // Prepared data sets are prepared again on the new connection.
    dm_->Workers.reopen();
    EXPECT_EQ(dm_->Workers.recordCount(), 2);
}

TEST_F(DatabaseTest, DataSetFilterLocateAndRowNumbers) {
    seedCatalog();
    exec("insert into accounts_dep.person(id, fio, s_staffpos_hl) values (3, 'Сидоров С.С.', "
         "'Маляр')");
    DataSet& w = dm_->Workers;
    w.open();
    EXPECT_EQ(w.recordCount(), 3);
    EXPECT_EQ(w.recNo(), 1);
    EXPECT_TRUE(w.locate("FIO", "Сидоров С.С."));
    EXPECT_EQ(w.recNo(), 3);
    EXPECT_EQ(w.field("id").toInt(), 3);
    w.setFilter([](const RowView& r) { return r["s_staffpos_hl"].toString() == "Маляр"; });
    w.setFiltered(true);
    EXPECT_EQ(w.recordCount(), 2);
    EXPECT_FALSE(w.locate("fio", "Иванов И.И."));
    w.setFiltered(false);
    EXPECT_EQ(w.recordCount(), 3);
    // A snapshot: new rows show only after the set is opened again.
    exec("insert into accounts_dep.person(id, fio, s_staffpos_hl) values (4, 'Юрьев Ю.Ю.', '')");
    EXPECT_EQ(w.recordCount(), 3);
    w.reopen();
    EXPECT_EQ(w.recordCount(), 4);
    w.setRecNo(99);
    EXPECT_EQ(w.recNo(), 4);
    w.close();
    EXPECT_EQ(w.recNo(), 0);
    EXPECT_FALSE(w.field("fio").isValid());

    // A carrier given a new text forgets the values of the old one; the same text keeps them.
    DataSet& c = dm_->Control;
    c.setSql("select count(*) cnt from accounts_dep.person where id=:id");
    c.setParam("id", 3);
    c.setSql("select count(*) cnt from accounts_dep.person where id=:id");
    EXPECT_EQ(c.param("id").toInt(), 3);
    c.setSql("select count(*) cnt from accounts_dep.person where id<>:id");
    EXPECT_FALSE(c.param("id").isValid());
}
