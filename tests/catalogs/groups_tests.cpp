#include "catalogs/groups_screens.h"
#include "support/db_fixture.h"
#include "support/screen_helpers.h"

#include <QTest>

using namespace sdelka;
using namespace sdelka::test;

namespace {

class GroupsTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        // The group 50 "Мебель" holds the product 100.
        seedCatalog();
        exec("insert into cmn_classifier.item(id, id_classifier, id_level, s_caption, b_excluded) "
             "values (51, 1, 2, 'Кухня', 0), (52, 1, 2, 'Архив', 1), (53, 1, 2, 'Сад', 0);"
             "insert into accounts_dep.fatigue(id_nom, id_o, id_p, d_date, cnt, price) values "
             "(53, 7777, 1, current_date, 8, 120)");
        editor = std::make_unique<TForm29>(*dm_);
        list = std::make_unique<TForm26>(*dm_, *editor);
        list->item.open();
    }
    void TearDown() override {
        list.reset();
        editor.reset();
        DbTest::TearDown();
    }
    // Fills the editor the next action opens and presses "Записать"; a refused save is
    // cancelled. The check runs first, on the editor as the action prepared it.
    void editorWillSave(const QString& name, bool excluded, std::function<void()> check = {}) {
        whenModal([=, this](QWidget*) {
            if (check)
                check();
            editor->Edit1->setText(name);
            editor->CheckBox1->setChecked(excluded);
            editor->Button1->click();
            if (editor->isVisible())
                editor->reject();
        });
    }
    // The rows the grid shows: name and mark.
    QStringList shown() {
        QStringList out;
        auto* model = list->DBGrid1->model();
        for (int r = 0; r < model->rowCount(); ++r)
            out << model->index(r, 0).data().toString() + "|" +
                       model->index(r, 1).data().toString();
        out.sort();
        return out;
    }
    QStringList groups() {
        return rows("select coalesce(s_caption, '<null>'), b_excluded, id_level from "
                    "cmn_classifier.item where id_level = 2 order by id");
    }
    // Every box is recorded, none is ever shown.
    MessageLog log;
    std::unique_ptr<TForm29> editor;
    std::unique_ptr<TForm26> list;
};

} // namespace

TEST_F(GroupsTest, ExcludedGroupsAreMarkedInTheCatalogAndOfferedOnlyWhenSearchedFor) {
    EXPECT_EQ(shown(), QStringList({"Архив|V", "Кухня|", "Мебель|", "Сад|"}));
    list->item.close();
    whenModal([this](QWidget*) {
        EXPECT_EQ(list->width(), 460);
        EXPECT_TRUE(list->DBGrid1->isColumnHidden(1));
        EXPECT_FALSE(list->Button1->isVisible() || list->Button2->isVisible());
        EXPECT_EQ(list->Button3->text(), "Выбрать");
        EXPECT_EQ(shown(), QStringList({"Кухня|", "Мебель|", "Сад|"}));
        // The search takes the place of the chooser's filter, also once it is emptied.
        typeText(list->Edit1, "ар");
        EXPECT_EQ(shown(), QStringList({"Архив|V"}));
        list->Edit1->clear();
        EXPECT_EQ(list->item.recordCount(), 4);
        ASSERT_TRUE(list->item.locate("id", 51));
        const QRect cell =
            list->DBGrid1->visualRect(list->DBGrid1->model()->index(list->item.recNo() - 1, 0));
        QTest::mouseClick(list->DBGrid1->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(list->DBGrid1->viewport(), Qt::LeftButton, {}, cell.center());
        if (list->isVisible())
            list->reject();
    });
    const auto choice = list->pick();
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->id, 51);
    EXPECT_EQ(choice->name, "Кухня");
    EXPECT_EQ(list->width(), 585);
    EXPECT_FALSE(list->DBGrid1->isColumnHidden(1));
    EXPECT_FALSE(list->item.isOpen());
    EXPECT_FALSE(list->item.filtered());

    // Chosen again, the groups no longer used are hidden again; left without a choice, the
    // catalog opened next lists every group, with all its buttons.
    whenModal([this](QWidget*) {
        EXPECT_EQ(list->item.recordCount(), 3);
        list->Button4->click();
    });
    EXPECT_FALSE(list->pick().has_value());
    whenModal([this](QWidget*) {
        EXPECT_EQ(list->item.recordCount(), 4);
        EXPECT_EQ(list->Button3->text(), "Изменить");
        EXPECT_TRUE(list->Button1->isVisible() && list->Button2->isVisible());
        list->Button4->click();
    });
    list->showCatalog();
}

