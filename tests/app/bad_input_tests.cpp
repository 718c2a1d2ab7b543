#include "catalogs/groups_screens.h"
#include "catalogs/operations_screens.h"
#include "catalogs/products_screens.h"
#include "catalogs/types_screens.h"
#include "catalogs/workers_screens.h"
#include "register/distribution_screens.h"
#include "register/position_editor.h"
#include "register/value_dialog.h"
#include "support/db_fixture.h"
#include "support/screen_helpers.h"

#include <functional>
#include <map>
#include <ostream>
#include <vector>

using namespace sdelka;
using namespace sdelka::test;

namespace {

const QDate Day(2026, 12, 8);
const QString DateText = "dd.MM.yyyy";

// The fields bad input is typed into, each on its screen.
enum class Field {
    WorkerName,    // TForm2 "ФИО"
    TypeName,      // TForm9 "Операция"
    ProductName,   // TForm7 "Марка"
    ProductMass,   // TForm7 "Расценка"
    GroupName,     // TForm29 "Наименование"
    Norm,          // TForm22 "Норматив"
    NormPrice,     // TForm22 "Цена"
    Pieces,        // TForm11 "Кол-во"
    Rejects,       // TForm11 "Брак"
    Hours,         // TForm11 "Время"
    Colour,        // TForm11 "Цвет" of a painting operation
    PlainColour,   // TForm11 "Цвет" of an operation that does not paint
    Date,          // TForm11 "Дата"
    HelperHours,   // TForm132 "Отработано (ч.)"
    OperatorHours, // TForm33 "Отработано (ч.)"
};

enum class Outcome {
    Stored,  // written exactly as typed, without a message
    Refused, // the message given, nothing written
    Dropped, // keys dropped: the box holds the text given, and that is written
};

struct Case {
    const char* name;
    Field field;
    QString typed;
    Outcome outcome;
    QString result; // Refused: the message; Dropped: what the box holds
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

const QString Quoted = R"(О'Брайен "Лак" C:\Лак\; 100%_a)";
const QString Blanks = QString::fromUtf8("  \u00A0 ");
const QString Long = QString(300, QChar(0x0448));
const QString Missing = "Все поля должны быть заполнены!";
const QString OutOfRange = "Дата позиции вне допустимого диапазона.";
const QString NotAboveZero = "Значение должно быть больше 0!";
const QString BadNorm = "Норматив должен быть целым числом не меньше 0.";

QString fromToday(int years, int days) {
    return QDate::currentDate().addYears(years).addDays(days).toString(DateText);
}

std::vector<Case> cases() {
    using enum Field;
    using enum Outcome;
    return {
        {"WorkerQuoted", WorkerName, Quoted, Stored, {}},
        {"WorkerLong", WorkerName, Long, Refused, "ФИО длиннее 254 символов."},
        {"WorkerBlank", WorkerName, Blanks, Refused, "ФИО нужно заполнить!"},
        {"TypeQuoted", TypeName, Quoted, Stored, {}},
        // Read as patterns, "%" and "_" would find the type "Сборка" taken.
        {"TypeWildcards", TypeName, "Сбор_а%", Stored, {}},
        {"TypeLong", TypeName, Long, Refused, "Название операции длиннее 128 символов."},
        {"TypeBlank", TypeName, Blanks, Refused, Missing},
        {"ProductQuoted", ProductName, Quoted, Stored, {}},
        {"ProductWildcards", ProductName, "Стол СТ_1%", Stored, {}},
        {"ProductLong", ProductName, Long, Refused, "Марка длиннее 254 символов."},
        {"ProductBlank", ProductName, Blanks, Refused, Missing},
        // The product list reads the mass as numeric(28,6): 22 digits at most.
        {"MassPastLimit", ProductMass, QString(23, '9'), Dropped, QString(22, '9')},
        {"MassTwoPoints", ProductMass, "1.2,3", Dropped, "1.23"},
        {"MassEmpty", ProductMass, "", Refused, Missing},
        {"GroupQuoted", GroupName, Quoted, Stored, {}},
        {"GroupLong", GroupName, Long, Refused, "Наименование длиннее 254 символов."},
        {"GroupBlank", GroupName, Blanks, Refused, Missing},
        {"NormAtLimit", Norm, "2147483647", Stored, {}},
        {"NormPastLimit", Norm, "2147483648", Refused, BadNorm},
        {"NormEmpty", Norm, "", Refused, BadNorm},
        {"NormPriceEmpty", NormPrice, "", Refused, "Цена должна быть числом не меньше 0."},
        {"PiecesPastLimit", Pieces, "9999999999", Dropped, "999999999"},
        {"PiecesEmpty", Pieces, "", Refused, Missing},
        {"PiecesBelowRejects", Pieces, "0", Refused, "Брак не может быть больше количества."},
        {"RejectsPastLimit", Rejects, "-327679", Dropped, "32767"},
        {"RejectsEmpty", Rejects, "", Refused, Missing},
        {"HoursPastLimit", Hours, "99999", Dropped, "9999"},
        {"HoursEmpty", Hours, "", Refused, Missing},
        {"ColourPastLimit", Colour, "9999999999", Dropped, "999999999"},
        {"ColourEmpty", Colour, "", Refused, Missing},
        {"ColourNotPainting", PlainColour, "15", Dropped, ""},
        {"DateBefore2000", Date, "31.12.1999", Refused, OutOfRange},
        {"DateFirstOf2000", Date, "01.01.2000", Stored, {}},
        {"DateInAYear", Date, fromToday(1, 0), Stored, {}},
        {"DatePastAYear", Date, fromToday(1, 1), Refused, OutOfRange},
        {"DateFarFuture", Date, "31.12.9999", Refused, OutOfRange},
        {"HelperHoursPastLimit", HelperHours, "99999", Dropped, "9999"},
        {"HelperHoursZero", HelperHours, "0", Refused, NotAboveZero},
        {"HelperHoursEmpty", HelperHours, "", Refused, NotAboveZero},
        {"OperatorHoursPastLimit", OperatorHours, "99999", Dropped, "9999"},
        {"OperatorHoursZero", OperatorHours, "0", Refused, NotAboveZero},
        {"OperatorHoursEmpty", OperatorHours, "", Refused, Missing},
    };
}

// How a field is entered and where it ends up.
struct Target {
    // Types the text into the field of a screen otherwise filled in, presses the screen's save
    // and answers what the field held.
    std::function<QString(const QString& typed)> enter;
    // The rows such a save writes, leaving out those the screen needs written first (the
    // position a helper works on, the output an operator is paid from).
    QString count;
    QString value; // the field as stored in the newest of them
};

class BadInputTest : public DbTest, public ::testing::WithParamInterface<Case> {
protected:
    void SetUp() override {
        DbTest::SetUp();
        seedCatalog();
        workerEditor = std::make_unique<TForm2>(*dm_);
        workers = std::make_unique<TForm5>(*dm_, *workerEditor);
        types = std::make_unique<TForm9>(*dm_);
        products = std::make_unique<TForm7>(*dm_);
        groups = std::make_unique<TForm29>(*dm_);
        norms = std::make_unique<TForm22>(*dm_);
        operationEditor = std::make_unique<TForm10>(*dm_);
        operations = std::make_unique<TForm4>(*dm_, *operationEditor, *norms, writer);
        hours = std::make_unique<TForm132>();
        editor = std::make_unique<TForm11>(*dm_, *workers, *operations, *hours);
        outputGroups = std::make_unique<TForm134>(*dm_);
        distribution = std::make_unique<TForm33>(*dm_, *workers, *outputGroups);
        dm_->setShiftParams(Day, "ta");
        dm_->shiftList(1).open();
    }
    void TearDown() override {
        distribution.reset();
        outputGroups.reset();
        editor.reset();
        hours.reset();
        operations.reset();
        operationEditor.reset();
        norms.reset();
        groups.reset();
        products.reset();
        types.reset();
        workers.reset();
        workerEditor.reset();
        DbTest::TearDown();
    }

