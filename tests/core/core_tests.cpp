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

TEST(PositionRules, PriceRoundingAndHelperRate) {
    struct PriceCase {
        double base;
        bool dayOff;
        int shift;
        double expected;
    };
    const PriceCase prices[] = {{10, false, 1, 10}, {10, false, 2, 10}, {10, false, 3, 12},
                                {10, false, 4, 15}, {10, true, 1, 20},  {10, true, 3, 24},
                                {10, true, 4, 30},  {10, false, 7, 10}};
    for (const PriceCase& c : prices)
        EXPECT_DOUBLE_EQ(positionPrice(c.base, c.dayOff, c.shift), c.expected)
            << c.base << " " << c.dayOff << " " << c.shift;

    const std::tuple<double, int, double> rounding[] = {
        {0.16666, 4, 0.1667}, {0.16665, 4, 0.1666}, {0.16675, 4, 0.1668}, {2.5, 0, 2},
        {3.5, 0, 4},          {1.005, 2, 1.0},      {3.73333, 2, 3.73},   {-0.125, 2, -0.12}};
    for (const auto& [value, decimals, expected] : rounding)
        EXPECT_DOUBLE_EQ(roundHalfEven(value, decimals), expected) << value;

    EXPECT_DOUBLE_EQ(helperRate(5, 10, 2, 8), 3.5);
    EXPECT_DOUBLE_EQ(helperRate(5, 10, 2, 0), 0);
    EXPECT_TRUE(isPaintingOperation("Стол; краска порошковая; Заготовки"));
    EXPECT_FALSE(isPaintingOperation("Стол; Сборка; Готовая продукция"));
    EXPECT_EQ(operationDescription(" Стол ", "Сборка ", 0), "Стол; Сборка; Готовая продукция");
    EXPECT_EQ(operationDescription("Стол", "Сборка", 1), "Стол; Сборка; Заготовки");
}
