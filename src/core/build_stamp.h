#pragma once

#include <QDateTime>

namespace sdelka {

// The moment a build was made, as the version table stores it: the date as YYYYMMDD and the
// time of day in seconds since midnight.
struct BuildStamp {
    int date = 0;
    int time = 0;

    static BuildStamp fromDateTime(const QDateTime& moment);

    friend auto operator<=>(const BuildStamp&, const BuildStamp&) = default;
};

} // namespace sdelka
