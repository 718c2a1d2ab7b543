#include "register/register_screen.h"
#include "support/db_fixture.h"
#include "support/screen_helpers.h"

#include <QCalendarWidget>
#include <QTableView>
#include <QTest>

using namespace sdelka;
using namespace sdelka::test;

class RegisterTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        seedCatalog();
        day = QDate::currentDate().addDays(-1);
        const QString d = day.toString(Qt::ISODate);
        addPosition(1, 1, 1, d, "да", 5);
        addPosition(2, 2, 1, d, "no", 3);
        addPosition(3, 1, 2, d, "ok", 4);
        addPosition(4, 2, 4, d, "no", 2);
        exec(QString("insert into accounts_dep.h_tabel(w_id, month, year, smena, d%1) values "
                     "(1, %2, %3, 1, 5)")
                 .arg(day.day())
                 .arg(day.month())
                 .arg(day.year()));
        dm_->setShiftParams(QVariant(), "ta");
        reg = std::make_unique<TForm1>(*dm_);
        reg->LoginCode = "8046";
        reg->show();
        reg->activate();
        pickDay(day);
    }
    void TearDown() override {
        reg.reset();
        DbTest::TearDown();
    }
    void pickDay(const QDate& d) {
        reg->DateT->setDate(d);
        QTest::keyClick(reg->DateT, Qt::Key_Return);
    }
    QStringList shown() {
        QStringList out;
        auto* model = reg->DBGrid2->model();
        for (int r = 0; r < model->rowCount(); ++r)
            out << model->index(r, 0).data().toString() + "|" +
                       model->index(r, 10).data().toString();
        return out;
    }
    void doubleClickRow(int row) {
        const QRect cell = reg->DBGrid2->visualRect(reg->DBGrid2->model()->index(row, 0));
        QTest::mouseClick(reg->DBGrid2->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(reg->DBGrid2->viewport(), Qt::LeftButton, {}, cell.center());
    }
    QString mark(int id) {
        return scalar(QString("select ok from accounts_dep.smena where id=%1").arg(id)).toString();
    }
    std::unique_ptr<TForm1> reg;
    QDate day;
};

TEST_F(RegisterTest, ShiftButtonsShowEachListWithoutANewQuery) {
    EXPECT_EQ(shown(), QStringList({"Иванов И.И.|да", "Петров П.П.|no"}));
    const long long trips = db_->roundTrips();
    const std::pair<QRadioButton*, QStringList> cases[] = {
        {reg->RadioButton2, {"Иванов И.И.|ok"}},
        {reg->RadioButton3, {}},
        {reg->RadioButton4, {"Петров П.П.|no"}},
        {reg->RadioButton1, {"Иванов И.И.|да", "Петров П.П.|no"}},
    };
    int shift = 2;
    for (const auto& [button, rows] : cases) {
        button->click();
        EXPECT_EQ(reg->CurrentShift, shift == 5 ? 1 : shift);
        EXPECT_EQ(shown(), rows) << shift;
        for (QRadioButton* b :
             {reg->RadioButton1, reg->RadioButton2, reg->RadioButton3, reg->RadioButton4}) {
            EXPECT_EQ(b->font().bold(), b == button);
            EXPECT_EQ(b->palette().color(QPalette::Window) == QColor(0, 128, 0), b == button);
        }
        ++shift;
    }
    EXPECT_EQ(db_->roundTrips(), trips);
    // The hidden bonus column and the widths of the grid.
    EXPECT_TRUE(reg->DBGrid2->isColumnHidden(9));
    EXPECT_EQ(reg->DBGrid2->columnWidth(0), 250);
    EXPECT_EQ(reg->DBGrid2->model()->headerData(8, Qt::Horizontal).toString(), "Итого (р.)");
    EXPECT_EQ(reg->DBGrid2->model()->index(0, 8).data().toString(),
              QLocale().toString(22.5, 'f', QLocale::FloatingPointShortest));
}

