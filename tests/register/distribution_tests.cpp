#include "catalogs/workers_screens.h"
#include "register/distribution_screens.h"
#include "support/db_fixture.h"
#include "support/screen_helpers.h"

#include <QTest>

using namespace sdelka;
using namespace sdelka::test;

namespace {

QString number(double value) {
    return QLocale().toString(value, 'f', QLocale::FloatingPointShortest);
}

// Ties and near-ties of the kopeck roundings: each rounds once, half to even.
TEST(DistributionRules, RoundHalfToEvenOnTheExactFraction) {
    struct Rate {
        std::int64_t earnings, hours, expected;
    };
    const Rate rates[] = {
        {10000, 10, 1000}, // 100 r. in 10 h
        {25, 2, 12},       // 0.125 r. -> 0.12
        {75, 2, 38},       // 0.375 r. -> 0.38
        {105, 2, 52},      // 0.525 r. -> 0.52
        {107, 2, 54},      // 0.535 r. -> 0.54
        {100, 3, 33},      {200, 3, 67},
    };
    for (const Rate& r : rates)
        EXPECT_EQ(distribution::hourlyEarnings(r.earnings, r.hours), r.expected)
            << r.earnings << "/" << r.hours;

    struct Case {
        std::int64_t sum, time;
        int factor;
        std::int64_t worked, price, total;
    };
    const Case cases[] = {
        {16000, 3000, 12, 8, 640, 5120}, // 6.40 and 51.20
        {16000, 3000, 7, 8, 373, 2987},  // 3.7333.. and 29.8666..: the total is not 8 x 3.73
        {25, 700, 7, 1, 2, 2},           // 0.025 r. an hour -> 0.02
        {15, 1200, 12, 1, 2, 2},         // 0.015 -> 0.02
        {5, 1200, 12, 3, 0, 2},          // 0.005 -> 0.00, three hours 0.015 -> 0.02
        {16000, 3000, 12, 0, 640, 0},
        {16000, 0, 12, 8, 0, 0}, // no hours picked: nothing to share
    };
    for (const Case& c : cases) {
        const auto share = distribution::operatorShare(c.sum, c.time, c.factor, c.worked);
        EXPECT_EQ(share.price, c.price) << c.sum << "/" << c.time << " x" << c.factor;
        EXPECT_EQ(share.total, c.total) << c.sum << "/" << c.time << " x" << c.factor;
    }
    EXPECT_EQ(distribution::kopecksText(5120), "51.20");
    EXPECT_EQ(distribution::kopecksText(7), "0.07");
    EXPECT_EQ(distribution::kopecksText(-1205), "-12.05");
}

class DistributionTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        seedCatalog();
        exec("insert into accounts_dep.vid_oper(id, vid) values (3, 'КРАСКА жидкая');"
             "insert into accounts_dep.oper(id, vid, naimen, i_id, cena_new) values "
             "(1002, 3, 0, 100, 0);"
             "insert into accounts_dep.person(id, fio, s_staffpos_hl) values "
             "(3, 'Сидоров С.С.  ', 'Оператор'), (4, 'Козлов К.К.', 'Подсобный');");
        editor = std::make_unique<TForm2>(*dm_);
        workers = std::make_unique<TForm5>(*dm_, *editor);
        groups = std::make_unique<TForm134>(*dm_);
        form = std::make_unique<TForm33>(*dm_, *workers, *groups);
    }
    void TearDown() override {
        form.reset();
        groups.reset();
        workers.reset();
        editor.reset();
        DbTest::TearDown();
    }

    // A position of the day worth the money (one piece at that price).
    void output(int id, int worker, int operation, int hours, double money, int color = 0,
                int shift = 1, const QDate& date = Day) {
        exec(QString("insert into accounts_dep.smena(id, w_id, i_id, o_id, cena, kol_vo, brak, "
                     "data, smena, color, time, vvod, ok) values (%1, %2, 100, %3, %4, 1, 0, "
                     "'%5', %6, %7, %8, now(), 'no')")
                 .arg(id)
                 .arg(worker)
                 .arg(operation)
                 .arg(money)
                 .arg(date.toString(Qt::ISODate))
                 .arg(shift)
                 .arg(color)
                 .arg(hours));
    }
    // The two groups of the worked examples: 100 r. in 10 h and 60 r. in 20 h.
    void twoGroups() {
        output(1, 1, 1001, 10, 100);
        output(2, 2, 1002, 20, 60);
    }

    void open(DistributionKind kind) {
        form->prepare(kind, Day, 1);
        form->show();
    }
    void chooseOperator(int id) {
        whenModal([this, id](QWidget* list) {
            EXPECT_TRUE(dm_->Workers.locate("id", id)) << id;
            static_cast<TForm5*>(list)->Button2->click();
        });
        form->Button3->click();
    }
    // Adds the group of that worker and operation type through the chooser.
    void addGroup(int worker, int type) {
        whenModal([this, worker, type](QWidget*) {
            DataSet& set = groups->painting;
            for (int r = 1; r <= set.recordCount(); ++r) {
                set.setRecNo(r);
                if (set.field("w_id").toInt() == worker && set.field("v_id").toInt() == type) {
                    groups->Button1->click();
                    return;
                }
            }
            ADD_FAILURE() << "no group " << worker << "/" << type;
            groups->reject();
        });
        form->Button5->click();
    }
    // What the chooser offers: worker, type, colour, earnings and hours of each group.
    QStringList offered() {
        QStringList out;
        whenModal([&](QWidget*) {
            DataSet& set = groups->painting;
            for (int r = 0; r < set.recordCount(); ++r)
                out << QStringList{set.value(r, "p_fio").toString(), set.value(r, "vid").toString(),
                                   set.value(r, "color").toString(),
                                   set.decimal<2>(r, "f_summ").toShortString(QLocale::c()),
                                   set.value(r, "t_time").toString()}
                           .join("|");
            EXPECT_EQ(groups->DBGrid2->model()->rowCount(), set.recordCount());
            groups->Button2->click();
        });
        form->Button5->click();
        return out;
    }
    int scratchRows(const QString& where = "true") {
        return scalar("select count(*) from accounts_dep.painting_temp where " + where).toInt();
    }
    int positionsOf(int worker) {
        return scalar(QString("select count(*) from accounts_dep.smena where w_id=%1").arg(worker))
            .toInt();
    }

    static inline const QDate Day{2024, 3, 5};
    std::unique_ptr<TForm2> editor;
    std::unique_ptr<TForm5> workers;
    std::unique_ptr<TForm134> groups;
    std::unique_ptr<TForm33> form;
};

} // namespace

