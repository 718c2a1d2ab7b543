#pragma once

#include <QString>

namespace sdelka {

// The acceptance marks of a position. "ta" is the mark no list shows.
namespace marks {
inline constexpr const char* Accepted = "ok";
inline constexpr const char* AcceptedRu = "да";
inline constexpr const char* NotAccepted = "no";
inline constexpr const char* Hidden = "ta";
} // namespace marks

// "ok" and "да" are accepted; any other mark is not.
inline bool isAcceptedMark(const QString& mark) {
    return mark == QLatin1String(marks::Accepted) || mark == QString::fromUtf8(marks::AcceptedRu);
}

} // namespace sdelka
