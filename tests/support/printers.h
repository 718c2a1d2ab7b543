#pragma once

#include <QString>
#include <QVariant>

#include <ostream>

// Readable failure messages for Qt's texts.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QVariant& value, std::ostream* os) {
    *os << value.typeName() << ' ' << value.toString().toStdString();
}
