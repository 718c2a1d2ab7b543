#pragma once

#include <QString>

namespace sdelka {

// Replaces the first decimal mark of a typed number (the first comma, else the first point) by
// the workstations' separator. An empty separator becomes "." first, so the caller's copy is
// updated.
QString normalizeDecimal(const QString& text, QString& delimiter);

// A typed number as a statement receives it: the decimal mark (comma or point) a point, group
// separators and surrounding blanks gone, whatever separator the workstations show.
QString numberForStatement(const QString& typed);

} // namespace sdelka
