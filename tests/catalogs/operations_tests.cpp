#include "catalogs/operations_screens.h"
#include "catalogs/prices_export.h"
#include "support/db_fixture.h"
#include "support/screen_helpers.h"
#include "support/xlsx_reader.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace sdelka;
using namespace sdelka::test;

namespace {

class OperationsTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        seedCatalog();
        exec("insert into cmn_gds_and_srv.gds_and_srv(id, s_caption, s_description, id_msm_bs, "
             "massa, id_class_item) values (101, 'Шкаф ШК-2', '', 6, 1, 50), (102, 'Полка СТ-3', "
             "'', "
             "6, 1, 50);"
             "insert into accounts_dep.oper(id, vid, naimen, i_id, cena_new) values (1002, 10, 0, "
             "101, 0), "
             "(1003, 10, 0, 102, 2);"
             "insert into accounts_dep.norm(o_id, norma, prize, price) values (1002, 1, 0, 4.50), "
             "(1002, 2, 0, 3.00), (1002, 3, 0, 5.25), (1003, 1, 0, 2);");
        exportDir.emplace();
        qputenv("SDELKA_EXPORT_DIR", exportDir->path().toUtf8());
        qputenv("SDELKA_NO_OPEN", "1");
        norms = std::make_unique<TForm22>(*dm_);
        editor = std::make_unique<TForm10>(*dm_);
        list = std::make_unique<TForm4>(*dm_, *editor, *norms, writer);
        dm_->Oper.open();
    }
    void TearDown() override {
        list.reset();
        editor.reset();
        norms.reset();
        DbTest::TearDown();
    }
    QStringList marks() {
        QStringList out;
        for (int r = 0; r < dm_->Oper.recordCount(); ++r)
            out << dm_->Oper.value(r, "marka").toString();
        return out;
    }
    int normsOf(int op) {
        return scalar(QString("select count(*) from accounts_dep.norm where o_id=%1").arg(op))
            .toInt();
    }
    void setCell(int row, int column, const QString& text) {
        norms->DBGrid1->item(row, column)->setText(text);
    }
    std::optional<QTemporaryDir> exportDir;
    SpreadsheetWriter writer;
    std::unique_ptr<TForm22> norms;
    std::unique_ptr<TForm10> editor;
    std::unique_ptr<TForm4> list;
};

} // namespace

TEST_F(OperationsTest, ListsOperationsWithNormsAtTheirLowestPriceAndSearchesTheMarkAnywhere) {
    ASSERT_TRUE(dm_->Oper.locate("id", 1002));
    EXPECT_DOUBLE_EQ(dm_->Oper.field("cena").toDouble(), 3.0);
    EXPECT_EQ(dm_->Oper.field("norma").toInt(), 3);
    EXPECT_FALSE(dm_->Oper.locate("id", 7779)); // no norms, not listed
    const std::pair<const char*, QStringList> cases[] = {
        {"СТ-", {"Полка СТ-3", "Стол СТ-1", "Стол СТ-1"}},
        {"шк", {"Шкаф ШК-2"}},
        {"нет", {}},
        {"",
         {"Полка СТ-3", "Среднесдельная", "Стол СТ-1", "Стол СТ-1", "Хоз. работы", "Шкаф ШК-2"}},
    };
    for (const auto& [typed, expected] : cases) {
        list->Edit1->setText(QString::fromUtf8(typed));
        EXPECT_EQ(marks(), expected) << typed;
    }
}

TEST_F(OperationsTest, DuplicatesAreRefusedAndAnOperationMayKeepItsOwnParameters) {
    MessageLog log;
    editor->pickProduct = [] { return std::optional<CatalogChoice>({100, "Стол СТ-1"}); };
    editor->pickType = [] { return std::optional<CatalogChoice>({10, "Сборка"}); };
    whenModal([this](QWidget*) {
        editor->Button3->click();
        editor->Button4->click();
        editor->Button1->click();
        if (editor->isVisible())
            editor->reject();
    });
    list->add();
    EXPECT_EQ(log.last(), "Операция с такими параметрами уже заведена!");
    EXPECT_EQ(scalar("select count(*) from accounts_dep.oper where i_id=100 and vid=10").toInt(),
              1);

    log.clear();
    ASSERT_TRUE(dm_->Oper.locate("id", 1000));
    whenModal([this](QWidget*) {
        EXPECT_EQ(editor->Edit1->text(), "Стол СТ-1");
        editor->Button1->click();
    });
    list->changeOrPick();
    EXPECT_TRUE(log.empty());
    // Changing it into the other operation's parameters is refused.
    ASSERT_TRUE(dm_->Oper.locate("id", 1000));
    whenModal([this](QWidget*) {
        editor->ComboBox1->setCurrentIndex(1);
        editor->TypeId = 2;
        editor->Button1->click();
        if (editor->isVisible())
            editor->reject();
    });
    list->changeOrPick();
    EXPECT_EQ(log.last(), "Операция с такими параметрами уже заведена!");
}