TEST_F(DistributionTest, WorkedExamplesPayTheOperatorAndWriteHisPosition) {
    twoGroups();
    struct Case {
        DistributionKind kind;
        int operatorId;
        const char* caption;
        double factor;
        double price, total;
        int code;
    };
    const Case cases[] = {
        {DistributionKind::Painting, 3, "Оператор покраски", 1.2, 6.4, 51.2, 7780},
        {DistributionKind::Brigade, 4, "Подсобный рабочий", 0.7, 3.73, 29.87, 7781},
    };
    MessageLog log;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        open(c.kind);
        EXPECT_EQ(form->windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_DOUBLE_EQ(form->ShareFactor, c.factor);
        chooseOperator(c.operatorId);
        addGroup(1, 2);
        addGroup(2, 3);
        EXPECT_EQ(form->painting_temp.recordCount(), 2);
        EXPECT_EQ(form->DBGrid1->model()->rowCount(), 2);
        EXPECT_EQ(form->DBEdit1->text(), number(160));
        EXPECT_EQ(form->DBEdit2->text(), number(30));
        EXPECT_EQ(form->Edit2->text(), "8");
        EXPECT_EQ(form->Label5->text(), number(c.price));
        EXPECT_EQ(form->Label7->text(), number(c.total));

        form->Button1->click();
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(form->result(), QDialog::Accepted);
        EXPECT_EQ(
            rows(QString("select i_id, o_id, color, cena, kol_vo, brak, time, ok, smena, "
                         "data, prize, vvod::date = current_date from accounts_dep.smena "
                         "where w_id=%1")
                     .arg(c.operatorId)),
            QStringList{
                QString("%1|%1|%1|%2|1|0|8|no|1|2024-03-05|0|true").arg(c.code).arg(c.total)});
        EXPECT_EQ(scalar(QString("select d5 from accounts_dep.h_tabel where w_id=%1 and "
                                 "smena=1 and month=3 and year=2024")
                             .arg(c.operatorId))
                      .toInt(),
                  8);
        EXPECT_EQ(scratchRows(), 0);
    }
    EXPECT_TRUE(log.empty()) << log.last().toStdString();
}

