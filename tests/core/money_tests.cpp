#include "core/money.h"
#include "support/printers.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

using namespace sdelka;

namespace {

constexpr qint64 Max = std::numeric_limits<qint64>::max();
constexpr qint64 Min = std::numeric_limits<qint64>::min();

QString u(const char* text) {
    return QString::fromUtf8(text);
}

template <int P> std::optional<qint64> unitsOf(const std::optional<Fixed<P>>& value) {
    return value ? std::optional<qint64>(value->units()) : std::nullopt;
}

Quantity qty(const char* text) {
    return Quantity::fromDatabase(u(text)).value();
}

const QLocale russian(QLocale::Russian, QLocale::Russia);

struct ParseCase {
    const char* text;
    std::optional<qint64> units;
};

} // namespace

TEST(FixedParse, ReadsWhatAUserTypes) {
    const ParseCase cases[] = {
        {"0", 0},
        {"12", 1200},
        {"1,5", 150},
        {"1.05", 105},
        {"  -0,5 ", -50},
        {"+3", 300},
        {"-0", 0},
        {",5", 50},
        {"5.", 500},
        {"007,10", 710},
        {"\t12\n", 1200},
        {"1 234,50", 123450},
        {"1\u00A0234,5", 123450},
        {"1\u202F000\u202F000", 100000000},
        {"92233720368547758.07", Max},
        {"-92 233 720 368 547 758,08", Min},
        // Extra decimals: ties go to the even kopeck, anything past a tie goes up.
        {"2,675", 268},
        {"2,665", 266},
        {"2,6650000", 266},
        {"2,66500001", 267},
        {"2,6649999", 266},
        {"-2,675", -268},
        {"-2,665", -266},
        {"0,005", 0},
        {"0,015", 2},
        {"9,995", 1000},
        {"0,00999", 1},
    };
    for (const ParseCase& c : cases)
        EXPECT_EQ(unitsOf(Money::parse(u(c.text))), c.units) << c.text;
}

TEST(FixedParse, RejectsWhatIsNotOneNumber) {
    const char* cases[] = {
        // Not a number, or more than one.
        "", " ", "-", "+", ",", ".", "abc", "1,2,3", "1.2.3", "1,2.3", "1.234,5", "1e5", "0x10",
        "--1", "-+1", "1-", "12р", "١٢",
        // Separators only single and between digits of the whole part.
        "- 1", "1  234", "1 234 ,5", "1,5 0", " 1 ,5", "1_000", "1'000",
        // Beyond qint64, also after rounding.
        "92233720368547758.08", "-92233720368547758.09", "92233720368547758.075",
        "123456789012345678901234567890",
        // 2^128 + 5 kopecks: reads as 0,05 if the digits are gathered in 128 bits unchecked.
        "3402823669209384634633746074317682114.61"};
    for (const char* text : cases)
        EXPECT_EQ(Money::parse(u(text)), std::nullopt) << text;
}

TEST(FixedParse, RoundsExtraDecimalsOfAPriceHalfToEven) {
    const ParseCase cases[] = {
        {"0.16665", 1666},   {"0,16675", 1668}, {"0.166650001", 1667}, {"-0.16665", -1666},
        {"-0.16675", -1668}, {"0.00005", 0},    {"0.00015", 2},        {"0.99995", 10000},
        {"0.1667", 1667},    {"30", 300000},
    };
    for (const ParseCase& c : cases)
        EXPECT_EQ(unitsOf(Price::parse(u(c.text))), c.units) << c.text;
}

TEST(FixedParse, ReadsOnlyTheServersNumericText) {
    const ParseCase cases[] = {
        {"1234.567800", 1234567800},
        {"-0.5", -500000},
        {"3", 3000000},
        {"0.000000", 0},
        {"0.0000005", 0},
        {"0.0000015", 2},
        {"12.3456785", 12345678},
        {"12.34567851", 12345679},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"1,5", std::nullopt},
        {"+1", std::nullopt},
        {" 1", std::nullopt},
        {"1 000", std::nullopt},
        {"NaN", std::nullopt},
        {"1.2.3", std::nullopt},
        {"9223372036854.775808", std::nullopt},
    };
    for (const ParseCase& c : cases)
        EXPECT_EQ(unitsOf(Quantity::fromDatabase(u(c.text))), c.units) << c.text;
}

