#pragma once

#include "core/money.h"
#include "data/statement.h"

#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <functional>
#include <vector>

namespace sdelka {

class DataSet;

// A field's value as an exact decimal: the server's text of a numeric column, an integer, or a
// floating-point column's shortest text, rounded half to even to P decimals; null reads as 0.
// A value that is no number throws DatabaseError.
template <int P> Fixed<P> decimalOf(const QVariant& value);
// The text of a number in a floating-point column as the server shows it ("0.1667").
QString floatText(double value);

// One row of a data set as a filter predicate sees it.
class RowView {
public:
    RowView(const DataSet& set, int rawRow) : set_(set), raw_(rawRow) {}
    QVariant operator[](const QString& field) const;

private:
    const DataSet& set_;
    int raw_;
};

// A read-only snapshot of one statement's rows. Rows appear only when the set is opened again.
// A client-side filter hides rows without asking the server again. The current row is numbered
// from 1, as the screens count it; 0 means no row.
class DataSet : public QObject {
    Q_OBJECT
public:
    DataSet(Database& db, const QString& name, const QString& sql = {});

    const QString& name() const { return name_; }
    void setSql(const QString& sql);
    const QString& sql() const { return statement_.sql(); }
    void setParam(const QString& name, const QVariant& value) { statement_.setParam(name, value); }
    QVariant param(const QString& name) const { return statement_.param(name); }

    void open();
    void close();
    void reopen();
    bool isOpen() const { return open_; }

    // Rows passing the filter.
    int recordCount() const { return int(visible_.size()); }
    bool isEmpty() const { return visible_.empty(); }
    int recNo() const { return current_ + 1; }
    void setRecNo(int number);
    void first() { setRecNo(1); }
    void next() { setRecNo(recNo() + 1); }
    // Moves to the first visible row whose field equals the value; false when there is none.
    bool locate(const QString& field, const QVariant& value);

    int fieldIndex(const QString& field) const;
    // A field of the current row; invalid when there is no current row.
    QVariant field(const QString& field) const;
    // A field of a visible row, counted from 0.
    QVariant value(int row, const QString& field) const;
    QVariant value(int row, int column) const;
    // A field as an exact decimal (see decimalOf): of the current row, or of a visible row.
    template <int P> Fixed<P> decimal(const QString& name) const {
        return decimalOf<P>(field(name));
    }
    template <int P> Fixed<P> decimal(int row, const QString& name) const {
        return decimalOf<P>(value(row, name));
    }
    Money money(const QString& name) const { return decimal<2>(name); }
    // Whether the column holds numbers with a fraction (numeric or floating point).
    bool isDecimalColumn(int column) const;

    using Filter = std::function<bool(const RowView&)>;
    void setFilter(Filter filter);
    void setFiltered(bool on);
    bool filtered() const { return filtered_; }

    QVariant rawValue(int rawRow, const QString& field) const;

Q_SIGNALS:
    // The rows changed: opened, closed or filtered.
    void reset();
    void currentChanged(int recNo);

private:
    void applyFilter();

    Statement statement_;
    QString name_;
    bool open_ = false;
    QStringList fields_;
    std::vector<bool> decimalColumns_;
    std::vector<QVector<QVariant>> rows_;
    std::vector<int> visible_;
    int current_ = -1;
    Filter filter_;
    bool filtered_ = false;
};

namespace detail {
std::optional<qint64> decimalUnits(const QVariant& value, int places);
} // namespace detail

template <int P> Fixed<P> decimalOf(const QVariant& value) {
    return Fixed<P>::fromUnits(detail::decimalUnits(value, P).value_or(0));
}

} // namespace sdelka
