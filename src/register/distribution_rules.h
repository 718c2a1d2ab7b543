#pragma once

#include "data/reserved_ids.h"

#include <QString>

#include <cstdint>

namespace sdelka {

// The two register buttons that open the distribution dialog: "Покраска" pays a painting
// operator, "Бригада" a brigade helper.
enum class DistributionKind { Painting, Brigade };

// What each kind means: the dialog's caption, the factor on the average hourly earnings (in
// tenths) and whether only painting types of operation are offered.
struct DistributionMode {
    QString caption;
    int factorTenths;
    bool paintingTypesOnly;
};

inline DistributionMode distributionMode(DistributionKind kind) {
    if (kind == DistributionKind::Brigade)
        return {QStringLiteral("Подсобный рабочий"), 7, false};
    return {QStringLiteral("Оператор покраски"), 12, true};
}

// The id written as the operator's position's product, operation and colour: the brigade
// helper's for the brigade factor, the painting operator's otherwise.
inline int distributionCode(int factorTenths) {
    return factorTenths == 7 ? reserved::BrigadeHelper : reserved::PaintingOperator;
}

// An operation type whose output a painting operator serves.
inline bool isPaintingType(int typeId) {
    return typeId == 2 || typeId == 3;
}

} // namespace sdelka

// The money rules of paying an operator (a painting operator or a brigade helper) from the
// output of a shift. Amounts are whole kopecks, so every rounding happens once, on an exact
// fraction, half to even.
namespace sdelka::distribution {

// Products of kopecks, factors and hours can pass 64 bits before they are divided.
__extension__ typedef __int128 Wide;

// The integer quotient of numerator / denominator (denominator above 0), rounded half to even.
inline std::int64_t divideHalfEven(Wide numerator, Wide denominator) {
    const bool negative = numerator < 0;
    if (negative)
        numerator = -numerator;
    Wide quotient = numerator / denominator;
    const Wide twiceRest = 2 * (numerator % denominator);
    if (twiceRest > denominator || (twiceRest == denominator && quotient % 2 != 0))
        ++quotient;
    return std::int64_t(negative ? -quotient : quotient);
}

// A group's earnings per hour in kopecks: its earnings over its hours (above 0).
inline std::int64_t hourlyEarnings(std::int64_t earningsKopecks, std::int64_t hours) {
    return divideHalfEven(earningsKopecks, hours);
}

// The operator's price of an hour and his total, in kopecks.
struct Share {
    std::int64_t price = 0;
    std::int64_t total = 0;
};

// From the picked groups' earnings and hours (both in hundredths), the factor in tenths and the
// hours the operator worked. The total is taken from the exact average, not from the rounded
// price. Hours of 0 give nothing to share.
inline Share operatorShare(std::int64_t sumKopecks, std::int64_t hoursHundredths, int factorTenths,
                           std::int64_t workedHours) {
    if (hoursHundredths <= 0)
        return {};
    // sum / hours * factor / 10 roubles, times 100 for kopecks.
    const Wide rate = Wide(sumKopecks) * factorTenths * 10;
    return {divideHalfEven(rate, hoursHundredths),
            divideHalfEven(rate * workedHours, hoursHundredths)};
}

// An amount as a decimal text with a point and two decimals, as the database reads it.
inline QString kopecksText(std::int64_t kopecks) {
    const std::int64_t whole = kopecks < 0 ? -kopecks : kopecks;
    return QStringLiteral("%1%2.%3")
        .arg(kopecks < 0 ? QStringLiteral("-") : QString())
        .arg(whole / 100)
        .arg(int(whole % 100), 2, 10, QLatin1Char('0'));
}

} // namespace sdelka::distribution