TEST(FixedRounding, RescalesHalfToEven) {
    struct Case {
        qint64 price;
        qint64 money;
    };
    const Case cases[] = {
        {1250, 12}, {1350, 14},   {-1250, -12}, {-1350, -14}, {1251, 13},
        {1249, 12}, {-1251, -13}, {49, 0},      {50, 0},      {150, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Price::fromUnits(c.price).rounded<2>().units(), c.money) << c.price;

    EXPECT_EQ(Money::fromUnits(-150).rounded<4>().units(), -15000);
    EXPECT_EQ(qty("2.5").rounded<0>().units(), 2);
    EXPECT_THROW(Money::fromUnits(Max).rounded<4>(), std::overflow_error);
}

TEST(FixedRounding, MultipliesExactlyAndRoundsOnce) {
    struct Case {
        const char* price;
        const char* pieces;
        qint64 money;
    };
    const Case cases[] = {
        {"0.1667", "3", 50},
        {"0.1667", "30", 500},
        {"0.2675", "10", 268},
        {"0.2665", "10", 266},
        {"-0.1325", "10", -132},
        {"0.1325", "-10", -132},
        {"0.1335", "-10", -134},
        // 0.025000400 goes up; rounding to four places first would give the tie 0.0250 and
        // then 0.02.
        {"0.0250", "1.000016", 3},
        // The exact product, 10^19 units, is past qint64 before it is rounded.
        {"1000", "1000000", 100000000000},
    };
    for (const Case& c : cases) {
        const Price price = Price::parse(u(c.price)).value();
        EXPECT_EQ(multiply<2>(price, qty(c.pieces)).units(), c.money)
            << c.price << " x " << c.pieces;
    }
    EXPECT_THROW(multiply<2>(Money::fromUnits(Max / 2 + 1), qty("2")), std::overflow_error);
}

TEST(FixedRounding, DividesRoundingOnceHalfToEven) {
    struct Case {
        const char* sum;
        const char* divisor;
        qint64 money;
    };
    const Case cases[] = {
        // Without the regional coefficient.
        {"100.00", "1.2", 8333},
        {"120.00", "1.2", 10000},
        {"0.03", "1.2", 2},
        {"0.09", "1.2", 8},
        {"-0.03", "1.2", -2},
        {"-0.09", "1.2", -8},
        // Per hour.
        {"100.00", "7.5", 1333},
        {"1.00", "8", 12},
        {"3.00", "8", 38},
        {"1.00", "-8", -12},
        {"0.00", "3", 0},
    };
    for (const Case& c : cases) {
        const Money sum = Money::fromDatabase(u(c.sum)).value();
        EXPECT_EQ(divide<2>(sum, qty(c.divisor)).units(), c.money) << c.sum << " / " << c.divisor;
    }
    EXPECT_EQ(divide<4>(Money::fromInt(1), qty("6")).units(), 1667);
    EXPECT_EQ(divide<0>(qty("7.5"), Money::fromInt(2)).units(), 4);
    EXPECT_EQ(divide<0>(qty("2.5"), Money::fromInt(1)).units(), 2);
    EXPECT_THROW(divide<2>(Money::fromInt(1), Quantity()), std::domain_error);
    EXPECT_THROW(divide<6>(Money::fromUnits(Max), qty("0.000001")), std::overflow_error);
}

TEST(FixedArithmetic, IsExactAndChecked) {
    Money total;
    for (int i = 0; i < 10; ++i)
        total += Money::fromUnits(10);
    EXPECT_EQ(total, Money::fromInt(1));
    total -= Money::fromUnits(105);
    EXPECT_EQ(total.units(), -5);
    EXPECT_EQ((-total).units(), 5);
    EXPECT_EQ((Money::fromUnits(7) - Money::fromUnits(10)).units(), -3);
    EXPECT_EQ(Money::fromUnits(5).times(-3).units(), -15);
    EXPECT_EQ(Price::fromInt(-2).units(), -20000);

    EXPECT_LT(Money::fromUnits(105), Money::fromUnits(150));
    EXPECT_GT(Money::fromUnits(-50), Money::fromUnits(-51));
    EXPECT_EQ(Money::fromUnits(-50).sign(), -1);
    EXPECT_EQ(Money::fromUnits(1).sign(), 1);
    EXPECT_EQ(Money().sign(), 0);
    EXPECT_TRUE(Money().isZero());
    EXPECT_FALSE(Money::fromUnits(-1).isZero());

    const Money max = Money::fromUnits(Max), min = Money::fromUnits(Min);
    const Money one = Money::fromUnits(1);
    EXPECT_THROW(max + one, std::overflow_error);
    EXPECT_THROW(min - one, std::overflow_error);
    EXPECT_THROW(-min, std::overflow_error);
    EXPECT_THROW(Money(min) += -one, std::overflow_error);
    EXPECT_THROW(Money(max) -= -one, std::overflow_error);
    EXPECT_THROW(max.times(2), std::overflow_error);
    EXPECT_THROW(Money::fromInt(Max / 100 + 1), std::overflow_error);
    EXPECT_EQ((max + min).units(), -1);
}

TEST(FixedFormat, WritesMoneyForTheServerAndTheUser) {
    struct Case {
        qint64 units;
        const char* database;
        const char* full;
        const char* shortText;
    };
    const Case cases[] = {
        {123450, "1234.50", "1\u00A0234,50", "1234,5"},
        {-50, "-0.50", "-0,50", "-0,5"},
        {105, "1.05", "1,05", "1,05"},
        {100000000, "1000000.00", "1\u00A0000\u00A0000,00", "1000000"},
        {0, "0.00", "0,00", "0"},
        {7, "0.07", "0,07", "0,07"},
        {99999, "999.99", "999,99", "999,99"},
        {100000, "1000.00", "1\u00A0000,00", "1000"},
        {-12345678, "-123456.78", "-123\u00A0456,78", "-123456,78"},
        {Min, "-92233720368547758.08", "-92\u00A0233\u00A0720\u00A0368\u00A0547\u00A0758,08",
         "-92233720368547758,08"},
    };
    for (const Case& c : cases) {
        const Money value = Money::fromUnits(c.units);
        EXPECT_EQ(value.toDatabase(), u(c.database)) << c.units;
        EXPECT_EQ(value.toString(russian), u(c.full)) << c.units;
        EXPECT_EQ(value.toShortString(russian), u(c.shortText)) << c.units;
        // What the program writes, it reads back.
        EXPECT_EQ(Money::fromDatabase(value.toDatabase()), value) << c.units;
        EXPECT_EQ(Money::parse(value.toString(russian)), value) << c.units;
        EXPECT_EQ(Money::parse(value.toShortString(russian)), value) << c.units;
    }
}

TEST(FixedFormat, WritesPricesAndQuantities) {
    struct Case {
        qint64 units;
        const char* database;
        const char* shortText;
    };
    const Case cases[] = {
        {1667, "0.1667", "0,1667"}, {300000, "30.0000", "30"}, {-15000, "-1.5000", "-1,5"},
        {10500, "1.0500", "1,05"},  {5, "0.0005", "0,0005"},   {0, "0.0000", "0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Price::fromUnits(c.units).toDatabase(), u(c.database)) << c.units;
        EXPECT_EQ(Price::fromUnits(c.units).toShortString(russian), u(c.shortText)) << c.units;
    }
    EXPECT_EQ(Quantity().toDatabase(), u("0.000000"));
    EXPECT_EQ(qty("1234.5").toString(russian), u("1\u00A0234,500000"));
    EXPECT_EQ(Fixed<0>::fromInt(-1234).toDatabase(), u("-1234"));
    EXPECT_EQ(Fixed<0>::fromInt(-1234).toString(russian), u("-1\u00A0234"));
}

TEST(FixedFormat, FollowsTheLocalesSeparators) {
    const Money value = Money::fromUnits(123456789);
    QLocale withoutGroups = russian;
    withoutGroups.setNumberOptions(QLocale::OmitGroupSeparator);
    EXPECT_EQ(value.toString(withoutGroups), u("1234567,89"));
    EXPECT_EQ(value.toString(QLocale(QLocale::English, QLocale::UnitedStates)), u("1,234,567.89"));
    EXPECT_EQ(value.toString(QLocale::c()), u("1234567.89"));
    EXPECT_EQ(value.toShortString(QLocale(QLocale::English, QLocale::UnitedStates)),
              u("1234567.89"));
}

TEST(FixedFormat, HandsOverTheNearestDouble) {
    EXPECT_EQ(Money::fromUnits(123450).toDouble(), 1234.5);
    EXPECT_EQ(Money::fromUnits(-50).toDouble(), -0.5);
    EXPECT_EQ(Price::fromUnits(1667).toDouble(), 0.1667);
    EXPECT_EQ(Money::fromUnits(10).toDouble(), 0.1);
}
