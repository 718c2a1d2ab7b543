#pragma once

#include <QString>

namespace sdelka {

// How a catalog's search box matches a row: the typed text, as typed, at the start of the name
// (or anywhere in it), without regard to letter case. Every character matches itself, "%" and
// "_" included.
inline bool startsWithTyped(const QString& value, const QString& typed) {
    return value.startsWith(typed, Qt::CaseInsensitive);
}
inline bool containsTyped(const QString& value, const QString& typed) {
    return value.contains(typed, Qt::CaseInsensitive);
}

} // namespace sdelka
