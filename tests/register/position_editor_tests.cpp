#include "catalogs/operations_screens.h"
#include "catalogs/workers_screens.h"
#include "core/position_rules.h"
#include "positions/hours_ledger.h"
#include "register/position_editor.h"
#include "register/value_dialog.h"
#include "support/db_fixture.h"
#include "support/screen_helpers.h"

#include <QTest>

using namespace sdelka;
using namespace sdelka::test;

namespace {

const QDate Day(2026, 12, 8);

class PositionEditorTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        seedCatalog();
        exec("insert into accounts_dep.person(id, fio, s_staffpos_hl) values (3, 'Сидоров С.С.', "
             "'Подсобник')");
        workerEditor = std::make_unique<TForm2>(*dm_);
        workers = std::make_unique<TForm5>(*dm_, *workerEditor);
        norms = std::make_unique<TForm22>(*dm_);
        operationEditor = std::make_unique<TForm10>(*dm_);
        operations = std::make_unique<TForm4>(*dm_, *operationEditor, *norms, writer);
        hours = std::make_unique<TForm132>();
        editor = std::make_unique<TForm11>(*dm_, *workers, *operations, *hours);
        dm_->setShiftParams(Day, "ta");
        for (int s = 1; s <= 4; ++s)
            dm_->shiftList(s).open();
    }
    void TearDown() override {
        editor.reset();
        hours.reset();
        operations.reset();
        operationEditor.reset();
        norms.reset();
        workers.reset();
        workerEditor.reset();
        DbTest::TearDown();
    }
    // Shows the editor afresh, as the register does after preparing it.
    void activate() {
        editor->hide();
        editor->show();
    }
    RegisterContext context(int shift = 1, bool dayOff = false) {
        return {Day, shift, dayOff, &dm_->shiftList(shift)};
    }
    // Fills the editor as if the worker and the operation had been picked.
    void fill(int worker, const QString& name, int operation, const QString& description,
              const char* price, const QString& pieces, const QString& hoursText,
              const QString& colour = {}) {
        editor->WorkerId = worker;
        editor->Edit1->setText(name);
        editor->OperationId = operation;
        editor->ProductId = 100;
        editor->Edit2->setText(description);
        editor->Price = *Price::parse(QString(price));
        editor->Edit3->setText(pieces);
        editor->Edit6->setText(hoursText);
        editor->Edit5->setEnabled(true);
        editor->Edit5->setText(colour);
    }
    QStringList positions() {
        return rows(
            "select w_id||'/'||o_id||'/'||cena||'/'||kol_vo||'/'||brak||'/'||time||'/'||color"
            "||'/'||smena||'/'||ok from accounts_dep.smena order by id");
    }
    QString ledger(int worker, int shift, int day) {
        return scalar(QString("select d%1 from accounts_dep.h_tabel where w_id=%2 and smena=%3")
                          .arg(day)
                          .arg(worker)
                          .arg(shift))
            .toString();
    }

    SpreadsheetWriter writer;
    std::unique_ptr<TForm2> workerEditor;
    std::unique_ptr<TForm5> workers;
    std::unique_ptr<TForm22> norms;
    std::unique_ptr<TForm10> operationEditor;
    std::unique_ptr<TForm4> operations;
    std::unique_ptr<TForm132> hours;
    std::unique_ptr<TForm11> editor;
};

} // namespace