    // Clears the box and types the text into it key by key.
    static QString retype(QLineEdit* box, const QString& text) {
        box->clear();
        typeText(box, text);
        return box->text();
    }

    // A catalog editor of a name alone.
    QString enterName(QDialog* screen, QLineEdit* name, const QString& typed) {
        screen->show();
        const QString held = retype(name, typed);
        screen->findChild<QPushButton*>("Button1")->click();
        return held;
    }

    QString enterProduct(Field field, const QString& typed) {
        products->prepareAdd();
        products->show();
        products->Edit1->setText("Шкаф");
        products->Edit2->setText("1");
        products->cb_item->setCurrentIndex(products->cb_item->findData(50));
        const QString held =
            retype(field == Field::ProductName ? products->Edit1 : products->Edit2, typed);
        products->Button1->click();
        return held;
    }

    // A third norm of the plain operation, under its two.
    QString enterNorm(Field field, const QString& typed) {
        norms->load(1000);
        const QStringList cells = {"30", "4", "0"};
        for (int c = 0; c < 3; ++c)
            norms->DBGrid1->item(2, c)->setText(cells[c]);
        norms->DBGrid1->item(2, field == Field::Norm ? 0 : 1)->setText(typed);
        norms->Button1->click();
        return typed;
    }

    // A position of 40000 pieces, one rejected, in 8 hours, its operation taken from the
    // chooser.
    void fillPosition(bool paintingOperation) {
        editor->prepareAdd({Day, 1, false, &dm_->shiftList(1)});
        editor->show();
        editor->WorkerId = 1;
        editor->Edit1->setText("Иванов И.И.");
        const int operation = paintingOperation ? 1001 : 1000;
        whenModal([this, operation](QWidget*) {
            EXPECT_TRUE(dm_->Oper.locate("id", operation));
            operations->Button2->click();
        });
        editor->Button4->click();
        editor->Edit3->setText("40000");
        editor->Edit4->setText("1");
        editor->Edit6->setText("8");
        if (paintingOperation)
            editor->Edit5->setText("1");
    }

