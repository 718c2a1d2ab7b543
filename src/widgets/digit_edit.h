#pragma once

#include <QLineEdit>
#include <QValidator>

namespace sdelka {

// An edit box for whole numbers: only digits can be typed, and no number above the column's
// limit.
class DigitEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DigitEdit(qint64 maximum, QWidget* parent = nullptr);
    qint64 maximum() const { return maximum_; }
    // The number in the box; 0 when it is empty.
    qint64 number() const { return text().trimmed().toLongLong(); }

private:
    qint64 maximum_;
};

// Column limits of the numbers typed in the position editor.
namespace limits {
constexpr qint64 Pieces = 999999999;
constexpr qint64 Rejects = 32767; // a small integer column
constexpr qint64 Hours = 9999;    // the ledger sums a day's hours in an integer column
constexpr qint64 Colour = 999999999;
} // namespace limits

} // namespace sdelka
