#include "catalogs/products_screens.h"
#include "positions/hours_ledger.h"
#include "support/db_fixture.h"
#include "support/screen_helpers.h"

#include <QLocale>
#include <QTest>
#include <QTimer>

using namespace sdelka;
using namespace sdelka::test;

namespace {

const QString Taken = "Такая марка изделия уже заведена!";
const QString Missing = "Все поля должны быть заполнены!";
const QString PricesQuestion = "По изделию есть расценки они будут удалены!!!";
const QString PositionsQuestion = "По изделию есть операции в текущем, предыдущем месяцах и ранее, "
                                  "они будут удалены. Удалить изделие? ";
const QString ProductQuestion = "Удалить изделие? ";

// Runs the action and answers whether it opened a modal dialog; such a dialog is closed at once.
bool opensDialog(const std::function<void()>& action) {
    bool opened = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&opened] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = true;
            modal->close();
        }
    });
    timer.start(0);
    action();
    return opened;
}

class ProductsTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        // Product 100 "Стол СТ-1" of the group 50 "Мебель", with two prices.
        seedCatalog();
        exec("insert into cmn_classifier.item(id, id_level, s_caption, b_excluded) values "
             "(51, 2, 'Кухня', 0), (52, 2, 'Архив', 1);"
             "insert into cmn_gds_and_srv.gds_and_srv(id, s_caption, s_description, id_msm_bs, "
             "massa, id_class_item) values (101, 'стул', '', 6, 2.5, 51), "
             "(102, 'Табурет  ', '', 6, 3, 50)");
        editor = std::make_unique<TForm7>(*dm_);
        list = std::make_unique<TForm3>(*dm_, *editor);
        dm_->Izdel.open();
    }
    void TearDown() override {
        list.reset();
        editor.reset();
        DbTest::TearDown();
    }
    // Fills the editor the next action opens and presses "Записать"; a refused save is
    // cancelled. The check runs first, on the editor as the action prepared it.
    void editorWillSave(const QString& name, const QString& massa, int group,
                        std::function<void()> check = {}) {
        whenModal([=, this](QWidget*) {
            if (check)
                check();
            editor->Edit1->setText(name);
            editor->Edit2->setText(massa);
            editor->cb_item->setCurrentIndex(editor->cb_item->findData(group));
            editor->Button1->click();
            if (editor->isVisible())
                editor->reject();
        });
    }
    // The goods rows below the reserved ones: name, mass and group.
    QStringList goods() {
        return rows("select s_caption, massa::float8, id_class_item from "
                    "cmn_gds_and_srv.gds_and_srv where id < 7777 or id >= 10000 order by id");
    }
    QStringList shownMarks() {
        QStringList out;
        auto* model = list->DBGrid1->model();
        for (int r = 0; r < model->rowCount(); ++r)
            out << model->index(r, 0).data().toString();
        out.sort();
        return out;
    }
    // Every box is recorded, none is ever shown.
    MessageLog log;
    std::unique_ptr<TForm7> editor;
    std::unique_ptr<TForm3> list;
};

} // namespace

TEST(ProductsTestRules, PositionsAreCountedFromTheMonthBeforeInTheYear2000) {
    const std::pair<QDate, QDate> cases[] = {
        {QDate(2024, 1, 15), QDate(2000, 12, 1)},
        {QDate(2025, 3, 31), QDate(2000, 2, 1)},
        {QDate(2023, 12, 1), QDate(2000, 11, 1)},
    };
    for (const auto& [today, from] : cases)
        EXPECT_EQ(productPositionsFrom(today), from) << today.toString(Qt::ISODate).toStdString();
}

TEST_F(ProductsTest, SearchMatchesTheStartOfTheMarkInAnyCaseAndWildcardsLiterally) {
    exec("insert into cmn_gds_and_srv.gds_and_srv(id, s_caption, id_class_item) values "
         "(103, '100%_a', 50), (104, '1000', 50)");
    dm_->Izdel.reopen();
    const std::pair<QString, QStringList> cases[] = {
        {"ст", {"Стол СТ-1", "стул"}}, {"СТУ", {"стул"}}, {"ол", {}},
        {"100%", {"100%_a"}},          {"100_", {}},      {"10", {"1000", "100%_a"}},
    };
    for (const auto& [typed, marks] : cases) {
        list->Edit1->setText(typed);
        QStringList expected = marks;
        expected.sort();
        EXPECT_EQ(shownMarks(), expected) << typed.toStdString();
    }
    list->Edit1->clear();
    EXPECT_EQ(list->DBGrid1->model()->rowCount(), 10);
    // A search that finds nothing leaves nothing to change, pick or delete.
    list->Edit1->setText("нет такого");
    EXPECT_FALSE(opensDialog([this] { list->changeOrPick(); }));
    list->remove();
    EXPECT_TRUE(log.empty());
}

