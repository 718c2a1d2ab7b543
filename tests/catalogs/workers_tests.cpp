#include "catalogs/workers_screens.h"
#include "support/db_fixture.h"
#include "support/screen_helpers.h"

#include <QTest>

using namespace sdelka;
using namespace sdelka::test;

namespace {

class WorkersTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        exec("insert into accounts_dep.person(id, fio, s_staffpos_hl) values "
             "(1, 'Иванов И.И.', 'Сборщик'), (2, 'Петров П.П.', 'Маляр'), "
             "(3, 'Иваненко А.А.', ''), (4, '100% Тест_1', '');"
             "select setval(pg_get_serial_sequence('accounts_dep.person', 'id'), 100);"
             "insert into hrms_staffpos.staffpos(id, s_caption) values (1, 'Оператор'), (2, "
             "'Маляр');");
        editor = std::make_unique<TForm2>(*dm_);
        list = std::make_unique<TForm5>(*dm_, *editor);
        dm_->Workers.open();
    }
    void TearDown() override {
        list.reset();
        editor.reset();
        DbTest::TearDown();
    }
    QStringList names() {
        QStringList out;
        for (int r = 0; r < dm_->Workers.recordCount(); ++r)
            out << dm_->Workers.value(r, "fio").toString();
        return out;
    }
    // Runs the editor that the next action opens: types the name, picks the staff position
    // (or none; Untouched leaves the list as the editor opened) and presses "Записать".
    static constexpr int Untouched = -2;
    void editorWillSave(const QString& name, int staffpos = -1) {
        whenModal([this, name, staffpos](QWidget*) {
            editor->Edit1->setText(name);
            if (staffpos != Untouched)
                editor->LCB_staffpos->setCurrentIndex(staffpos);
            editor->Button1->click();
            if (editor->isVisible())
                editor->reject();
        });
    }
    std::unique_ptr<TForm2> editor;
    std::unique_ptr<TForm5> list;
};

} // namespace

TEST_F(WorkersTest, ANameCorrectedAloneKeepsTheStaffPositionAndItsDepartment) {
    exec("insert into cmn_department.department(id, s_caption) values (7, 'Цех покраски'), "
         "(8, 'Сборочный цех');"
         "update hrms_staffpos.staffpos set id_department = 7 where id = 2");
    // Маляр is in the staff table, Сборщик is not: both are kept as they were.
    for (const auto& [id, title] :
         {std::pair<int, QString>{2, "Маляр"}, std::pair<int, QString>{1, "Сборщик"}}) {
        ASSERT_TRUE(dm_->Workers.locate("id", id));
        whenModal([this, title = title, id = id](QWidget*) {
            EXPECT_EQ(editor->LCB_staffpos->currentText(), title);
            EXPECT_EQ(editor->LCB_department->currentText(), id == 2 ? "Цех покраски" : "");
            editor->Edit1->setText(editor->Edit1->text() + " (испр.)");
            editor->Button1->click();
        });
        list->changeOrPick();
        EXPECT_EQ(
            scalar(QString("select s_staffpos_hl from accounts_dep.person where id=%1").arg(id))
                .toString(),
            title);
    }
}

TEST_F(WorkersTest, SearchIsAPrefixIgnoringCaseAndTakesWildcardsLiterally) {
    const std::pair<const char*, QStringList> cases[] = {
        {"Иван", {"Иваненко А.А.", "Иванов И.И."}},
        {"иванов", {"Иванов И.И."}},
        {"ванов", {}},
        {"100%", {"100% Тест_1"}},
        {"1_0", {}},
        {"%", {}},
        {"", {"100% Тест_1", "Иваненко А.А.", "Иванов И.И.", "Петров П.П."}},
        {"Иван", {"Иваненко А.А.", "Иванов И.И."}},
        {"   ", {"100% Тест_1", "Иваненко А.А.", "Иванов И.И.", "Петров П.П."}},
    };
    for (const auto& [typed, expected] : cases) {
        list->Edit1->setText(QString::fromUtf8(typed));
        EXPECT_EQ(names(), expected) << typed;
    }
    // Up and Down in the search field move the current row.
    QTest::keyClick(list->Edit1, Qt::Key_Down);
    QTest::keyClick(list->Edit1, Qt::Key_Down);
    EXPECT_EQ(dm_->Workers.recNo(), 3);
    QTest::keyClick(list->Edit1, Qt::Key_Up);
    EXPECT_EQ(dm_->Workers.recNo(), 2);
}

