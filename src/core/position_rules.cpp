#include "core/position_rules.h"

#include <QLocale>

#include <cmath>

namespace sdelka {

double roundHalfEven(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    // Scaled values carry binary noise (0.16665 is 1666.4999...); a tiny nudge toward the
    // decimal the user typed keeps exact halves exact before rounding them to even.
    const double scaled = value * scale;
    const double nearest = std::round(scaled * 1e6) / 1e6;
    return std::nearbyint(nearest) / scale;
}

double positionPrice(double basePrice, bool dayOff, int shift) {
    double price = basePrice;
    if (dayOff)
        price *= 2;
    if (shift == 3)
        price *= 1.2;
    else if (shift == 4)
        price *= 1.5;
    return price;
}

double helperRate(double price, double pieces, double rejects, double hours) {
    if (hours <= 0)
        return 0;
    return roundHalfEven(0.7 * price * (pieces - rejects) / hours, 2);
}

bool positionDateAllowed(const QDate& day, const QDate& today) {
    return day.isValid() && day >= QDate(2000, 1, 1) && day <= today.addYears(1);
}

bool isPaintingOperation(const QString& description) {
    return description.toUpper().contains(QStringLiteral("КРАСКА"));
}

QString productKind(int naimen) {
    return naimen == 0 ? QStringLiteral("Готовая продукция") : QStringLiteral("Заготовки");
}

QString operationDescription(const QString& mark, const QString& type, int naimen) {
    return QStringLiteral("%1; %2; %3").arg(mark.trimmed(), type.trimmed(), productKind(naimen));
}

QString shownNumber(double value) {
    const QLocale locale;
    QString text = locale.toString(value, 'f', QLocale::FloatingPointShortest);
    return text.remove(locale.groupSeparator());
}

} // namespace sdelka
