#include "catalogs/operation_statements.h"
#include "data/statements.h"
#include "support/db_fixture.h"

#include <QDate>
#include <QFile>

using namespace sdelka;
using namespace sdelka::test;

class DataModuleTest : public DbTest {
protected:
    QStringList list(int shift, const QString& day, const QString& hidden = "ta") {
        DataSet& set = dm_->shiftList(shift);
        set.close();
        set.setParam("DATA", QDate::fromString(day, "dd.MM.yyyy"));
        set.setParam("OK", hidden);
        set.open();
        QStringList out;
        for (int r = 0; r < set.recordCount(); ++r)
            out << QString("%1:%2:%3")
                       .arg(set.value(r, "id").toInt())
                       .arg(set.value(r, "fio").toString(), set.value(r, "ok").toString());
        return out;
    }
};

TEST_F(DataModuleTest, EveryStatementRunsAgainstTheSchema) {
    seedCatalog();
    addPosition(1, 1, 1, "2026-12-01", "no");
    exec("insert into accounts_dep.h_tabel(w_id, month, year, smena, d1) values (1, 12, 2026, 1, "
         "8)");
    for (int shift = 1; shift <= 4; ++shift) {
        DataSet& s = dm_->shiftList(shift);
        s.setParam("data", QDate(2026, 12, 1));
        s.setParam("ok", "ta");
        ASSERT_NO_THROW(s.open()) << shift;
        EXPECT_GE(s.fieldIndex("summa"), 0);
        EXPECT_EQ(s.recordCount(), shift == 1 ? 1 : 0);
    }
    for (DataSet* set : {&dm_->Workers, &dm_->Izdel, &dm_->Oper, &dm_->Vid_oper})
        ASSERT_NO_THROW(set->open()) << set->name().toStdString();
    EXPECT_EQ(dm_->Workers.recordCount(), 2);
    // Only operations with norms are offered, at their lowest price.
    ASSERT_TRUE(dm_->Oper.locate("id", 1000));
    EXPECT_EQ(dm_->Oper.field("norma").toInt(), 2);
    EXPECT_DOUBLE_EQ(dm_->Oper.field("cena").toDouble(), 4.5);
    int shift = 1;
    for (DataSet* set : {&dm_->H_Tabel_1, &dm_->H_Tabel_2, &dm_->H_Tabel_3}) {
        set->setParam("mnth", 12);
        set->setParam("yea", 2026);
        set->setParam("date1", QDate(2026, 12, 1));
        set->setParam("date2", QDate(2027, 1, 1));
        ASSERT_NO_THROW(set->open()) << set->name().toStdString();
        EXPECT_EQ(set->recordCount(), shift++ == 1 ? 1 : 0);
    }
    dm_->H_Tabel_1.first();
    EXPECT_EQ(dm_->H_Tabel_1.field("summ").toInt(), 8);
    EXPECT_DOUBLE_EQ(dm_->H_Tabel_1.field("cena_all").toDouble(), 22.5);
    EXPECT_DOUBLE_EQ(dm_->H_Tabel_1.field("average_price").toDouble(), 2.81);

    // The operation carriers with the statements the operation editor gives them.
    dm_->Oper_ins.setSql(sql::InsertOperation);
    dm_->Oper_ins.setParam("vid", 10);
    dm_->Oper_ins.setParam("naimen", 0);
    dm_->Oper_ins.setParam("i_id", 100);
    const int added = dm_->Oper_ins.executeReturning("id").toInt();
    ASSERT_GT(added, 0);
    EXPECT_EQ(
        scalar(QString("select cena_new from accounts_dep.oper where id=%1").arg(added)).toDouble(),
        0);
    EXPECT_EQ(dm_->execute(dm_->Oper_ed, sql::UpdateOperation,
                           {{"vid", 2}, {"naimen", 1}, {"i_id", 100}, {"id", added}}),
              1);
    EXPECT_EQ(
        scalar(QString("select vid||'/'||naimen from accounts_dep.oper where id=%1").arg(added))
            .toString(),
        "2/1");
    dm_->Oper_del.setParam("id", added);
    EXPECT_EQ(dm_->Oper_del.execute(), 1);
}

TEST_F(DataModuleTest, ShiftListsHideOnlyTheHiddenMarkAndNullMarks) {
    seedCatalog();
    addPosition(1, 1, 2, "2026-12-01", "no");
    addPosition(2, 1, 2, "2026-12-01", "ok");
    addPosition(3, 1, 2, "2026-12-01", "да");
    addPosition(4, 1, 2, "2026-12-01", "ta");
    addPosition(5, 1, 2, "2026-12-01", QString());
    addPosition(6, 1, 2, "2026-12-01", "");
    addPosition(7, 1, 2, "2026-12-02", "no");
    addPosition(8, 1, 3, "2026-12-01", "no");
    QStringList ids;
    for (const QString& row : list(2, "01.12.2026"))
        ids << row.section(':', 0, 0);
    ids.sort();
    EXPECT_EQ(ids.join(','), "1,2,3,6");
    EXPECT_EQ(list(2, "01.12.2026", "ok").size(), 4); // "ta" shows when another mark is hidden
}

