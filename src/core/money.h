#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

#include <compare>
#include <optional>
#include <stdexcept> // the errors thrown below

namespace sdelka {

namespace fixed_detail {
// Checked arithmetic: a result outside qint64 throws std::overflow_error.
qint64 pow10(int n);
qint64 add(qint64 a, qint64 b);
qint64 subtract(qint64 a, qint64 b);
qint64 multiply(qint64 a, qint64 b);
// a * b * 10^shift, rounded half to even when shift is negative.
qint64 scaled(qint64 a, qint64 b, int shift);
// a * 10^shift / b, rounded half to even; std::domain_error when b is zero.
qint64 divided(qint64 a, qint64 b, int shift);
// The units of a number at `places` decimals: typed by a user (blanks, sign '+', ',' or '.',
// group separators) or as the server writes a numeric ('.', '-', nothing else).
std::optional<qint64> parse(QStringView text, int places, bool typed);
QString format(qint64 units, int places, const QString& mark, const QString& group, bool dropZeros);
} // namespace fixed_detail

// An exact decimal number with a fixed count of decimals, kept as one integer count of
// 10^-Places units. Money is never a double: a double cannot hold 0.1 exactly and sums of
// kopecks drift. Rounding happens only in the named operations, always half to even.
template <int Places> class Fixed {
    static_assert(Places >= 0 && Places <= 18, "qint64 holds at most 18 decimals");

public:
    static constexpr int places = Places;

    Fixed() = default;
    static Fixed fromUnits(qint64 units) { return Fixed(units); }
    static Fixed fromInt(qint64 whole) { return Fixed(fixed_detail::scaled(whole, 1, Places)); }
    qint64 units() const { return m_units; }

    // What a user typed; extra fraction digits are rounded half to even. None when the text is
    // not a number or does not fit.
    static std::optional<Fixed> parse(QStringView text) { return wrap(text, true); }
    // The server's text of a numeric column, "-1234.567800".
    static std::optional<Fixed> fromDatabase(QStringView text) { return wrap(text, false); }

    // The same number at another count of decimals; exact when To >= Places.
    template <int To> Fixed<To> rounded() const {
        return Fixed<To>::fromUnits(fixed_detail::scaled(m_units, 1, To - Places));
    }

    Fixed times(qint64 n) const { return Fixed(fixed_detail::multiply(m_units, n)); }

    bool isZero() const { return m_units == 0; }
    int sign() const { return (m_units > 0) - (m_units < 0); }

    Fixed operator-() const { return Fixed(fixed_detail::subtract(0, m_units)); }
    Fixed& operator+=(Fixed other) { return *this = *this + other; }
    Fixed& operator-=(Fixed other) { return *this = *this - other; }
    friend Fixed operator+(Fixed a, Fixed b) {
        return Fixed(fixed_detail::add(a.m_units, b.m_units));
    }
    friend Fixed operator-(Fixed a, Fixed b) {
        return Fixed(fixed_detail::subtract(a.m_units, b.m_units));
    }
    friend auto operator<=>(const Fixed&, const Fixed&) = default;

    // "1234.50": a point, no grouping, every decimal.
    QString toDatabase() const {
        return fixed_detail::format(m_units, Places, QStringLiteral("."), QString(), false);
    }
    // Every decimal, with the locale's decimal point and group separator: "1 234,50".
    QString toString(const QLocale& locale) const {
        const bool omit = locale.numberOptions() & QLocale::OmitGroupSeparator;
        return fixed_detail::format(m_units, Places, locale.decimalPoint(),
                                    omit ? QString() : locale.groupSeparator(), false);
    }
    // For an editor box the user may retype: no grouping, no trailing zeros ("0,1667", "30").
    QString toShortString(const QLocale& locale) const {
        return fixed_detail::format(m_units, Places, locale.decimalPoint(), QString(), true);
    }
    // Only for handing a finished number to a spreadsheet cell or a chart. Never feed the
    // result back into arithmetic.
    double toDouble() const { return double(m_units) / double(fixed_detail::pow10(Places)); }

private:
    explicit Fixed(qint64 units) : m_units(units) {}
    static std::optional<Fixed> wrap(QStringView text, bool typed) {
        if (const auto units = fixed_detail::parse(text, Places, typed))
            return Fixed(*units);
        return std::nullopt;
    }

    qint64 m_units = 0;
};

using Money = Fixed<2>;    // roubles and kopecks
using Price = Fixed<4>;    // the price of one piece
using Quantity = Fixed<6>; // pieces and hours, as the database keeps them

// The exact product, rounded once to R decimals.
template <int R, int A, int B> Fixed<R> multiply(Fixed<A> a, Fixed<B> b) {
    return Fixed<R>::fromUnits(fixed_detail::scaled(a.units(), b.units(), R - A - B));
}

// The quotient rounded once to R decimals; throws std::domain_error when b is zero.
template <int R, int A, int B> Fixed<R> divide(Fixed<A> a, Fixed<B> b) {
    return Fixed<R>::fromUnits(fixed_detail::divided(a.units(), b.units(), B + R - A));
}

} // namespace sdelka
