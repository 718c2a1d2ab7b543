#include "data/placeholders.h"

namespace sdelka {

namespace {
bool isNameChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}
} // namespace

PositionalStatement toPositional(const QString& sql) {
    PositionalStatement out;
    out.sql.reserve(sql.size());
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // Copy a quoted text or identifier whole; a doubled quote stays inside it.
            const qsizetype start = i;
            for (++i; i < n; ++i) {
                if (sql[i] == c) {
                    if (i + 1 < n && sql[i + 1] == c)
                        ++i;
                    else
                        break;
                }
            }
            out.sql += QStringView(sql).mid(start, i - start + 1);
            continue;
        }
        if (c == QLatin1Char(':') && i + 1 < n && sql[i + 1] == QLatin1Char(':')) {
            out.sql += QLatin1String("::");
            ++i;
            continue;
        }
        if (c == QLatin1Char(':') && i + 1 < n && isNameChar(sql[i + 1]) && !sql[i + 1].isDigit()) {
            qsizetype end = i + 1;
            while (end < n && isNameChar(sql[end]))
                ++end;
            out.names << sql.mid(i + 1, end - i - 1).toLower();
            out.sql += QLatin1Char('?');
            i = end - 1;
            continue;
        }
        out.sql += c;
    }
    return out;
}

} // namespace sdelka