TEST_F(OperationsTest, ANewOperationIsWrittenWithItsFirstNormOrNotAtAll) {
    MessageLog log;
    editor->pickProduct = [] { return std::optional<CatalogChoice>({101, "Шкаф ШК-2"}); };
    editor->pickType = [] { return std::optional<CatalogChoice>({2, "КРАСКА порошковая"}); };
    const QString notWritten = "Нормы не введены: новая операция не записана, без нормы она не "
                               "показывается в списке цен.";
    const int before = scalar("select count(*) from accounts_dep.oper").toInt();
    // Whichever way the first norms editor is left without a norm, no operation stays behind,
    // and the same operation can be added again.
    const std::pair<const char*, std::function<void()>> leaving[] = {
        {"Сохранить", [this] { norms->Button1->click(); }},
        {"Esc", [this] { QTest::keyClick(norms.get(), Qt::Key_Escape); }},
        {"close box", [this] { norms->close(); }},
    };
    for (const auto& [way, leave] : leaving) {
        log.clear();
        whenModal([this, leave = leave](QWidget*) {
            editor->Button3->click();
            editor->Button4->click();
            whenModal([this, leave](QWidget* w) {
                EXPECT_EQ(w, norms.get());
                leave();
            });
            editor->Button1->click();
        });
        list->add();
        EXPECT_EQ(log.last(), notWritten) << way;
        EXPECT_EQ(editor->AddedId, 0) << way;
        EXPECT_FALSE(norms->isVisible()) << way;
        EXPECT_EQ(scalar("select count(*) from accounts_dep.oper").toInt(), before) << way;
    }

    // A norm that fails its check keeps the editor open; a good one writes both together.
    log.clear();
    whenModal([this, &log](QWidget*) {
        editor->Button3->click();
        editor->Button4->click();
        whenModal([this, &log](QWidget*) {
            setCell(0, 0, "12");
            setCell(0, 1, "-1");
            QTest::keyClick(norms.get(), Qt::Key_Escape);
            EXPECT_EQ(log.last(), "Цена должна быть числом не меньше 0.");
            EXPECT_TRUE(norms->isVisible());
            setCell(0, 1, "7,5");
            QTest::keyClick(norms.get(), Qt::Key_Escape);
        });
        editor->Button1->click();
    });
    list->add();
    const int added = editor->AddedId;
    ASSERT_GT(added, 0);
    EXPECT_EQ(
        rows(QString("select norma||'/'||price||'/'||prize from accounts_dep.norm where o_id=%1")
                 .arg(added)),
        QStringList{"12/7.5/0"});
    EXPECT_EQ(dm_->Oper.field("id").toInt(), added);
    EXPECT_EQ(dm_->Oper.decimal<4>("cena"), *Price::parse(u"7.5"));
}

