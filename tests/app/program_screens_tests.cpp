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
        if (opener == reg.Copy) // a copy left unsaved leaves the editor in no mode
            EXPECT_EQ(screens.positionEditor.Tag, TForm11::Mode::None);
        EXPECT_EQ(reg.DateT->date(), QDate::currentDate()) << screen;
        EXPECT_TRUE(dm_->Smena1.isOpen()) << screen;
    }
    // The prices list, the norms editor and the hours dialog open centred on the register, the
    // first two with fixed borders. (The prices list is wider than the test screen, which
    // pushes it back onto the screen.)
    reg.setGeometry(100, 50, 600, 500);
    reg.show();
    EXPECT_EQ(screens.operations.parentWidget(), &reg);
    for (QDialog* d : std::initializer_list<QDialog*>{&screens.norms, &screens.hoursDialog}) {
        EXPECT_EQ(d->parentWidget(), &reg) << d->objectName().toStdString();
        d->show();
        EXPECT_LE((d->frameGeometry().center() - reg.frameGeometry().center()).manhattanLength(), 4)
            << d->objectName().toStdString();
        d->hide();
    }
    for (QDialog* d : std::initializer_list<QDialog*>{&screens.operations, &screens.norms})
        EXPECT_EQ(d->minimumSize(), d->maximumSize()) << d->objectName().toStdString();
    // Screens still to come keep their controls visible and disabled.
    EXPECT_FALSE(reg.Button5->isEnabled());
    EXPECT_FALSE(reg.N9->isEnabled());
    EXPECT_FALSE(reg.N10->isEnabled());
}