TEST_F(ProductsTest, SaveRefusesMissingFieldsTakenNamesAndOverLongNames) {
    struct Case {
        QString name, massa;
        int group;
        QString message; // empty: saved
    };
    const Case cases[] = {
        {"стол ст-1", "1", 50, Taken},
        {"  СТОЛ СТ-1 ", "1", 50, Taken},
        {"", "1", 50, Missing},
        {"Шкаф", "", 50, Missing},
        {"Шкаф", "1", 0, Missing},
        {QString(255, QChar(0x0448)), "1", 50, "Марка длиннее 254 символов."},
        {" О'Брайен ", "2.75", 51, {}},
    };
    for (const Case& c : cases) {
        log.clear();
        editor->prepareAdd();
        editor->show();
        editor->Edit1->setText(c.name);
        editor->Edit2->setText(c.massa);
        editor->cb_item->setCurrentIndex(editor->cb_item->findData(c.group));
        editor->Button1->click();
        EXPECT_EQ(log.last(), c.message) << c.name.toStdString();
        EXPECT_EQ(editor->isVisible(), !c.message.isEmpty()) << c.name.toStdString();
        editor->hide();
    }
    EXPECT_EQ(goods(),
              QStringList({"Стол СТ-1|1|50", "стул|2.5|51", "Табурет  |3|50", "О'Брайен|2.75|51"}));
    EXPECT_EQ(scalar("select s_description || '/' || id_msm_bs from cmn_gds_and_srv.gds_and_srv "
                     "where s_caption = 'О''Брайен'")
                  .toString(),
              "/6");
}

TEST_F(ProductsTest, RenamingIsCheckedAgainstOtherProductsOnly) {
    const std::pair<int, QString> cases[] = {{100, "стол ст-1"}, {101, "СТОЛ СТ-1"}};
    for (const auto& [id, name] : cases) {
        editor->prepareChange(id, name, "1", 50);
        editor->show();
        editor->Button1->click();
        editor->hide();
    }
    ASSERT_EQ(log.boxes().size(), 1u);
    EXPECT_EQ(log.last(), Taken);
    EXPECT_EQ(goods().mid(0, 2), QStringList({"стол ст-1|1|50", "стул|2.5|51"}));
}

TEST_F(ProductsTest, AMassThatIsNoNumberIsReportedAndNothingIsSaved) {
    editor->prepareAdd();
    editor->show();
    editor->Edit1->setText("Шкаф");
    editor->Edit2->setText("1.2.3");
    editor->cb_item->setCurrentIndex(editor->cb_item->findData(50));
    editor->Button1->click();
    ASSERT_EQ(log.boxes().size(), 1u);
    EXPECT_EQ(log.boxes()[0].kind, MessageKind::Error);
    EXPECT_FALSE(log.last().isEmpty());
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(goods().size(), 3);
}

TEST_F(ProductsTest, MassFieldTakesDigitsAndOnePointForEitherMark) {
    const std::pair<QString, QString> cases[] = {
        {"12,5", "12.5"}, {"3.25", "3.25"}, {"a1b 2", "12"}, {"-7e+", "7"}, {"12\b3", "13"},
    };
    for (const auto& [keys, text] : cases) {
        editor->Edit2->clear();
        QTest::keyClicks(editor->Edit2, keys);
        EXPECT_EQ(editor->Edit2->text(), text) << keys.toStdString();
    }
}