TEST_F(GroupsTest, AGroupInUseIsNotDeletedAndTheListIsRefreshedOnTheSameRow) {
    // Group 50 has entries besides its product.
    exec("insert into accounts_dep.fatigue(id_nom, id_o, id_p, d_date, cnt, price) values "
         "(50, 7777, 1, current_date, 8, 120)");
    struct Case {
        int id;
        std::optional<Answer> answer; // none: refused with an error box, nothing asked
        QString text;
        bool deleted;
    };
    const Case cases[] = {
        {50, {}, "В номенклатурной группе есть изделия.", false},
        {53, {}, "В номенклатурной группе есть операции.", false},
        {51, Answer::No, "Удалить позицию из списка?", false},
        {51, Answer::Yes, "Удалить позицию из списка?", true},
    };
    int added = 60;
    for (const Case& c : cases) {
        ASSERT_TRUE(list->item.locate("id", c.id));
        const int row = list->item.recNo();
        // A group another workstation added shows once the list is refreshed.
        exec(QString("insert into cmn_classifier.item(id, id_level, s_caption) values (%1, 2, "
                     "'Я%1')")
                 .arg(++added));
        log.clear();
        if (c.answer)
            log.answer({*c.answer});
        list->Button1->click();
        ASSERT_EQ(log.boxes().size(), 1u) << c.id;
        EXPECT_EQ(log.boxes()[0].kind, c.answer ? MessageKind::Question : MessageKind::Error)
            << c.id;
        EXPECT_EQ(log.boxes()[0].caption, "Удаление") << c.id;
        EXPECT_EQ(log.last(), c.text) << c.id;
        EXPECT_EQ(scalar(QString("select count(*) from cmn_classifier.item where id=%1").arg(c.id))
                      .toInt(),
                  c.deleted ? 0 : 1)
            << c.id;
        if (c.answer) {
            EXPECT_EQ(list->item.recordCount(),
                      scalar("select count(*) from cmn_classifier.item where id_level=2").toInt())
                << c.id;
            EXPECT_EQ(list->item.recNo(), row) << c.id;
        }
    }
    // On the last row, a deletion leaves the list on the new last row.
    list->item.setRecNo(list->item.recordCount());
    list->Button1->click();
    EXPECT_EQ(log.last(), "Удалить позицию из списка?");
    EXPECT_EQ(list->item.recNo(), list->item.recordCount());
}

TEST_F(GroupsTest, TheEditorStoresNamesAsTypedAndTheListStaysOnTheRowNumber) {
    list->item.setRecNo(2);
    editorWillSave("Склад", false);
    list->add();
    EXPECT_EQ(list->item.recNo(), 2);
    EXPECT_EQ(list->item.recordCount(), 5);
    // The check box keeps its state for an add; a change sets it from the group.
    editorWillSave(" О'Брайен ", true, [this] {
        EXPECT_TRUE(editor->Edit1->text().isEmpty());
        EXPECT_FALSE(editor->CheckBox1->isChecked());
    });
    list->add();
    editorWillSave(QString(255, QChar(0x0448)), true,
                   [this] { EXPECT_TRUE(editor->CheckBox1->isChecked()); });
    list->add();
    EXPECT_EQ(log.last(), "Наименование длиннее 254 символов.");
    ASSERT_TRUE(list->item.locate("id", 52));
    const int row = list->item.recNo();
    editorWillSave("Архив старый", false, [this] {
        EXPECT_EQ(editor->Edit1->text(), "Архив");
        EXPECT_TRUE(editor->CheckBox1->isChecked());
    });
    list->changeOrPick();
    EXPECT_EQ(list->item.recNo(), row);
    EXPECT_EQ(groups(), QStringList({"Мебель|0|2", "Кухня|0|2", "Архив старый|0|2", "Сад|0|2",
                                     "Склад|0|2", "О'Брайен|1|2"}));
    EXPECT_EQ(log.boxes().size(), 1u);
}
