#include "app/login_window.h"
#include "register/register_screen.h"
#include "support/db_fixture.h"
#include "support/screen_helpers.h"

#include <QTest>

using namespace sdelka;
using namespace sdelka::test;

class LoginTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        reg = std::make_unique<TForm1>(*dm_);
        login = std::make_unique<TForm23>(*dm_, *reg, BuildStamp{20241012, 74325});
        login->endProgram = [this] { ++ended; };
        login->showRegister = [this] { ++registerShown; };
    }
    void TearDown() override {
        login.reset();
        reg.reset();
        DbTest::TearDown();
    }
    void typeAndEnter(const QString& code) {
        login->Edit1->clear();
        QTest::keyClicks(login->Edit1, code);
        login->Button1->click();
    }
    // The names of the register's controls that are disabled, in a fixed order.
    QStringList disabledOnRegister() {
        QStringList out;
        for (const char* name : {"Button1", "Button2", "Button3", "Button4", "Button5", "Button6",
                                 "Button7", "Button8", "RadioButton1", "RadioButton2",
                                 "RadioButton3", "RadioButton4", "CBox1", "DBGrid2", "DateT"}) {
            if (!control<QWidget>(reg.get(), name)->isEnabled())
                out << name;
        }
        for (QMenu* menu : {reg->N2, reg->N11, reg->N7}) {
            if (!menu->menuAction()->isEnabled())
                out << menu->objectName();
        }
        return out;
    }

    std::unique_ptr<TForm1> reg;
    std::unique_ptr<TForm23> login;
    int ended = 0;
    int registerShown = 0;
};

TEST_F(LoginTest, CodesAreTrimmedAndMatchedWithLetterCase) {
    MessageLog log;
    const std::pair<const char*, bool> cases[] = {
        {"", false},       {"8046x", false}, {"VILBUR", false},
        {"  grufo", true}, {"8046 ", true},  {"53617280", true},
    };
    for (const auto& [code, accepted] : cases) {
        log.clear();
        registerShown = 0;
        typeAndEnter(QString::fromUtf8(code));
        EXPECT_EQ(registerShown, accepted ? 1 : 0) << "'" << code << "'";
        if (!accepted) {
            EXPECT_EQ(log.last(), "Введены неверные данные.");
            EXPECT_EQ(log.boxes().at(0).caption, "Ошибка");
        } else {
            EXPECT_TRUE(log.empty());
            EXPECT_EQ(reg->LoginCode, QString::fromUtf8(code).trimmed());
        }
    }
    EXPECT_EQ(login->Edit1->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(login->Button1->isDefault());
}

TEST_F(LoginTest, EachRoleDisablesItsControlsOfTheRegister) {
    const std::pair<const char*, const char*> cases[] = {
        {"8046", ""},
        {"vilbur", "Button1 Button2 Button3 Button8 RadioButton1 RadioButton2 RadioButton3 "
                   "RadioButton4 CBox1 DBGrid2 DateT N2 N11"},
        {"pondike", "Button2 Button3 N2 N11"},
        {"grufo", "Button1 Button2 Button3 N2 N11"},
    };
    for (const auto& [code, disabled] : cases) {
        // Restrictions are never lifted, so each role gets a fresh register.
        login.reset();
        reg = std::make_unique<TForm1>(*dm_);
        login = std::make_unique<TForm23>(*dm_, *reg, BuildStamp{20241012, 74325});
        login->showRegister = [] {};
        login->endProgram = [] {};
        // Buttons whose screens are not built yet are disabled already; count only the role's.
        const QStringList before = disabledOnRegister();
        typeAndEnter(QString::fromUtf8(code));
        QStringList added;
        for (const QString& name : disabledOnRegister())
            if (!before.contains(name))
                added << name;
        QStringList expected = QString::fromUtf8(disabled).split(' ', Qt::SkipEmptyParts);
        for (const QString& name : before)
            expected.removeAll(name);
        EXPECT_EQ(added, expected) << code;
        EXPECT_EQ(reg->N11->menuAction()->isEnabled(), QString(code) == "8046") << code;
    }
}

TEST_F(LoginTest, LoginSetsShiftAndHiddenMarkThenEndsWhenTheRegisterCloses) {
    reg->CurrentShift = 3;
    typeAndEnter("8046");
    EXPECT_EQ(reg->CurrentShift, 1);
    for (int shift = 1; shift <= 4; ++shift)
        EXPECT_EQ(dm_->shiftList(shift).param("OK").toString(), "ta");
    EXPECT_EQ(registerShown, 1);
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(login->isVisible());
}

TEST_F(LoginTest, CancelEndsTheProgram) {
    login->Button2->click();
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(registerShown, 0);
}
