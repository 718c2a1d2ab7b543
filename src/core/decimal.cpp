#include "core/decimal.h"

namespace sdelka {

QString normalizeDecimal(const QString& text, QString& delimiter) {
    qsizetype at = text.indexOf(QLatin1Char(','));
    if (at < 0)
        at = text.indexOf(QLatin1Char('.'));
    if (at < 0)
        return text;
    if (delimiter.isEmpty())
        delimiter = QStringLiteral(".");
    QString result = text;
    result.replace(at, 1, delimiter);
    return result;
}

QString numberForStatement(const QString& typed) {
    QString text = typed.trimmed();
    text.remove(QLatin1Char(' ')).remove(QChar(0x00A0)).remove(QChar(0x202F));
    return text.replace(QLatin1Char(','), QLatin1Char('.'));
}

} // namespace sdelka