TEST_F(ProductsTest, ChangeShowsTheMassInTheUsersLocaleAndStaysOnTheRowNumber) {
    const std::pair<QLocale, QString> locales[] = {
        {QLocale::c(), "2.5"},
        {QLocale(QLocale::Russian, QLocale::Russia), "2,5"},
    };
    // The workstations' separator governs what is typed, never what a statement receives.
    for (const QString delimiter : {",", "."})
        for (const auto& [locale, shown] : locales) {
            QLocale::setDefault(locale);
            dm_->DecimalDelimiter = delimiter;
            ASSERT_TRUE(dm_->Izdel.locate("id", 101));
            const int row = dm_->Izdel.recNo();
            ASSERT_GT(row, 1);
            editorWillSave("стул", shown, 51, [this, shown = shown] {
                EXPECT_EQ(editor->windowTitle(), "Изменение данных изделия (7)");
                EXPECT_EQ(editor->Edit1->text(), "стул");
                EXPECT_EQ(editor->Edit2->text(), shown);
                EXPECT_EQ(editor->cb_item->currentData().toInt(), 51);
            });
            list->changeOrPick();
            EXPECT_EQ(dm_->Izdel.recNo(), row);
            EXPECT_EQ(goods().at(1), "стул|2.5|51");
        }
    QLocale::setDefault(QLocale::c());
    EXPECT_TRUE(log.empty()) << log.last().toStdString();
}

TEST_F(ProductsTest, AddKeepsTheLastGroupAndReturnsToTheRememberedRow) {
    dm_->Izdel.setRecNo(3);
    editorWillSave("Шкаф", "4", 51);
    list->add();
    EXPECT_EQ(dm_->Izdel.recNo(), 3);
    EXPECT_EQ(dm_->Izdel.recordCount(), 9);
    // The next add starts empty with the group chosen last; a change to a product without a
    // group chooses none.
    editorWillSave("Полка", "1", 51, [this] {
        EXPECT_EQ(editor->windowTitle(), "Заведение нового изделия (7)");
        EXPECT_TRUE(editor->Edit1->text().isEmpty() && editor->Edit2->text().isEmpty());
        EXPECT_EQ(editor->cb_item->currentText(), "Кухня");
        EXPECT_EQ(editor->cb_item->findText("Архив"), -1);
    });
    list->add();
    exec("update cmn_gds_and_srv.gds_and_srv set id_class_item = null where id = 102");
    dm_->Izdel.reopen();
    dm_->Izdel.locate("id", 102);
    editorWillSave("Табурет", "3", 50, [this] { EXPECT_EQ(editor->cb_item->currentIndex(), -1); });
    list->changeOrPick();
    EXPECT_EQ(goods().mid(2), QStringList({"Табурет|3|50", "Шкаф|4|51", "Полка|1|51"}));
    EXPECT_TRUE(log.empty()) << log.last().toStdString();
}

TEST_F(ProductsTest, ReservedProductsAreNeitherChangedPickedNorDeleted) {
    for (int reservedId : {7777, 7778}) {
        ASSERT_TRUE(dm_->Izdel.locate("id", reservedId));
        EXPECT_FALSE(opensDialog([this] { list->changeOrPick(); })) << reservedId;
        list->remove();
        whenModal([this, reservedId](QWidget*) {
            dm_->Izdel.locate("id", reservedId);
            list->Button2->click();
            EXPECT_TRUE(list->isVisible());
            list->Button4->click();
        });
        EXPECT_FALSE(list->pick().has_value());
        dm_->Izdel.open();
    }
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(
        scalar("select count(*) from cmn_gds_and_srv.gds_and_srv where id in (7777, 7778)").toInt(),
        2);
}