TEST_F(DistributionTest, PaintingOffersPaintingTypesAndBrigadeEveryGroupWithHours) {
    output(1, 1, 1000, 5, 50);
    output(2, 1, 1001, 4, 40, 3);
    output(3, 1, 1001, 2, 20, 3); // the same group as the one before
    output(4, 1, 1001, 1, 7, 5);  // another colour, another group
    output(5, 2, 1002, 3, 30);
    output(6, 2, 1000, 0, 99);                        // no hours: never a group
    output(7, 2, 1002, 3, 30, 0, 2);                  // another shift
    output(8, 2, 1002, 3, 30, 0, 1, Day.addDays(-1)); // another day
    const QStringList painting = {"Иванов И.И.|КРАСКА порошковая|3|60|6",
                                  "Иванов И.И.|КРАСКА порошковая|5|7|1",
                                  "Петров П.П.|КРАСКА жидкая|0|30|3"};
    const QStringList brigade = {"Иванов И.И.|Сборка|0|50|5", painting[0], painting[1],
                                 painting[2]};
    const std::pair<DistributionKind, QStringList> cases[] = {
        {DistributionKind::Painting, painting},
        {DistributionKind::Brigade, brigade},
        {DistributionKind::Painting, painting},
    };
    for (const auto& [kind, expected] : cases) {
        open(kind);
        chooseOperator(3);
        EXPECT_EQ(offered(), expected) << int(kind);
        EXPECT_EQ(form->painting_temp.recordCount(), 0);
        form->reject();
    }
}

TEST_F(DistributionTest, ChoosingTheOperatorStartsHisListEmpty) {
    twoGroups();
    open(DistributionKind::Painting);
    EXPECT_FALSE(form->Button5->isEnabled());
    EXPECT_FALSE(form->Button7->isEnabled());
    chooseOperator(3);
    EXPECT_EQ(form->Edit1->text(), "Сидоров С.С.");
    EXPECT_EQ(form->OperatorId, 3);
    EXPECT_TRUE(form->Button5->isEnabled() && form->Button7->isEnabled());
    addGroup(1, 2);
    EXPECT_EQ(form->painting_temp.recordCount(), 1);

    // Leaving the workers list without a choice changes nothing.
    whenModal([](QWidget* list) { static_cast<TForm5*>(list)->Button4->click(); });
    form->Button3->click();
    EXPECT_EQ(form->OperatorId, 3);
    EXPECT_EQ(form->painting_temp.recordCount(), 1);

    chooseOperator(3);
    EXPECT_EQ(form->painting_temp.recordCount(), 0);
    EXPECT_TRUE(form->DBEdit1->text().isEmpty());
    EXPECT_EQ(scratchRows(), 0);

    // Another operator: the first one's rows do not stay behind.
    addGroup(2, 3);
    chooseOperator(4);
    EXPECT_EQ(form->Edit1->text(), "Козлов К.К.");
    EXPECT_EQ(scratchRows(), 0);
    addGroup(2, 3);
    EXPECT_EQ(scratchRows("id_p=4"), 1);
    // The same group again would pay his share of it twice: refused.
    MessageLog log;
    const QString share = form->DBEdit1->text();
    addGroup(2, 3);
    EXPECT_EQ(log.last(), "Эта группа уже есть в списке оператора.");
    EXPECT_EQ(scratchRows("id_p=4"), 1);
    EXPECT_EQ(form->DBEdit1->text(), share);
    addGroup(1, 2);
    EXPECT_EQ(scratchRows("id_p=4"), 2);
}

TEST_F(DistributionTest, EveryWayOfClosingRemovesTheScratchRowsAndTheNextOpeningStartsBare) {
    twoGroups();
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"Выход", [this] { form->Button2->click(); }},
        {"Escape", [this] { QTest::keyClick(form.get(), Qt::Key_Escape); }},
        {"window close", [this] { form->close(); }},
    };
    for (const auto& [way, close] : ways) {
        SCOPED_TRACE(way);
        open(DistributionKind::Brigade);
        EXPECT_TRUE(form->Edit1->text().isEmpty());
        EXPECT_EQ(form->OperatorId, 0);
        EXPECT_FALSE(form->painting_temp.isOpen());
        EXPECT_TRUE(form->DBEdit1->text().isEmpty());
        chooseOperator(3);
        addGroup(1, 2);
        ASSERT_EQ(scratchRows(), 1);
        close();
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(scratchRows(), 0);
        EXPECT_EQ(positionsOf(3), 0);
    }
}

