#pragma once

#include "core/money.h"

#include <QDate>
#include <QString>

namespace sdelka {

// The price of one piece: the operation's base price, doubled on a day off, and raised by a
// fifth in the third shift or by half in overtime; rounded once to four decimals.
Price positionPrice(Price basePrice, bool dayOff, int shift);

// What a helper earns per hour: 70 per cent of what the position earns per hour of its own
// ((pieces - rejects) * price / hours), rounded to kopecks. Zero when the position has no hours.
Money helperRate(Price price, Quantity pieces, qint64 rejects, qint64 hours);

// A position is dated from 1 January 2000 to a year after today; a date outside is taken for a
// slip of the keys.
bool positionDateAllowed(const QDate& day, const QDate& today);

// An operation whose description holds "КРАСКА" in any letter case is a painting operation,
// which carries a colour.
bool isPaintingOperation(const QString& description);

// The kind of an operation's product: finished products or blanks.
QString productKind(int naimen);
// "{mark}; {type}; {kind}", as the position editor shows an operation.
QString operationDescription(const QString& mark, const QString& type, int naimen);

// A number as the user reads it in an editor box: the user's decimal separator, no trailing
// zeros, no group separators.
template <int P> QString shownNumber(Fixed<P> value) {
    return value.toShortString(QLocale());
}

} // namespace sdelka
