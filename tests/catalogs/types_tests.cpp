#include "catalogs/types_screens.h"
#include "support/db_fixture.h"
#include "support/screen_helpers.h"

#include <QTest>

using namespace sdelka;
using namespace sdelka::test;

namespace {

class TypesTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        exec("insert into accounts_dep.vid_oper(id, vid) values (1, 'Сборка'), (2, 'КРАСКА "
             "порошковая'), "
             "(3, 'Сварка')");
        editor = std::make_unique<TForm9>(*dm_);
        list = std::make_unique<TForm8>(*dm_, *editor);
        dm_->Vid_oper.open();
    }
    void TearDown() override {
        list.reset();
        editor.reset();
        DbTest::TearDown();
    }
    void editorWillSave(const QString& name) {
        whenModal([this, name](QWidget*) {
            editor->Edit1->setText(name);
            editor->Button1->click();
            if (editor->isVisible())
                editor->reject();
        });
    }
    QStringList types() {
        return rows("select vid from accounts_dep.vid_oper where id not in (7777, 7778, 7779, "
                    "7780, 7781) order by id");
    }
    std::unique_ptr<TForm9> editor;
    std::unique_ptr<TForm8> list;
};

} // namespace

TEST_F(TypesTest, DuplicatesIgnoreLetterCase) {
    MessageLog log;
    editorWillSave("сборка");
    list->add();
    EXPECT_EQ(log.last(), "Такая операция уже заведена!");
    editorWillSave("  Покраска кистью ");
    list->add();
    EXPECT_EQ(types(), QStringList({"Сборка", "КРАСКА порошковая", "Сварка", "Покраска кистью"}));
    // Renaming a type to its own name in another case is accepted; to another's name, refused.
    log.clear();
    dm_->Vid_oper.locate("id", 1);
    editorWillSave("СБОРКА");
    list->changeOrPick();
    EXPECT_TRUE(log.empty());
    dm_->Vid_oper.locate("id", 1);
    editorWillSave("сварка");
    list->changeOrPick();
    EXPECT_EQ(log.last(), "Такая операция уже заведена!");
    EXPECT_EQ(types().at(0), "СБОРКА");
    editorWillSave("");
    list->add();
    EXPECT_EQ(log.last(), "Все поля должны быть заполнены!");
}

TEST_F(TypesTest, ReservedTypesRefuseChangePickAndDelete) {
    MessageLog log;
    for (int reservedId : {7777, 7778}) {
        ASSERT_TRUE(dm_->Vid_oper.locate("id", reservedId));
        list->changeOrPick();
        list->remove();
        whenModal([this, reservedId](QWidget*) {
            dm_->Vid_oper.locate("id", reservedId);
            list->Button2->click();
            EXPECT_TRUE(list->isVisible());
            list->Button4->click();
        });
        EXPECT_FALSE(list->pick().has_value());
        dm_->Vid_oper.open();
    }
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(scalar("select count(*) from accounts_dep.vid_oper where id in (7777, 7778)").toInt(),
              2);
}

TEST_F(TypesTest, ChooserSearchesAndHandsBackTheType) {
    whenModal([this](QWidget*) {
        EXPECT_TRUE(list->Edit1->isVisible());
        typeText(list->Edit1, "кра");
        EXPECT_EQ(dm_->Vid_oper.recordCount(), 1);
        list->Button2->click();
    });
    const auto choice = list->pick();
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->id, 2);
    EXPECT_EQ(choice->name, "КРАСКА порошковая");
    EXPECT_FALSE(list->Edit1->isVisible());
}

TEST_F(TypesTest, DeletionAsksAndRefusesATypeInUse) {
    MessageLog log;
    exec("insert into accounts_dep.oper(id, vid, naimen, i_id) values (1000, 3, 0, 7777)");
    dm_->Vid_oper.locate("id", 3);
    list->remove();
    ASSERT_EQ(log.boxes().size(), 1u); // refused before the question
    EXPECT_EQ(log.last(), "Вид операции используется в расценках, удалить нельзя.");
    log.clear();
    log.answer({Answer::No, Answer::Yes});
    dm_->Vid_oper.locate("id", 1);
    list->remove();
    EXPECT_EQ(types().size(), 3);
    dm_->Vid_oper.locate("id", 1);
    list->remove();
    EXPECT_EQ(types(), QStringList({"КРАСКА порошковая", "Сварка"}));
    EXPECT_EQ(log.boxes().at(0).text, "Удалить вид операции?");
}