TEST_F(OperationsTest, NormsEditorChangesAddsAndNeverDeletesTheLastNorm) {
    ASSERT_TRUE(dm_->Oper.locate("id", 1003));
    list->CheckBox1->setChecked(true);
    whenModal([this](QWidget* w) {
        ASSERT_EQ(w, norms.get());
        ASSERT_EQ(norms->DBGrid1->rowCount(), 2); // the norm and a blank row
        EXPECT_EQ(norms->DBGrid1->item(0, 1)->text(), TForm22::priceText(2.0));
        norms->DBGrid1->setCurrentCell(0, 0);
        norms->Button2->click(); // the only norm stays
        EXPECT_EQ(normsOf(1003), 1);
        setCell(0, 1, "1.75");
        setCell(1, 0, "5");
        setCell(1, 1, "1,25");
        norms->Button1->click();
    });
    list->gridDoubleClicked();
    EXPECT_EQ(
        rows("select norma||'/'||price from accounts_dep.norm where o_id=1003 order by norma"),
        QStringList({"1/1.75", "5/1.25"}));
    EXPECT_DOUBLE_EQ(dm_->Oper.field("cena").toDouble(), 1.25);
    EXPECT_EQ(dm_->Oper.field("id").toInt(), 1003);
    // With two norms, one can go; a row typed but not saved stays through the deletion and
    // is written when the editor is left with Esc.
    norms->load(1003);
    setCell(2, 0, "9");
    setCell(2, 1, "3");
    norms->DBGrid1->setCurrentCell(1, 0);
    norms->removeCurrent();
    EXPECT_EQ(normsOf(1003), 1);
    ASSERT_EQ(norms->DBGrid1->rowCount(), 3);
    EXPECT_EQ(norms->DBGrid1->item(1, 0)->text(), "9");
    norms->show();
    QTest::keyClick(norms.get(), Qt::Key_Escape);
    EXPECT_FALSE(norms->isVisible());
    EXPECT_EQ(
        rows("select norma||'/'||price from accounts_dep.norm where o_id=1003 order by norma"),
        QStringList({"1/1.75", "9/3"}));
}

TEST_F(OperationsTest, AnOperationWithPositionsIsNotDeleted) {
    MessageLog log;
    addPosition(1, 1, 1, "2026-12-01", "no", 8, 101, 1002);
    ASSERT_TRUE(dm_->Oper.locate("id", 1002));
    list->remove();
    ASSERT_EQ(log.boxes().size(), 1u); // refused before the question
    EXPECT_EQ(log.last(), "Операция есть в позициях, удалить нельзя.");
    EXPECT_EQ(scalar("select count(*) from accounts_dep.oper where id=1002").toInt(), 1);
    log.clear();
    log.answer({Answer::Yes});
    ASSERT_TRUE(dm_->Oper.locate("id", 1003));
    list->remove();
    EXPECT_EQ(log.last(), "Удалить операцию?");
    EXPECT_EQ(scalar("select count(*) from accounts_dep.oper where id=1003").toInt(), 0);
}

TEST_F(OperationsTest, ChooserHandsBackTheOperationAndReservedRowsDoNothing) {
    MessageLog log;
    for (int reservedId : {7777, 7778}) {
        ASSERT_TRUE(dm_->Oper.locate("id", reservedId));
        list->changeOrPick();
        list->remove();
    }
    EXPECT_TRUE(log.empty());
    list->CheckBox1->setChecked(true);
    whenModal([this](QWidget*) {
        typeText(list->Edit1, "Полка");
        list->gridDoubleClicked(); // in the chooser a double click chooses
    });
    const auto choice = list->pick();
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->id, 1003);
    EXPECT_EQ(choice->productId, 102);
    EXPECT_EQ(choice->price, Price::fromInt(2));
    EXPECT_EQ(choice->type, "Сборка");
    EXPECT_EQ(choice->mark, "Полка СТ-3");
    EXPECT_TRUE(dm_->Oper.isOpen());
    EXPECT_FALSE(dm_->Oper.filtered());
}