TEST_F(ProductsTest, DeletionAsksForPricesThenPositionsAndDeletesWhatWasAnswered) {
    struct Case {
        bool prices, positions;
        std::initializer_list<Answer> answers;
        QStringList questions;
        QString left; // prices|positions|product left afterwards
    };
    const Answer Y = Answer::Yes, N = Answer::No;
    const Case cases[] = {
        {true, true, {Y, Y}, {PricesQuestion, PositionsQuestion}, "0|0|0"},
        {true, true, {Y, N}, {PricesQuestion, PositionsQuestion}, "0|1|1"},
        {true, true, {N, Y}, {PricesQuestion, PositionsQuestion}, "2|0|0"},
        {true, true, {N, N}, {PricesQuestion, PositionsQuestion}, "2|1|1"},
        {true, false, {Y, N}, {PricesQuestion, ProductQuestion}, "0|0|1"},
        {false, true, {N}, {PositionsQuestion}, "0|1|1"},
        {false, false, {Y}, {ProductQuestion}, "0|0|0"},
    };
    int product = 200;
    for (const Case& c : cases) {
        ++product;
        exec(QString("insert into cmn_gds_and_srv.gds_and_srv(id, s_caption, id_class_item) "
                     "values (%1, 'Изделие %1', 50)")
                 .arg(product));
        if (c.prices)
            exec(QString("insert into accounts_dep.oper(vid, naimen, i_id) values (10, 0, %1), "
                         "(10, 1, %1)")
                     .arg(product));
        if (c.positions) {
            addPosition(product, 1, 1, QDate::currentDate().toString(Qt::ISODate), "no", 8,
                        product);
            HoursLedger(*dm_).updateDay(1, 1, QDate::currentDate());
        }
        dm_->Izdel.reopen();
        ASSERT_TRUE(dm_->Izdel.locate("id", product));
        log.clear();
        log.answer(c.answers);
        list->remove();
        QStringList asked;
        for (const Message& m : log.boxes()) {
            asked << m.text;
            EXPECT_EQ(m.kind, MessageKind::Question);
            EXPECT_EQ(m.caption, "Удаление");
        }
        EXPECT_EQ(asked, c.questions) << product;
        EXPECT_EQ(rows(QString("select (select count(*) from accounts_dep.oper where i_id=%1), "
                               "(select count(*) from accounts_dep.smena where i_id=%1), "
                               "(select count(*) from cmn_gds_and_srv.gds_and_srv where id=%1)")
                           .arg(product)),
                  QStringList{c.left})
            << product;
        // Hours of positions that went with their product leave the ledger too.
        EXPECT_EQ(ledgerFaults(), QStringList()) << product;
        EXPECT_TRUE(dm_->Izdel.isOpen());
        EXPECT_EQ(dm_->Izdel.recNo(), 1);
    }
    // Other products keep their prices.
    EXPECT_EQ(scalar("select count(*) from accounts_dep.oper where i_id=100").toInt(), 2);
}

TEST_F(ProductsTest, ARefusedProductDeletionKeepsItsPositionsButNotItsPrices) {
    exec("create function refuse() returns trigger language plpgsql as "
         "$$begin raise exception 'товар занят'; end$$;"
         "create trigger refuse before delete on cmn_gds_and_srv.gds_and_srv "
         "for each row execute function refuse()");
    addPosition(1, 1, 1, QDate::currentDate().toString(Qt::ISODate), "no");
    ASSERT_TRUE(dm_->Izdel.locate("id", 100));
    list->Button3->click();
    ASSERT_EQ(log.boxes().size(), 3u);
    EXPECT_TRUE(log.last().contains("товар занят")) << log.last().toStdString();
    EXPECT_EQ(rows("select (select count(*) from accounts_dep.oper where i_id=100), "
                   "(select count(*) from accounts_dep.smena where i_id=100), "
                   "(select count(*) from cmn_gds_and_srv.gds_and_srv where id=100)"),
              QStringList{"0|1|1"});
    EXPECT_FALSE(db_->inTransaction());
}

TEST_F(ProductsTest, PickerHandsBackTheTrimmedMarkAndHidesItsSearchAfterwards) {
    whenModal([this](QWidget*) {
        EXPECT_EQ(list->Button2->text(), "Выбрать");
        EXPECT_TRUE(list->Button2->isDefault());
        EXPECT_FALSE(list->Button1->isVisible() || list->Button3->isVisible());
        EXPECT_TRUE(list->Edit1->isVisible() && list->Edit1->text().isEmpty());
        typeText(list->Edit1, "таб");
        EXPECT_EQ(dm_->Izdel.recordCount(), 1);
        list->Button2->click();
    });
    dm_->Izdel.close();
    const auto choice = list->pick();
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->id, 102);
    EXPECT_EQ(choice->name, "Табурет");
    EXPECT_FALSE(list->isVisible());
    EXPECT_FALSE(list->Button2->isDefault());
    EXPECT_FALSE(dm_->Izdel.isOpen());
    EXPECT_FALSE(dm_->Izdel.filtered());

    // The catalog opened next keeps the search hidden and offers Add on Enter.
    whenModal([this](QWidget*) {
        EXPECT_FALSE(list->Edit1->isVisible());
        EXPECT_EQ(list->Button2->text(), "Изменить");
        EXPECT_TRUE(list->Button1->isVisible() && list->Button1->isDefault());
        EXPECT_EQ(dm_->Izdel.recordCount(), 8);
        list->Button4->click();
    });
    list->showCatalog();
}