TEST_F(RegisterTest, ATypedDateReloadsOnlyWithEnterAndActivationShowsToday) {
    const QDate other = day.addDays(-10);
    reg->DateT->setDate(other); // typed, not confirmed
    EXPECT_EQ(dm_->Smena1.param("data").toDate(), day);
    EXPECT_EQ(shown().size(), 2);
    QTest::keyClick(reg->DateT, Qt::Key_Enter);
    EXPECT_EQ(dm_->Smena1.param("data").toDate(), other);
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_EQ(reg->CBox1->isChecked(), other.dayOfWeek() >= 6);

    // After a dialog the register opened closes: today's date and all four lists anew.
    QDialog dialog(reg.get());
    whenModal([](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
    reg->openModal(dialog);
    EXPECT_EQ(reg->DateT->date(), QDate::currentDate());
    for (int shift = 1; shift <= 4; ++shift) {
        EXPECT_EQ(dm_->shiftList(shift).param("data").toDate(), QDate::currentDate());
        EXPECT_TRUE(dm_->shiftList(shift).isOpen());
    }
}

TEST_F(RegisterTest, ADateChosenInTheCalendarWithTheKeysReloads) {
    // Open the drop-down calendar, step a day back with the arrow key and take it with Enter.
    reg->DateT->setFocus();
    QTest::keyClick(reg->DateT, Qt::Key_F4);
    QCalendarWidget* calendar = reg->DateT->calendarWidget();
    auto* view = calendar->findChild<QTableView*>();
    ASSERT_NE(view, nullptr);
    QTest::keyClick(view, Qt::Key_Left);
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return dm_->Smena1.param("data").toDate() == day.addDays(-1); }, 2000));
    EXPECT_EQ(reg->DateT->date(), day.addDays(-1));
    EXPECT_TRUE(shown().isEmpty());
}

TEST_F(RegisterTest, DayOffCheckBoxColours) {
    reg->CBox1->setChecked(true);
    EXPECT_TRUE(reg->CBox1->font().bold());
    EXPECT_EQ(reg->CBox1->palette().color(QPalette::Window), QColor(255, 0, 0));
    reg->CBox1->setChecked(false);
    EXPECT_FALSE(reg->CBox1->font().bold());
    EXPECT_NE(reg->CBox1->palette().color(QPalette::Window), QColor(255, 0, 0));
}

TEST_F(RegisterTest, DoubleClickCyclesTheMarkAndColoursIt) {
    auto okColour = [&](int row) {
        return reg->DBGrid2->model()->index(row, 10).data(Qt::ForegroundRole).value<QColor>();
    };
    EXPECT_EQ(okColour(0), QColor(0, 128, 0));
    EXPECT_EQ(okColour(1), QColor(255, 0, 0));
    EXPECT_TRUE(reg->DBGrid2->model()->index(0, 10).data(Qt::FontRole).value<QFont>().bold());
    const char* cycle[] = {"no", "ok", "no"};
    for (const char* expected : cycle) {
        doubleClickRow(0);
        EXPECT_EQ(mark(1), expected);
        EXPECT_EQ(dm_->Smena1.recNo(), 1);
        EXPECT_EQ(okColour(0), QString(expected) == "ok" ? QColor(0, 128, 0) : QColor(255, 0, 0));
    }
    // The second row stays where the user left it.
    doubleClickRow(1);
    EXPECT_EQ(mark(2), "ok");
    EXPECT_EQ(dm_->Smena1.recNo(), 2);
}

TEST_F(RegisterTest, TheForemanCannotAcceptAndTheAnalystsGridDoesNotReact) {
    reg->LoginCode = "pondike";
    doubleClickRow(0);
    EXPECT_EQ(mark(1), "да");
    reg->LoginCode = "vilbur";
    reg->DBGrid2->setEnabled(false);
    doubleClickRow(1);
    EXPECT_EQ(mark(2), "no");
}

TEST_F(RegisterTest, DeletionAsksAndKeepsTheLedgerInStep) {
    MessageLog log;
    log.answer({Answer::No});
    reg->Button3->click();
    ASSERT_EQ(log.boxes().size(), 1u);
    EXPECT_EQ(log.last(), "Удалить позицию из списка?");
    EXPECT_EQ(log.boxes()[0].caption, "Удаление");
    EXPECT_EQ(log.boxes()[0].kind, MessageKind::Question);
    EXPECT_EQ(scalar("select count(*) from accounts_dep.smena").toInt(), 4);

    // A date typed but never confirmed does not misdirect the ledger.
    reg->DateT->setDate(day.addDays(-3));
    log.answer({Answer::Yes});
    reg->Button3->click();
    EXPECT_EQ(scalar("select count(*) from accounts_dep.smena where id=1").toInt(), 0);
    EXPECT_EQ(shown(), QStringList{"Петров П.П.|no"});
    // Worker 1 has no position left in shift 1 that month: his row is gone.
    EXPECT_EQ(scalar("select count(*) from accounts_dep.h_tabel where w_id=1 and smena=1").toInt(),
              0);
    EXPECT_TRUE(log.boxes().size() == 2);
}

TEST_F(RegisterTest, EscapeClosesTheRegisterAndUnbuiltScreensAreDisabled) {
    for (QPushButton* b : {reg->Button1, reg->Button2, reg->Button5, reg->Button6, reg->Button7})
        EXPECT_TRUE(b->isVisible() && !b->isEnabled()) << b->text().toStdString();
    EXPECT_TRUE(reg->Button3->isEnabled());
    QTest::keyClick(reg.get(), Qt::Key_Escape);
    EXPECT_FALSE(reg->isVisible());
}