TEST_F(WorkersTest, PickersHandBackTheWorkerAndClose) {
    for (TForm5::Mode mode :
         {TForm5::Mode::Position, TForm5::Mode::Household, TForm5::Mode::Operator}) {
        whenModal([this](QWidget* w) {
            EXPECT_EQ(w, list.get());
            EXPECT_FALSE(list->Button1->isVisible());
            EXPECT_FALSE(list->Button3->isVisible());
            EXPECT_EQ(list->Button2->text(), "Выбрать");
            typeText(list->Edit1, "Пет");
            list->Button2->click();
        });
        const auto choice = list->pick(mode);
        ASSERT_TRUE(choice.has_value());
        EXPECT_EQ(choice->id, 2);
        EXPECT_EQ(choice->name, "Петров П.П.");
        EXPECT_EQ(list->Picked, 1);
        EXPECT_FALSE(dm_->Workers.isOpen());
    }
    // "Выбрать" on a list the search emptied does nothing; leaving it reports no pick.
    whenModal([this](QWidget*) {
        typeText(list->Edit1, "Я");
        list->Button2->click();
        EXPECT_TRUE(list->isVisible());
        list->Button4->click();
    });
    EXPECT_FALSE(list->pick(TForm5::Mode::Position).has_value());
    EXPECT_EQ(list->Picked, 0);
}

TEST_F(WorkersTest, TheHelperPickerAsksForHoursAndStaysOpenWhenCancelled) {
    std::vector<std::optional<double>> answers = {std::nullopt, 6.5};
    QStringList asked;
    list->askHours = [&](const QString& name) {
        asked << name;
        auto a = answers.front();
        answers.erase(answers.begin());
        return a;
    };
    whenModal([this](QWidget*) {
        list->Button2->click(); // cancelled: the list stays
        EXPECT_TRUE(list->isVisible());
        EXPECT_EQ(list->Picked, 0);
        list->Button2->click();
    });
    const auto choice = list->pick(TForm5::Mode::Helper);
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(asked, QStringList({"100% Тест_1", "100% Тест_1"}));
    EXPECT_EQ(list->Picked, 1);
    EXPECT_DOUBLE_EQ(list->PickedHours, 6.5);
}

TEST_F(WorkersTest, AddChangeAndDeleteKeepTheirRowsAndMessages) {
    MessageLog log;
    // A blank name is refused, and so is one longer than its column.
    for (const QString& bad : {QString("   "), QString(255, QChar(u'Ж'))}) {
        editorWillSave(bad);
        list->add();
    }
    ASSERT_EQ(log.boxes().size(), 2u);
    EXPECT_EQ(log.boxes()[0].text, "ФИО нужно заполнить!");
    EXPECT_EQ(log.boxes()[0].caption, "Ошибка");
    EXPECT_EQ(scalar("select count(*) from accounts_dep.person").toInt(), 4);

    // Added with the name trimmed and the staff position chosen; the list stands on row 1.
    dm_->Workers.setRecNo(3);
    editorWillSave("  О'Брайен Д.  ", 1);
    list->add();
    EXPECT_EQ(log.boxes().size(), 2u) << log.last().toStdString();
    EXPECT_EQ(
        scalar("select s_staffpos_hl from accounts_dep.person where fio='О''Брайен Д.'").toString(),
        "Маляр");
    EXPECT_EQ(dm_->Workers.recNo(), 1);

    // Changed: saved under the new name, the position from the list (none chosen: empty), and
    // the list stays on the same row number.
    dm_->Workers.locate("fio", "Петров П.П.");
    const int row = dm_->Workers.recNo();
    editorWillSave("Петров-Водкин П.П.");
    list->changeOrPick();
    EXPECT_EQ(
        scalar("select fio || '/' || s_staffpos_hl from accounts_dep.person where id=2").toString(),
        "Петров-Водкин П.П./");
    EXPECT_EQ(dm_->Workers.recNo(), row);

    // A worker with positions is refused before any question: his positions stay paid.
    addPosition(1, 2, 1, "2026-12-01", "no");
    log.clear();
    list->remove();
    ASSERT_EQ(log.boxes().size(), 1u);
    EXPECT_EQ(log.last(), "Работник есть в позициях, удалить нельзя.");
    EXPECT_EQ(scalar("select count(*) from accounts_dep.person where id=2").toInt(), 1);

    // Without positions deleting asks; No keeps the worker, Yes removes the worker row.
    exec("delete from accounts_dep.smena");
    log.clear();
    log.answer({Answer::No, Answer::Yes});
    list->remove();
    EXPECT_EQ(scalar("select count(*) from accounts_dep.person where id=2").toInt(), 1);
    list->remove();
    EXPECT_EQ(log.boxes().size(), 2u);
    EXPECT_EQ(log.boxes()[0].text, "Удалить работника?");
    EXPECT_EQ(log.boxes()[0].caption, "Удаление");
    EXPECT_EQ(scalar("select count(*) from accounts_dep.person where id=2").toInt(), 0);
    // Петров stood last: the list goes to the new last row.
    EXPECT_EQ(row, 5);
    EXPECT_EQ(dm_->Workers.recNo(), 4);
}