TEST_F(PositionEditorTest, PickersPriceTheOperationAndTheSaveWritesPositionAndLedger) {
    MessageLog log;
    editor->prepareAdd(context(4, true));
    whenModal([this](QWidget* w) {
        ASSERT_EQ(w, workers.get());
        typeText(workers->Edit1, "Пет");
        workers->Button2->click();
    });
    editor->Button3->click();
    EXPECT_EQ(editor->Edit1->text(), "Петров П.П.");
    EXPECT_EQ(editor->WorkerId, 2);
    whenModal([this](QWidget* w) {
        ASSERT_EQ(w, operations.get());
        dm_->Oper.locate("id", 1001);
        operations->Button2->click();
    });
    editor->Button4->click();
    // Base 7, doubled on a day off, and half again in overtime.
    EXPECT_EQ(editor->Price, Price::fromInt(21));
    EXPECT_EQ(editor->Edit2->text(), "Стол СТ-1; КРАСКА порошковая; Заготовки");
    EXPECT_TRUE(editor->Edit5->isEnabled());
    editor->Edit3->clear();
    typeText(editor->Edit3, "12x");
    typeText(editor->Edit6, "7");
    editor->recompute();
    EXPECT_EQ(editor->Edit3->text(), "12");
    EXPECT_EQ(editor->Edit9->text(), shownNumber(Price::fromInt(252)));
    EXPECT_EQ(editor->Edit8->text(), shownNumber(Price::fromInt(7)));

    editor->Button1->click();
    EXPECT_EQ(log.last(), "Все поля должны быть заполнены!"); // painting needs a colour
    typeText(editor->Edit5, "15");
    editor->Button1->click();
    EXPECT_EQ(positions(), QStringList{"2/1001/21/12/0/7/15/4/no"});
    EXPECT_EQ(ledger(2, 4, 8), "7");
    EXPECT_GT(editor->PositionId, 0);
    EXPECT_FALSE(editor->Button1->isEnabled());
    EXPECT_TRUE(editor->CheckBox1->isEnabled());
    EXPECT_EQ(dm_->Smena4.recordCount(), 1);
}

TEST_F(PositionEditorTest, ChecksInOrderAndRefusesDuplicatesAndExcessRejects) {
    MessageLog log;
    editor->prepareAdd(context());
    editor->Button1->click();
    EXPECT_EQ(log.last(), "Все поля должны быть заполнены!");
    fill(1, "Иванов И.И.", 1000, "Стол СТ-1; Сборка; Готовая продукция", "4.5", "10", "8");
    editor->Edit4->setText("11");
    editor->Button1->click();
    EXPECT_EQ(log.last(), "Брак не может быть больше количества.");
    EXPECT_TRUE(positions().isEmpty());
    // A colour typed before a non-painting operation was chosen is not written.
    editor->Edit4->setText("1");
    editor->Edit5->setText("9");
    editor->Button1->click();
    EXPECT_EQ(positions(), QStringList{"1/1000/4.5/10/1/8/0/1/no"});

    // Painting positions differing only in colour are both taken; a third of the same colour
    // is refused.
    const std::pair<const char*, bool> colours[] = {{"3", true}, {"4", true}, {"3", false}};
    for (const auto& [colour, taken] : colours) {
        editor->startNew();
        fill(1, "Иванов И.И.", 1001, "Стол СТ-1; КРАСКА порошковая; Заготовки", "7", "2", "1",
             colour);
        log.clear();
        editor->Button1->click();
        EXPECT_EQ(log.empty(), taken) << colour;
    }
    EXPECT_EQ(log.last(), "Позиция с такими параметрами уже заведена!");
    EXPECT_EQ(positions().size(), 3);
    EXPECT_EQ(ledger(1, 1, 8), "10");
}