TEST_F(DistributionTest, TheTotalFollowsTheHoursIntoTheSavedPosition) {
    twoGroups();
    MessageLog log;
    open(DistributionKind::Painting);
    chooseOperator(3);
    addGroup(1, 2);
    addGroup(2, 3);
    ASSERT_EQ(form->Label7->text(), number(51.2));

    form->Edit2->selectAll();
    typeText(form->Edit2, "5ч,");
    EXPECT_EQ(form->Edit2->text(), "5");
    EXPECT_EQ(form->Label5->text(), number(6.4));
    EXPECT_EQ(form->Label7->text(), number(32));

    // No hours: nothing is written and the dialog stays.
    form->Edit2->selectAll();
    QTest::keyClick(form->Edit2, Qt::Key_Backspace);
    form->Button1->click();
    EXPECT_EQ(log.last(), "Все поля должны быть заполнены!");
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(positionsOf(3), 0);

    typeText(form->Edit2, "12");
    EXPECT_EQ(form->Label7->text(), number(76.8));
    form->Button1->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(rows("select cena, time from accounts_dep.smena where w_id=3"),
              QStringList{"76.8|12"});
    EXPECT_EQ(scalar("select d5 from accounts_dep.h_tabel where w_id=3 and smena=1").toInt(), 12);
}

TEST_F(DistributionTest, SaveWithoutAnOperatorOrWithoutGroupsWritesNothing) {
    twoGroups();
    MessageLog log;
    open(DistributionKind::Painting);
    form->Button1->click();
    ASSERT_EQ(log.boxes().size(), 1u);
    EXPECT_EQ(log.last(), "Не выбран работник!");
    EXPECT_EQ(log.boxes()[0].kind, MessageKind::Error);
    EXPECT_TRUE(form->isVisible());

    chooseOperator(3);
    form->Button1->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(log.boxes().size(), 1u);
    EXPECT_EQ(scalar("select count(*) from accounts_dep.smena").toInt(), 2);
    EXPECT_EQ(scalar("select count(*) from accounts_dep.h_tabel").toInt(), 0);
}

TEST_F(DistributionTest, RemovingAGroupAsksAndTheShareFollowsTheGroupsLeft) {
    twoGroups();
    MessageLog log;
    open(DistributionKind::Painting);
    chooseOperator(3);
    addGroup(1, 2);
    addGroup(2, 3);
    ASSERT_TRUE(form->painting_temp.locate("w_fio", "Петров П.П."));
    log.answer({Answer::No});
    form->Button7->click();
    ASSERT_EQ(log.boxes().size(), 1u);
    EXPECT_EQ(log.boxes()[0].text, "Удалить позицию из списка?");
    EXPECT_EQ(log.boxes()[0].caption, "Удаление");
    EXPECT_EQ(log.boxes()[0].kind, MessageKind::Question);
    EXPECT_EQ(scratchRows(), 2);

    ASSERT_TRUE(form->painting_temp.locate("w_fio", "Петров П.П."));
    form->Button7->click();
    EXPECT_EQ(rows("select id_w from accounts_dep.painting_temp"), QStringList{"1"});
    EXPECT_EQ(form->DBEdit1->text(), number(100));
    EXPECT_EQ(form->DBEdit2->text(), number(10));
    EXPECT_EQ(form->Label5->text(), number(12));
    EXPECT_EQ(form->Label7->text(), number(96));
}

TEST_F(DistributionTest, RefusedWritesLeaveTheDatabaseAsItWas) {
    twoGroups();
    MessageLog log;
    open(DistributionKind::Painting);
    chooseOperator(3);

    // A scratch row the database refuses: said so, and the list shows what it holds.
    exec("alter table accounts_dep.painting_temp add constraint short check (f_time < 15)");
    addGroup(2, 3);
    ASSERT_EQ(log.boxes().size(), 1u);
    EXPECT_EQ(log.last(), "Невозможно сохранить данные в БД!");
    EXPECT_EQ(log.boxes()[0].caption, "Ошибка");
    EXPECT_TRUE(form->painting_temp.isOpen());
    EXPECT_EQ(form->painting_temp.recordCount(), 0);
    addGroup(1, 2);
    EXPECT_EQ(form->painting_temp.recordCount(), 1);
    EXPECT_EQ(form->Label7->text(), number(96));

    // The ledger refuses the day: neither the position nor the end of the list stands.
    exec("create function accounts_dep.refuse() returns trigger language plpgsql as "
         "$$begin raise exception 'ledger closed'; end$$;"
         "create trigger refuse before insert on accounts_dep.h_tabel for each row execute "
         "function accounts_dep.refuse()");
    form->Button1->click();
    EXPECT_TRUE(log.last().contains("ledger closed")) << log.last().toStdString();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(positionsOf(3), 0);
    EXPECT_EQ(scratchRows("id_p=3"), 1);

    exec("drop trigger refuse on accounts_dep.h_tabel");
    form->Button1->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(rows("select cena, time from accounts_dep.smena where w_id=3"), QStringList{"96|8"});
    EXPECT_EQ(scratchRows(), 0);
}