    QString enterPosition(Field field, const QString& typed) {
        fillPosition(field == Field::Colour);
        QString held;
        if (field == Field::Date) {
            // The digits of the day, the month and the year, typed over the selected day as after
            // a Tab; a filled section moves on to the next by itself.
            editor->DTimeP->setSelectedSection(QDateTimeEdit::DaySection);
            typeText(editor->DTimeP, QString(typed).remove('.'));
            held = editor->DTimeP->text();
        } else {
            const std::map<Field, QLineEdit*> boxes = {{Field::Pieces, editor->Edit3},
                                                       {Field::Rejects, editor->Edit4},
                                                       {Field::Hours, editor->Edit6},
                                                       {Field::Colour, editor->Edit5},
                                                       {Field::PlainColour, editor->Edit5}};
            held = retype(boxes.at(field), typed);
        }
        editor->Button1->click();
        return held;
    }

    // The hours of a helper of a saved position.
    QString enterHelperHours(const QString& typed) {
        fillPosition(false);
        editor->Button1->click();
        editor->CheckBox1->setChecked(true);
        QString held;
        whenModal([this, typed, &held](QWidget*) {
            EXPECT_TRUE(dm_->Workers.locate("id", 2));
            whenModal([this, typed, &held](QWidget* w) {
                EXPECT_EQ(w, hours.get());
                held = retype(hours->Edit1, typed);
                hours->Button1->click();
            });
            workers->Button2->click();
            if (workers->isVisible())
                workers->reject();
        });
        editor->Button5->click();
        return held;
    }

    // The hours of a painting operator who served worker 1's painting.
    QString enterOperatorHours(const QString& typed) {
        addPosition(1, 1, 1, Day.toString(Qt::ISODate), "no", 8, 100, 1001);
        distribution->prepare(DistributionKind::Painting, Day, 1);
        distribution->show();
        whenModal([this](QWidget*) {
            EXPECT_TRUE(dm_->Workers.locate("id", 2));
            workers->Button2->click();
        });
        distribution->Button3->click();
        whenModal([this](QWidget*) { outputGroups->Button1->click(); });
        distribution->Button5->click();
        const QString held = retype(distribution->Edit2, typed);
        distribution->Button1->click();
        return held;
    }

