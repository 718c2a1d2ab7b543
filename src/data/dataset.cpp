#include "data/dataset.h"

#include "data/database.h"

#include <QLocale>
#include <QSqlField>
#include <QSqlRecord>

namespace sdelka {

QVariant RowView::operator[](const QString& field) const {
    return set_.rawValue(raw_, field);
}

DataSet::DataSet(Database& db, const QString& name, const QString& sql)
    : statement_(db, sql), name_(name) {
    setObjectName(name);
}

void DataSet::setSql(const QString& sql) {
    if (open_)
        close();
    statement_.setSql(sql);
}

void DataSet::open() {
    if (open_)
        return;
    QSqlQuery& q = statement_.execute();
    const QSqlRecord rec = q.record();
    fields_.clear();
    decimalColumns_.clear();
    for (int i = 0; i < rec.count(); ++i) {
        fields_ << rec.fieldName(i);
        decimalColumns_.push_back(rec.field(i).metaType().id() == QMetaType::Double);
    }
    rows_.clear();
    const int columns = rec.count();
    while (q.next()) {
        QVector<QVariant> row(columns);
        for (int i = 0; i < columns; ++i)
            row[i] = q.value(i);
        rows_.push_back(std::move(row));
    }
    q.finish();
    open_ = true;
    applyFilter();
}

void DataSet::close() {
    if (!open_)
        return;
    open_ = false;
    rows_.clear();
    visible_.clear();
    current_ = -1;
    Q_EMIT reset();
}

void DataSet::reopen() {
    close();
    open();
}

void DataSet::applyFilter() {
    visible_.clear();
    for (int i = 0; i < int(rows_.size()); ++i) {
        if (!filtered_ || !filter_ || filter_(RowView(*this, i)))
            visible_.push_back(i);
    }
    current_ = visible_.empty() ? -1 : 0;
    Q_EMIT reset();
    Q_EMIT currentChanged(recNo());
}

void DataSet::setFilter(Filter filter) {
    filter_ = std::move(filter);
    if (open_ && filtered_)
        applyFilter();
}

void DataSet::setFiltered(bool on) {
    if (filtered_ == on)
        return;
    filtered_ = on;
    if (open_)
        applyFilter();
}

void DataSet::setRecNo(int number) {
    if (visible_.empty())
        return;
    const int row = std::clamp(number, 1, recordCount()) - 1;
    if (row == current_)
        return;
    current_ = row;
    Q_EMIT currentChanged(recNo());
}

int DataSet::fieldIndex(const QString& field) const {
    for (int i = 0; i < fields_.size(); ++i) {
        if (fields_.at(i).compare(field, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant DataSet::rawValue(int rawRow, const QString& field) const {
    const int col = fieldIndex(field);
    if (col < 0 || rawRow < 0 || rawRow >= int(rows_.size()))
        return {};
    return rows_[rawRow][col];
}

QVariant DataSet::value(int row, int column) const {
    if (row < 0 || row >= recordCount() || column < 0 || column >= fields_.size())
        return {};
    return rows_[visible_[row]][column];
}

bool DataSet::isDecimalColumn(int column) const {
    return column >= 0 && column < int(decimalColumns_.size()) && decimalColumns_[column];
}

QString floatText(double value) {
    return QLocale::c().toString(value, 'f', QLocale::FloatingPointShortest);
}

namespace detail {

std::optional<qint64> decimalUnits(const QVariant& value, int places) {
    if (value.isNull() || !value.isValid())
        return 0;
    QString text;
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        text = floatText(value.toDouble());
        break;
    default:
        text = value.toString();
    }
    std::optional<qint64> units = fixed_detail::parse(text, places, false);
    if (!units)
        throw DatabaseError(QStringLiteral("Значение \"%1\" не является числом.").arg(text));
    return units;
}

} // namespace detail

QVariant DataSet::value(int row, const QString& field) const {
    return value(row, fieldIndex(field));
}

QVariant DataSet::field(const QString& field) const {
    return value(current_, field);
}

bool DataSet::locate(const QString& field, const QVariant& value) {
    const int col = fieldIndex(field);
    if (col < 0)
        return false;
    for (int i = 0; i < recordCount(); ++i) {
        const QVariant v = rows_[visible_[i]][col];
        if (v == value || (!v.isNull() && v.toString() == value.toString())) {
            setRecNo(i + 1);
            return true;
        }
    }
    return false;
}

} // namespace sdelka
