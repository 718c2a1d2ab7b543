#include "core/build_stamp.h"
#include "core/decimal.h"
#include "core/roles.h"

#include <gtest/gtest.h>

using namespace sdelka;

TEST(NormalizeDecimal, ReplacesTheFirstMarkByTheSeparator) {
    struct Case {
        const char* text;
        const char* delimiter;
        const char* expected;
        const char* delimiterAfter;
    };
    const Case cases[] = {
        {"1.5", ",", "1,5", ","},     {"1,5", ".", "1.5", "."},     {"1,2,3", ".", "1.2,3", "."},
        {"12", ",", "12", ","},       {"1,5", "", "1.5", "."},      {"12", "", "12", ""},
        {"1.2.3", ",", "1,2.3", ","}, {"1.5,2", ".", "1.5.2", "."}, {"", ",", "", ","},
    };
    for (const Case& c : cases) {
        QString delimiter = QString::fromUtf8(c.delimiter);
        EXPECT_EQ(normalizeDecimal(QString::fromUtf8(c.text), delimiter),
                  QString::fromUtf8(c.expected))
            << c.text << " with '" << c.delimiter << "'";
        EXPECT_EQ(delimiter, QString::fromUtf8(c.delimiterAfter)) << c.text;
    }
}

TEST(Roles, CodesAreTrimmedAndCaseSensitive) {
    const std::pair<const char*, std::optional<Role>> cases[] = {
        {"53617280", Role::FullAccess}, {"8046", Role::FullAccess}, {"  8046 ", Role::FullAccess},
        {"vilbur", Role::Analyst},      {"pondike", Role::Foreman}, {"\tgrufo\n", Role::Warehouse},
        {"VILBUR", std::nullopt},       {"Pondike", std::nullopt},  {"", std::nullopt},
        {"   ", std::nullopt},          {"80 46", std::nullopt},    {"804", std::nullopt},
    };
    for (const auto& [code, role] : cases)
        EXPECT_EQ(roleForCode(QString::fromUtf8(code)), role) << "'" << code << "'";
}

TEST(Roles, EachRoleDisablesItsControls) {
    auto names = [](Role r) {
        QStringList out;
        for (const auto& c : restrictionsOf(r))
            out << c.screen + "." + c.control;
        out.sort();
        return out.join(" ");
    };
    EXPECT_EQ(names(Role::FullAccess), "");
    EXPECT_EQ(names(Role::Analyst),
              "TForm1.Button1 TForm1.Button2 TForm1.Button3 TForm1.Button8 TForm1.CBox1 "
              "TForm1.DBGrid2 TForm1.DateT TForm1.N11 TForm1.N2 TForm1.RadioButton1 "
              "TForm1.RadioButton2 TForm1.RadioButton3 TForm1.RadioButton4");
    EXPECT_EQ(names(Role::Foreman),
              "TForm1.Button2 TForm1.Button3 TForm1.N11 TForm1.N2 "
              "TForm18.Button1 TForm18.Button2 TForm18.Button4 TForm18.Button6");
    EXPECT_EQ(
        names(Role::Warehouse),
        "TForm1.Button1 TForm1.Button2 TForm1.Button3 TForm1.N11 TForm1.N2 "
        "TForm18.Button1 TForm18.Button2 TForm18.Button4 TForm18.Button6 TForm18.RadioGroup1");
}

TEST(BuildStamp, DateAndSecondsOfTheDay) {
    const BuildStamp s =
        BuildStamp::fromDateTime(QDateTime(QDate(2024, 10, 12), QTime(20, 38, 45)));
    EXPECT_EQ(s.date, 20241012);
    EXPECT_EQ(s.time, 74325);
    EXPECT_LT((BuildStamp{20241012, 74325}), (BuildStamp{20241012, 74326}));
    EXPECT_LT((BuildStamp{20241011, 86399}), (BuildStamp{20241012, 0}));
    EXPECT_EQ((BuildStamp{20241012, 5}), (BuildStamp{20241012, 5}));
}

#include "core/position_rules.h"

TEST(PositionRules, PriceAndHelperRate) {
    struct PriceCase {
        const char* base;
        bool dayOff;
        int shift;
        const char* expected;
    };
    const PriceCase prices[] = {
        {"10", false, 1, "10.0000"},    {"10", false, 2, "10.0000"},
        {"10", false, 3, "12.0000"},    {"10", false, 4, "15.0000"},
        {"10", true, 1, "20.0000"},     {"10", true, 3, "24.0000"},
        {"10", true, 4, "30.0000"},     {"10", false, 7, "10.0000"},
        {"0.1667", false, 3, "0.2000"}, {"0.1111", true, 3, "0.2666"},
        {"0.3333", false, 4, "0.5000"}, {"7", true, 4, "21.0000"},
    };
    for (const PriceCase& c : prices)
        EXPECT_EQ(positionPrice(*Price::parse(QString(c.base)), c.dayOff, c.shift).toDatabase(),
                  c.expected)
            << c.base << " " << c.dayOff << " " << c.shift;

    struct RateCase {
        const char* price;
        const char* pieces;
        int rejects, hours;
        const char* expected;
    };
    const RateCase rates[] = {
        {"5", "10", 2, 8, "3.50"},     {"5", "10", 2, 0, "0.00"},
        {"0.1667", "3", 0, 1, "0.35"}, {"1.25", "2.5", 0, 3, "0.73"},
        {"0.0125", "1", 0, 1, "0.01"}, {"9999.9999", "99999", 1, 1, "699985993.00"},
    };
    for (const RateCase& c : rates)
        EXPECT_EQ(helperRate(*Price::parse(QString(c.price)), *Quantity::parse(QString(c.pieces)),
                             c.rejects, c.hours)
                      .toDatabase(),
                  c.expected)
            << c.price << " " << c.pieces;
    EXPECT_TRUE(isPaintingOperation("Стол; краска порошковая; Заготовки"));
    EXPECT_FALSE(isPaintingOperation("Стол; Сборка; Готовая продукция"));
    EXPECT_EQ(operationDescription(" Стол ", "Сборка ", 0), "Стол; Сборка; Готовая продукция");
    EXPECT_EQ(operationDescription("Стол", "Сборка", 1), "Стол; Сборка; Заготовки");
}