TEST_F(PositionEditorTest, ChangeCopyAndAMoveToAnotherDayKeepTheLedgerInStep) {
    MessageLog log;
    addPosition(1, 1, 1, Day.toString(Qt::ISODate), "ok", 6);
    addPosition(2, 1, 1, Day.toString(Qt::ISODate), "no", 2, 100, 1001);
    HoursLedger(*dm_).updateDay(1, 1, Day);
    dm_->Smena1.reopen();
    ASSERT_TRUE(dm_->Smena1.locate("id", 1));

    // Saved unchanged: accepted, its own row is not a duplicate; the mark stays.
    editor->prepareChange(context());
    EXPECT_EQ(editor->Edit1->text(), "Иванов И.И.");
    EXPECT_EQ(editor->Edit3->text(), "10");
    EXPECT_FALSE(editor->Edit5->isEnabled());
    editor->Button1->click();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(scalar("select ok from accounts_dep.smena where id=1").toString(), "ok");

    // A copy saved unchanged is a duplicate; on another day it is a new position.
    dm_->Smena1.locate("id", 1);
    editor->prepareCopy(context());
    activate();
    editor->Button1->click();
    EXPECT_EQ(log.last(), "Позиция с такими параметрами уже заведена!");
    editor->DTimeP->setDate(Day.addDays(1));
    editor->Button1->click();
    EXPECT_EQ(scalar("select count(*) from accounts_dep.smena").toInt(), 3);
    EXPECT_EQ(ledger(1, 1, 9), "6");

    // Moving the first position to the 10th: the 8th keeps only the other position's hours.
    dm_->Smena1.reopen();
    dm_->Smena1.locate("id", 1);
    editor->prepareChange(context());
    activate();
    editor->DTimeP->setDate(Day.addDays(2));
    editor->Button1->click();
    EXPECT_EQ(ledger(1, 1, 8), "2");
    EXPECT_EQ(ledger(1, 1, 10), "6");
}

TEST_F(PositionEditorTest, AFractionOfAPieceIsShownAndKeptExactlyUntilRetyped) {
    MessageLog log;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    addPosition(1, 1, 1, Day.toString(Qt::ISODate), "no", 6);
    exec("update accounts_dep.smena set kol_vo = 2.5, cena = 0.1667 where id = 1");
    dm_->Smena1.reopen();
    ASSERT_TRUE(dm_->Smena1.locate("id", 1));
    const QString base = QLocale().toString(
        scalar("select min(price) from accounts_dep.norm where o_id = 1000").toDouble());

    // Changed without touching the box: the pieces stay as stored, the sum follows them.
    for (TForm11::Mode mode : {TForm11::Mode::Change, TForm11::Mode::Copy}) {
        if (mode == TForm11::Mode::Copy)
            editor->prepareCopy(context());
        else
            editor->prepareChange(context());
        activate();
        EXPECT_EQ(editor->Edit3->text(), "2,5");
        EXPECT_EQ(editor->Edit8->text(), base) << "the operation's base price";
        EXPECT_EQ(editor->Edit9->text(), "0,4168");
        editor->recompute(); // leaving the box changes nothing
        EXPECT_EQ(editor->Edit9->text(), "0,4168");
        if (mode == TForm11::Mode::Copy)
            editor->DTimeP->setDate(Day.addDays(1));
        editor->Button1->click();
        EXPECT_TRUE(log.empty()) << log.last().toStdString();
    }
    EXPECT_EQ(rows("select kol_vo||'/'||cena from accounts_dep.smena order by id"),
              QStringList({"2.5/0.1667", "2.5/0.1667"}));

    // Retyped: the box takes digits only, and the whole number typed is saved.
    dm_->Smena1.reopen();
    ASSERT_TRUE(dm_->Smena1.locate("id", 1));
    editor->prepareChange(context());
    activate();
    editor->Edit3->selectAll();
    typeText(editor->Edit3, "3,5");
    EXPECT_EQ(editor->Edit3->text(), "35");
    editor->Button1->click();
    EXPECT_EQ(scalar("select kol_vo::text from accounts_dep.smena where id = 1").toString(), "35");
    QLocale::setDefault(QLocale::c());
}

