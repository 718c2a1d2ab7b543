#include "app/login_window.h"
#include "app/version_check.h"
#include "register/register_screen.h"
#include "support/db_fixture.h"
#include "support/screen_helpers.h"

#include <QElapsedTimer>
#include <QTest>

using namespace sdelka;
using namespace sdelka::test;

using VersionCheckTest = DbTest;

TEST_F(VersionCheckTest, OlderEqualAndNewerStamps) {
    exec("update accounts_dep.ver set d=20241012, t=74325, delim=','");
    struct Case {
        BuildStamp build;
        VersionOutcome outcome;
        const char* storedAfter;
    };
    const Case cases[] = {
        {{20241012, 74325}, VersionOutcome::Current, "20241012/74325"},
        {{20241012, 74324}, VersionOutcome::NewerBuildRan, "20241012/74325"},
        {{20241011, 86399}, VersionOutcome::NewerBuildRan, "20241012/74325"},
        {{20241012, 74326}, VersionOutcome::Stamped, "20241012/74326"},
        {{20241013, 0}, VersionOutcome::Stamped, "20241013/0"},
        {{20241012, 80000}, VersionOutcome::NewerBuildRan, "20241013/0"},
    };
    for (const Case& c : cases) {
        dm_->DecimalDelimiter.clear();
        EXPECT_EQ(checkVersion(*dm_, c.build), c.outcome) << c.build.date << "." << c.build.time;
        EXPECT_EQ(scalar("select d||'/'||t from accounts_dep.ver").toString(), c.storedAfter);
        EXPECT_EQ(dm_->DecimalDelimiter, ",");
    }
    EXPECT_EQ(scalar("select count(*) from accounts_dep.ver").toInt(), 1);
}

TEST_F(VersionCheckTest, AnEmptyTableReceivesTheStamp) {
    exec("delete from accounts_dep.ver");
    EXPECT_EQ(checkVersion(*dm_, {20250101, 10}), VersionOutcome::Stamped);
    EXPECT_EQ(scalar("select d||'/'||t from accounts_dep.ver").toString(), "20250101/10");
    EXPECT_EQ(checkVersion(*dm_, {20250101, 10}), VersionOutcome::Current);
}

TEST_F(VersionCheckTest, LoginWindowShowsTheRunningStampAndEndsAfterANewerBuild) {
    exec("update accounts_dep.ver set d=20300101, t=1");
    MessageLog log;
    TForm1 reg(*dm_);
    TForm23 login(*dm_, reg, {20241012, 74325});
    int ended = 0;
    login.endProgram = [&] { ++ended; };

    login.onActivate();
    EXPECT_EQ(login.windowTitle(), "Авторизация (build: 20241012.74325)");
    ASSERT_EQ(log.boxes().size(), 1u);
    EXPECT_EQ(log.last(), "Версия программы не соответсвует БД! Запустите программу через 5 мин.");
    EXPECT_EQ(log.boxes()[0].caption, "Ошибка");
    EXPECT_EQ(log.boxes()[0].kind, MessageKind::Error);
    EXPECT_EQ(ended, 1); // the user closed the message

    // Nobody closes the message: the login window's timer ends the program after 5 seconds.
    EXPECT_TRUE(login.Timer1->isActive());
    EXPECT_EQ(login.Timer1->interval(), 5000);
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ended == 2; }, 8000));
    EXPECT_GE(clock.elapsed(), 4500);
}

TEST_F(VersionCheckTest, ACurrentBuildStartsNormally) {
    exec("update accounts_dep.ver set d=20241012, t=74325");
    MessageLog log;
    TForm1 reg(*dm_);
    TForm23 login(*dm_, reg, {20241012, 74325});
    int ended = 0;
    login.endProgram = [&] { ++ended; };
    login.onActivate();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(ended, 0);
    EXPECT_FALSE(login.Timer1->isActive());
    EXPECT_TRUE(reg.Timer1->isActive());
    EXPECT_EQ(reg.Timer1->interval(), 30000);
}
