#include "core/build_stamp.h"

namespace sdelka {

BuildStamp BuildStamp::fromDateTime(const QDateTime& moment) {
    const QDate d = moment.date();
    const QTime t = moment.time();
    return {d.year() * 10000 + d.month() * 100 + d.day(),
            t.hour() * 3600 + t.minute() * 60 + t.second()};
}

} // namespace sdelka