TEST_F(DataModuleTest, ShiftListsJoinWorkersByIdOrCodeAndDropUnmatchedPositions) {
    seedCatalog();
    // A second person whose personnel code names worker 1.
    exec("insert into cmn_contractor.person(id, s_caption, s_code) values (900, 'Двойник', '1')");
    addPosition(1, 1, 2, "2026-12-01", "no");
    addPosition(2, 2, 2, "2026-12-01", "no", 8, 999);      // no such product
    addPosition(3, 2, 2, "2026-12-01", "no", 8, 100, 999); // no such operation
    exec("insert into accounts_dep.oper(id, vid, naimen, i_id) values (1002, 99, 0, 100)");
    addPosition(4, 2, 2, "2026-12-01", "no", 8, 100, 1002); // no such operation type
    addPosition(5, 3, 2, "2026-12-01", "no");               // no such worker
    // Other software writes personnel codes that are no numbers: such a person is stored
    // (the index takes him) and matches nobody, and every list still opens.
    exec("insert into cmn_contractor.person(id, s_caption, s_code) values (901, 'Код буквами', "
         "'АБ-7'), (902, 'Длинный код', '12345678901234567890'), (903, 'Без кода', null)");
    EXPECT_EQ(list(2, "01.12.2026"), QStringList({"1:Двойник:no", "1:Иванов И.И.:no"}));
    exec("insert into accounts_dep.h_tabel(w_id, month, year, smena, d1) values (1, 12, 2026, 2, "
         "8)");
    DataSet& ledger = dm_->H_Tabel_2;
    ledger.setParam("mnth", 12);
    ledger.setParam("yea", 2026);
    ledger.setParam("date1", QDate(2026, 12, 1));
    ledger.setParam("date2", QDate(2027, 1, 1));
    ASSERT_NO_THROW(ledger.open());
    EXPECT_EQ(ledger.recordCount(), 2); // worker 1 by his own code and by his double's
}

TEST_F(DataModuleTest, ThePersonCodeIndexIsBuiltOnTheStatementsOwnExpression) {
    QFile file(QString::fromLocal8Bit(qgetenv("SDELKA_SCHEMA_DIR")) + "/indexes.sql");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString indexes = QString::fromUtf8(file.readAll());
    const QString expression = QString(SDELKA_PERSON_CODE_ID).remove("person.");
    EXPECT_TRUE(
        indexes.contains("person_code_id_idx ON cmn_contractor.person\n  (" + expression + ")"))
        << expression.toStdString();
    // The planner takes the index for the lists' condition.
    exec("set enable_seqscan = off");
    const QStringList plan = rows(
        "explain select * from cmn_contractor.person person where " SDELKA_PERSON_CODE_ID " = 5");
    EXPECT_TRUE(plan.join('\n').contains("person_code_id_idx")) << plan.join('\n').toStdString();
}

TEST_F(DataModuleTest, ShiftOneSortsByWorkerProductTypeKindAndColour) {
    seedCatalog();
    exec("insert into cmn_gds_and_srv.gds_and_srv(id, s_caption, s_description, id_msm_bs, massa, "
         "id_class_item) values (101, 'Комод К-2', '', 6, 1, 50)");
    exec("insert into accounts_dep.oper(id, vid, naimen, i_id) values (1003, 10, 0, 101)");
    addPosition(1, 2, 1, "2026-12-01", "no");
    addPosition(2, 1, 1, "2026-12-01", "no", 8, 100, 1001);
    addPosition(3, 1, 1, "2026-12-01", "no", 8, 100, 1000);
    addPosition(4, 1, 1, "2026-12-01", "no", 8, 101, 1003);
    exec("update accounts_dep.smena set color=5 where id=2");
    addPosition(5, 1, 1, "2026-12-01", "no", 8, 100, 1001);
    // Иванов first; his products by mark; on "Стол" the type "КРАСКА…" before "Сборка"; then
    // colour.
    QStringList ids;
    for (const QString& row : list(1, "01.12.2026"))
        ids << row.section(':', 0, 0);
    EXPECT_EQ(ids.join(','), "4,5,2,3,1");
    // Shift 2 orders by worker alone.
    addPosition(6, 2, 2, "2026-12-01", "no");
    addPosition(7, 1, 2, "2026-12-01", "no");
    EXPECT_EQ(list(2, "01.12.2026"), QStringList({"7:Иванов И.И.:no", "6:Петров П.П.:no"}));
}

TEST_F(DataModuleTest, ScalarReadsAndCheckExists) {
    seedCatalog();
    QStringList reported;
    dm_->setReporter([&](const QString& t) { reported << t; });
    EXPECT_EQ(dm_->readInt("select sum(time) s from accounts_dep.smena where w_id=:w group by w_id",
                           "s", {{"w", 1}}),
              0); // grouped sum without rows
    EXPECT_EQ(dm_->readInt("select null::integer as s", "s"), 0);
    addPosition(1, 1, 1, "2026-12-01", "no", 7);
    addPosition(2, 1, 1, "2026-12-01", "no", 5);
    EXPECT_EQ(
        dm_->readInt("select sum(time) s from accounts_dep.smena where w_id=:W", "S", {{"w", 1}}),
        12);

    const QString count = "select count(*) cnt from accounts_dep.person where fio=:fio";
    EXPECT_FALSE(dm_->CheckExists(count, {{"fio", "Сидоров С.С."}}, "Уже есть"));
    EXPECT_TRUE(reported.isEmpty());
    EXPECT_TRUE(dm_->CheckExists(count, {{"fio", "Иванов И.И."}}, "Уже есть"));
    EXPECT_EQ(reported, QStringList{"Уже есть"});
    EXPECT_FALSE(dm_->Control.isOpen());
}
