#include "app/program_screens.h"
#include "support/db_fixture.h"
#include "support/screen_helpers.h"

using namespace sdelka;
using namespace sdelka::test;

using ProgramScreensTest = DbTest;

TEST_F(ProgramScreensTest, EveryBuiltScreenOpensFromTheRegisterWhichThenShowsToday) {
    seedCatalog();
    addPosition(1, 1, 1, QDate::currentDate().toString(Qt::ISODate), "no");
    dm_->setShiftParams(QVariant(), "ta");
    TForm1 reg(*dm_);
    ProgramScreens screens(*dm_, reg);
    reg.activate();
    dm_->Smena1.first();

    const std::pair<QObject*, const char*> openers[] = {
        {reg.N1, "TForm5"},       {reg.N3, "TForm3"},    {reg.N4, "TForm4"},
        {reg.N6, "TForm8"},       {reg.N8, "TForm26"},   {reg.Button1, "TForm11"},
        {reg.Button2, "TForm11"}, {reg.Copy, "TForm11"}, {reg.Button6, "TForm33"},
        {reg.Button7, "TForm33"},
    };
    for (const auto& [opener, screen] : openers) {
        QString opened;
        whenModal([&opened](QWidget* w) {
            opened = w->objectName();
            static_cast<QDialog*>(w)->reject();
        });
        reg.DateT->setDate(QDate::currentDate().addDays(-5));
        if (auto* action = qobject_cast<QAction*>(opener)) {
            EXPECT_TRUE(action->isEnabled()) << screen;
            action->trigger();
        } else {
            auto* button = qobject_cast<QPushButton*>(opener);
            EXPECT_TRUE(button->isEnabled()) << screen;
            button->click();
        }
        EXPECT_EQ(opened, screen);
        EXPECT_EQ(reg.DateT->date(), QDate::currentDate()) << screen;
        EXPECT_TRUE(dm_->Smena1.isOpen()) << screen;
    }
    // Screens still to come keep their controls visible and disabled.
    EXPECT_FALSE(reg.Button5->isEnabled());
    EXPECT_FALSE(reg.N9->isEnabled());
    EXPECT_FALSE(reg.N10->isEnabled());
}
