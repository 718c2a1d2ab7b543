#pragma once

#include <QString>
#include <QStringList>

namespace sdelka {

// A statement with its named placeholders (":name") turned into positional ones ("?"), and the
// names in the order of their places, lower-cased. Quoted texts, quoted identifiers and casts
// ("::numeric") are left as they are.
struct PositionalStatement {
    QString sql;
    QStringList names;
};

PositionalStatement toPositional(const QString& sql);

} // namespace sdelka
