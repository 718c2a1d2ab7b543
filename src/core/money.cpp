#include "core/money.h"

#include <limits>
#include <stdexcept>

namespace sdelka::fixed_detail {

namespace {

__extension__ typedef __int128 Int128;

constexpr Int128 Min = std::numeric_limits<qint64>::min();
constexpr Int128 Max = std::numeric_limits<qint64>::max();

[[noreturn]] void throwOverflow() {
    throw std::overflow_error("decimal number out of range");
}

qint64 narrow(Int128 value) {
    if (value < Min || value > Max)
        throwOverflow();
    return qint64(value);
}

// 10^n for n up to 38, the most an Int128 holds.
Int128 power(int n) {
    Int128 result = 1;
    while (n-- > 0)
        result *= 10;
    return result;
}

// n / d to the nearest integer; a tie goes to the even neighbour.
qint64 roundedQuotient(Int128 n, Int128 d) {
    Int128 q = n / d;
    const Int128 r = n % d;
    const Int128 twiceR = r < 0 ? -2 * r : 2 * r;
    const Int128 absD = d < 0 ? -d : d;
    if (twiceR > absD || (twiceR == absD && (q & 1) != 0))
        q += (n < 0) != (d < 0) ? -1 : 1;
    return narrow(q);
}

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isGroupSeparator(QChar c) {
    return c == QLatin1Char(' ') || c == QChar(0x00A0) || c == QChar(0x202F);
}

} // namespace

qint64 pow10(int n) {
    return narrow(power(n));
}

qint64 add(qint64 a, qint64 b) {
    qint64 result;
    if (__builtin_add_overflow(a, b, &result))
        throwOverflow();
    return result;
}

qint64 subtract(qint64 a, qint64 b) {
    qint64 result;
    if (__builtin_sub_overflow(a, b, &result))
        throwOverflow();
    return result;
}

qint64 multiply(qint64 a, qint64 b) {
    qint64 result;
    if (__builtin_mul_overflow(a, b, &result))
        throwOverflow();
    return result;
}

qint64 scaled(qint64 a, qint64 b, int shift) {
    const Int128 product = Int128(a) * b; // two qint64 always fit
    if (shift < 0)
        return roundedQuotient(product, power(-shift));
    Int128 result;
    if (__builtin_mul_overflow(product, power(shift), &result))
        throwOverflow();
    return narrow(result);
}

qint64 divided(qint64 a, qint64 b, int shift) {
    if (b == 0)
        throw std::domain_error("division by zero");
    if (shift < 0) // |b| * 10^18 still fits, and shift never goes below -18
        return roundedQuotient(a, Int128(b) * power(-shift));
    // A numerator beyond Int128 over a qint64 divisor is beyond qint64 as well.
    Int128 numerator;
    if (__builtin_mul_overflow(Int128(a), power(shift), &numerator))
        throwOverflow();
    return roundedQuotient(numerator, b);
}

std::optional<qint64> parse(QStringView text, int places, bool typed) {
    if (typed)
        text = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() &&
        (text[i] == QLatin1Char('-') || (typed && text[i] == QLatin1Char('+')))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    // The digits up to `places` decimals build the magnitude; of the rest only the first and
    // whether any later one is nonzero matter for rounding.
    Int128 magnitude = 0;
    bool anyDigit = false, afterMark = false, stickyTail = false;
    int decimals = 0, firstDropped = -1;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isDigit(c)) {
            const int digit = c.unicode() - '0';
            anyDigit = true;
            if (!afterMark || decimals < places) {
                magnitude = magnitude * 10 + digit;
                decimals += afterMark;
                if (magnitude > Max + 1)
                    return std::nullopt;
            } else if (firstDropped < 0) {
                firstDropped = digit;
            } else {
                stickyTail = stickyTail || digit != 0;
            }
        } else if (!afterMark && (c == QLatin1Char('.') || (typed && c == QLatin1Char(',')))) {
            afterMark = true;
        } else if (!(typed && !afterMark && isGroupSeparator(c) && i > 0 && isDigit(text[i - 1]) &&
                     i + 1 < text.size() && isDigit(text[i + 1]))) {
            return std::nullopt;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    for (; decimals < places; ++decimals) {
        magnitude *= 10;
        if (magnitude > Max + 1)
            return std::nullopt;
    }
    if (firstDropped > 5 || (firstDropped == 5 && (stickyTail || (magnitude & 1) != 0)))
        ++magnitude;
    const Int128 value = negative ? -magnitude : magnitude;
    if (value < Min || value > Max)
        return std::nullopt;
    return qint64(value);
}

QString format(qint64 units, int places, const QString& mark, const QString& group,
               bool dropZeros) {
    // The magnitude as unsigned, so that the lowest qint64 has one too.
    const quint64 magnitude = units < 0 ? 0 - quint64(units) : quint64(units);
    QString digits = QString::number(magnitude).rightJustified(places + 1, QLatin1Char('0'));
    QString whole = digits.left(digits.size() - places);
    QString fraction = digits.right(places);
    if (!group.isEmpty())
        for (qsizetype at = whole.size() - 3; at > 0; at -= 3)
            whole.insert(at, group);
    if (dropZeros)
        while (fraction.endsWith(QLatin1Char('0')))
            fraction.chop(1);
    // A plain hyphen in every locale, so that the text reads back with parse().
    QString result = units < 0 ? QStringLiteral("-") : QString();
    result += whole;
    if (!fraction.isEmpty())
        result += mark + fraction;
    return result;
}

} // namespace sdelka::fixed_detail