TEST_F(PositionEditorTest, HelpersArePaidFromThePositionAndWrittenOnlyWhenSaved) {
    MessageLog log;
    auto saveSample = [&] {
        editor->prepareAdd(context(2));
        activate();
        fill(1, "Иванов И.И.", 1000, "Стол СТ-1; Сборка; Готовая продукция", "5", "10", "8");
        editor->Edit4->setText("2");
        editor->Button1->click();
        editor->CheckBox1->setChecked(true);
    };
    // Adds the worker of that name as a helper with the hours given.
    auto addHelper = [&](const QString& name, const QString& hoursTyped) {
        whenModal([this, name, hoursTyped](QWidget*) {
            dm_->Workers.locate("fio", name);
            whenModal([this, hoursTyped](QWidget* w) {
                EXPECT_EQ(w, hours.get());
                typeText(hours->Edit1, hoursTyped);
                hours->Button1->click();
            });
            workers->Button2->click();
            if (workers->isVisible())
                workers->reject();
        });
        editor->Button5->click();
    };
    saveSample();
    ASSERT_TRUE(editor->Button5->isEnabled());
    addHelper("Сидоров С.С.", "4");
    addHelper("Сидоров С.С.", "2");
    addHelper("Петров П.П.", ""); // no hours: refused, nothing listed
    EXPECT_EQ(log.last(), "Значение должно быть больше 0!");
    EXPECT_EQ(editor->HelperRate.toDatabase(), "3.50");
    ASSERT_EQ(editor->person.recordCount(), 2);
    EXPECT_DOUBLE_EQ(editor->person.value(0, "f_count").toDouble(), 14);
    editor->Button6->click();
    EXPECT_EQ(rows("select w_id||'/'||o_id||'/'||cena||'/'||kol_vo||'/'||brak||'/'||time from "
                   "accounts_dep.smena where o_id=7779 order by time desc"),
              QStringList({"3/7779/14/1/0/4", "3/7779/7/1/0/2"}));
    EXPECT_EQ(scalar("select count(*) from accounts_dep.person_temp").toInt(), 0);
    EXPECT_EQ(ledger(3, 2, 8), "6");
    EXPECT_FALSE(editor->isVisible());

    // Helpers listed but not saved: "Новый", "Выход", Esc and the close box all ask first;
    // No writes nothing and empties the scratch list, Yes writes the helper's position.
    struct Leaving {
        const char* way;
        std::function<void()> leave;
        Answer answer;
    };
    const Leaving ways[] = {
        {"Новый", [this] { editor->Button8->click(); }, Answer::No},
        {"Выход", [this] { editor->Button2->click(); }, Answer::No},
        {"Esc", [this] { QTest::keyClick(editor.get(), Qt::Key_Escape); }, Answer::Yes},
        {"close box", [this] { editor->close(); }, Answer::No},
    };
    for (const Leaving& w : ways) {
        exec("delete from accounts_dep.smena");
        saveSample();
        addHelper("Сидоров С.С.", "3");
        log.clear();
        log.answer({w.answer});
        w.leave();
        ASSERT_FALSE(log.empty()) << w.way;
        EXPECT_EQ(log.boxes().back().text, "Данные о подсобных рабочих не сохранены. Сохранить?")
            << w.way;
        EXPECT_EQ(log.boxes().back().kind, MessageKind::WarningQuestion) << w.way;
        EXPECT_EQ(scalar("select count(*) from accounts_dep.smena where o_id=7779").toInt(),
                  w.answer == Answer::Yes ? 1 : 0)
            << w.way;
        EXPECT_EQ(scalar("select count(*) from accounts_dep.person_temp").toInt(), 0) << w.way;
    }
}

TEST_F(PositionEditorTest, HelpersNeedHoursAndAnEmptyListJustCloses) {
    MessageLog log;
    editor->prepareAdd(context());
    fill(1, "Иванов И.И.", 1000, "Стол СТ-1; Сборка; Готовая продукция", "5", "10", "0");
    editor->Button1->click();
    EXPECT_TRUE(log.empty()); // hours 0 are accepted by the save
    editor->CheckBox1->setChecked(true);
    EXPECT_EQ(log.last(), "Время должно быть больше 0");
    EXPECT_FALSE(editor->CheckBox1->isChecked());
    EXPECT_FALSE(editor->Button5->isEnabled());
    editor->show();
    editor->saveHelpers();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(scalar("select count(*) from accounts_dep.smena").toInt(), 1);
}
