#include "core/norms.h"

#include <cmath>
#include <limits>

namespace sdelka {

std::optional<double> parseDecimal(const QString& text) {
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = t.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

namespace {
std::optional<int> parseWhole(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}
} // namespace

NormCheck checkNorm(const NormInput& input) {
    const auto norma = parseWhole(input.norma);
    if (!norma || *norma < 0)
        return {std::nullopt, QStringLiteral("Норматив должен быть целым числом не меньше 0.")};
    const auto price = parseDecimal(input.price);
    if (!price || *price < 0)
        return {std::nullopt, QStringLiteral("Цена должна быть числом не меньше 0.")};
    const auto prize =
        input.prize.trimmed().isEmpty() ? std::optional<int>(0) : parseWhole(input.prize);
    if (!prize || *prize < 0)
        return {std::nullopt, QStringLiteral("Премия должна быть целым числом не меньше 0.")};
    return {Norm{*norma, *price, *prize}, {}};
}

} // namespace sdelka