TEST_F(OperationsTest, ExcelWritesEveryOperationWithItsOwnPriceAsANumber) {
    exec("update accounts_dep.oper set cena_new = 1234.5 where id = 1002;"
         "update accounts_dep.oper set cena_new = -2.25 where id = 1003");
    // A Russian workstation groups thousands with a non-breaking space.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    MessageLog log;
    // Without any window: the export function counts from 0 and writes one row a operation.
    std::vector<std::pair<int, int>> steps;
    const ExportResult exported = exportPrices(*dm_, writer, [&](int done, int total) {
        steps.push_back({done, total});
    });
    ASSERT_TRUE(exported.started);
    EXPECT_EQ(exported.errors, std::vector<SpreadsheetMessage>{});
    // SDELKA_NO_OPEN=1: the file is not opened, so there is nobody to tell where it is.
    EXPECT_FALSE(exported.notice.has_value());
    const int operations =
        scalar("select count(*) from accounts_dep.oper o join accounts_dep.vid_oper v on "
               "v.id = o.vid join accounts_dep.izdel i on i.id = o.i_id")
            .toInt();
    ASSERT_EQ(int(steps.size()), operations + 1);
    EXPECT_EQ(steps.front(), std::make_pair(0, operations));
    EXPECT_EQ(steps.back(), std::make_pair(operations, operations));
    const QString direct = writer.savedPath();
    EXPECT_EQ(exported.savedPath, direct);
    const Sheet sheet = readSheet(direct);
    EXPECT_EQ(sheet.rowCount(), operations + 1);
    EXPECT_TRUE(QFileInfo(direct).fileName().startsWith("Цены "));
    std::map<QString, Cell> priceOf;
    for (int row = 2; row <= operations + 1; ++row)
        priceOf[sheet.cell(QString("A%1").arg(row))->value] = *sheet.cell(QString("C%1").arg(row));
    for (const auto& [mark, price] :
         {std::pair<QString, double>{"Шкаф ШК-2", 1234.5}, {"Полка СТ-3", -2.25}}) {
        EXPECT_TRUE(priceOf[mark].isNumber) << mark.toStdString();
        EXPECT_DOUBLE_EQ(priceOf[mark].value.toDouble(), price) << mark.toStdString();
    }
    int blanks = 0;
    for (int row = 2; row <= operations + 1; ++row)
        blanks += sheet.cell(QString("D%1").arg(row))->value == "Заготовки" ? 1 : 0;
    EXPECT_EQ(blanks, scalar("select count(*) from accounts_dep.oper where naimen <> 0").toInt());
    for (const auto& [ref, title] : {std::pair<QString, QString>{"A1", "Марка"},
                                     {"B1", "Операция"},
                                     {"C1", "Цена"},
                                     {"D1", "Вид"}})
        EXPECT_EQ(sheet.cell(ref)->value, title);

    // The screen's button writes the same cells.
    list->exportToSpreadsheet();
    EXPECT_NE(writer.savedPath(), direct);
    const Sheet onScreen = readSheet(writer.savedPath());
    EXPECT_EQ(onScreen.cells.size(), sheet.cells.size());
    for (const auto& [ref, cell] : sheet.cells)
        EXPECT_EQ(onScreen.cell(ref)->value, cell.value) << ref.toStdString();
    EXPECT_EQ(list->Button5->text(), "Excel");
    EXPECT_TRUE(log.empty());

    // What goes wrong comes back in the result and the screen shows it as error boxes; a
    // workbook that cannot be started stops the export before its first row.
    const SpreadsheetMessage openFailed{"Ошибка открытия файла Microsoft Excel.", "Ошибка"};
    const QString lost = exportDir->filePath("Потерянная");
    struct Failure {
        const char* what;
        QString dir;
        bool started;
    };
    const Failure failures[] = {
        {"a file where the export folder should be", direct, false},
        {"the export folder removed while writing", lost, true},
    };
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.what);
        qputenv("SDELKA_EXPORT_DIR", f.dir.toUtf8());
        int calls = 0;
        const ExportResult failed = exportPrices(*dm_, writer, [&](int done, int total) {
            ++calls;
            if (done == total)
                QDir(lost).removeRecursively();
        });
        EXPECT_EQ(failed.started, f.started);
        EXPECT_EQ(calls, f.started ? operations + 1 : 0);
        EXPECT_EQ(failed.errors, std::vector<SpreadsheetMessage>{openFailed});
        EXPECT_TRUE(failed.savedPath.isEmpty());
        EXPECT_FALSE(failed.notice.has_value());

        // The screen's progress lets events through: the folder goes at its first step.
        log.clear();
        if (f.started)
            QTimer::singleShot(0, [lost] { QDir(lost).removeRecursively(); });
        list->exportToSpreadsheet();
        ASSERT_EQ(log.boxes().size(), 1u);
        EXPECT_EQ(log.boxes()[0].kind, MessageKind::Error);
        EXPECT_EQ(log.boxes()[0].caption, openFailed.caption);
        EXPECT_EQ(log.last(), openFailed.text);
        EXPECT_EQ(list->Button5->text(), "Excel");
    }
    QLocale::setDefault(QLocale::c());
}
