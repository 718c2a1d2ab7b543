#include "core/position_rules.h"

#include <QLocale>

namespace sdelka {

Price positionPrice(Price basePrice, bool dayOff, int shift) {
    // The factors multiply: a day off in the third shift is 2.4 times the base price.
    qint64 tenths = dayOff ? 20 : 10;
    if (shift == 3)
        tenths = tenths * 12 / 10;
    else if (shift == 4)
        tenths = tenths * 15 / 10;
    return multiply<4>(basePrice, Fixed<1>::fromUnits(tenths));
}

Money helperRate(Price price, Quantity pieces, qint64 rejects, qint64 hours) {
    if (hours <= 0)
        return {};
    // The position's earnings at six decimals (far finer than a kopeck, and room for any
    // output), 70 per cent of it exactly, then one rounding to kopecks per hour.
    const Quantity earned = multiply<6>(price, pieces - Quantity::fromInt(rejects));
    return divide<2>(multiply<7>(earned, Fixed<1>::fromUnits(7)), Fixed<0>::fromInt(hours));
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

} // namespace sdelka