    Target target(Field field) {
        const QString position = "select %1 from accounts_dep.smena order by id desc limit 1";
        const QString positions = "select count(*) from accounts_dep.smena";
        switch (field) {
        case Field::WorkerName:
            return {[this](const QString& t) {
                        workerEditor->prepareAdd();
                        return enterName(workerEditor.get(), workerEditor->Edit1, t);
                    },
                    "select count(*) from accounts_dep.person",
                    "select fio from accounts_dep.person order by id desc limit 1"};
        case Field::TypeName:
            return {[this](const QString& t) {
                        types->prepareAdd();
                        return enterName(types.get(), types->Edit1, t);
                    },
                    "select count(*) from accounts_dep.vid_oper",
                    "select vid from accounts_dep.vid_oper order by id desc limit 1"};
        case Field::GroupName:
            return {[this](const QString& t) {
                        groups->prepareAdd();
                        return enterName(groups.get(), groups->Edit1, t);
                    },
                    "select count(*) from cmn_classifier.item",
                    "select s_caption from cmn_classifier.item order by id desc limit 1"};
        case Field::ProductName:
        case Field::ProductMass:
            return {[this, field](const QString& t) { return enterProduct(field, t); },
                    "select count(*) from cmn_gds_and_srv.gds_and_srv",
                    QString("select %1 from cmn_gds_and_srv.gds_and_srv order by id desc limit 1")
                        .arg(field == Field::ProductName ? "s_caption" : "massa::text")};
        case Field::Norm:
        case Field::NormPrice:
            return {[this, field](const QString& t) { return enterNorm(field, t); },
                    "select count(*) from accounts_dep.norm",
                    QString("select %1 from accounts_dep.norm order by id desc limit 1")
                        .arg(field == Field::Norm ? "norma" : "price::text")};
        case Field::Pieces:
            return {[this, field](const QString& t) { return enterPosition(field, t); }, positions,
                    position.arg("kol_vo::text")};
        case Field::Rejects:
            return {[this, field](const QString& t) { return enterPosition(field, t); }, positions,
                    position.arg("brak")};
        case Field::Hours:
            return {[this, field](const QString& t) { return enterPosition(field, t); }, positions,
                    position.arg("time")};
        case Field::Colour:
        case Field::PlainColour:
            // No colour is stored as 0, and reads back as an empty box.
            return {[this, field](const QString& t) { return enterPosition(field, t); }, positions,
                    position.arg("coalesce(nullif(color, 0)::text, '')")};
        case Field::Date:
            return {[this, field](const QString& t) { return enterPosition(field, t); }, positions,
                    position.arg("to_char(data, 'DD.MM.YYYY')")};
        case Field::HelperHours:
            return {
                [this](const QString& t) { return enterHelperHours(t); },
                "select count(*) from accounts_dep.person_temp",
                "select f_time::integer from accounts_dep.person_temp order by id desc limit 1"};
        case Field::OperatorHours:
            return {[this](const QString& t) { return enterOperatorHours(t); },
                    "select count(*) from accounts_dep.smena where o_id = 7780",
                    "select time from accounts_dep.smena where o_id = 7780"};
        }
        return {};
    }

    MessageLog log;
    SpreadsheetWriter writer;
    std::unique_ptr<TForm2> workerEditor;
    std::unique_ptr<TForm5> workers;
    std::unique_ptr<TForm9> types;
    std::unique_ptr<TForm7> products;
    std::unique_ptr<TForm29> groups;
    std::unique_ptr<TForm22> norms;
    std::unique_ptr<TForm10> operationEditor;
    std::unique_ptr<TForm4> operations;
    std::unique_ptr<TForm132> hours;
    std::unique_ptr<TForm11> editor;
    std::unique_ptr<TForm134> outputGroups;
    std::unique_ptr<TForm33> distribution;
};

} // namespace

TEST_P(BadInputTest, IsStoredAsTypedOrRefusedWithAMessage) {
    const Case& c = GetParam();
    const Target t = target(c.field);
    const int before = scalar(t.count).toInt();
    const QString held = t.enter(c.typed);
    QStringList messages;
    for (const Message& m : log.boxes())
        messages << m.text;
    const int written = scalar(t.count).toInt() - before;
    switch (c.outcome) {
    case Outcome::Refused:
        // What was typed reached the box, as far as the box's length allows.
        EXPECT_TRUE(c.typed.startsWith(held) && (held.isEmpty() == c.typed.isEmpty()))
            << held.toStdString();
        EXPECT_EQ(messages, QStringList{c.result});
        EXPECT_EQ(written, 0);
        break;
    case Outcome::Stored:
    case Outcome::Dropped: {
        const QString kept = c.outcome == Outcome::Stored ? c.typed : c.result;
        EXPECT_EQ(held, kept);
        EXPECT_EQ(messages, QStringList{});
        EXPECT_EQ(written, 1);
        EXPECT_EQ(scalar(t.value).toString(), kept);
        break;
    }
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, BadInputTest, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::string(info.param.name);
                         });
