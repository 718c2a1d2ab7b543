#include "widgets/data_grid.h"

#include <QDate>
#include <QDateTime>
#include <QFont>
#include <QHeaderView>
#include <QLocale>

namespace sdelka {

DataSetModel::DataSetModel(QObject* parent) : QAbstractTableModel(parent) {}

void DataSetModel::setDataSet(DataSet* set) {
    beginResetModel();
    disconnect(resetConnection_);
    set_ = set;
    if (set_) {
        resetConnection_ = connect(set_, &DataSet::reset, this, [this] {
            beginResetModel();
            endResetModel();
        });
    }
    endResetModel();
}

void DataSetModel::setColumns(std::vector<GridColumn> columns) {
    beginResetModel();
    columns_ = std::move(columns);
    endResetModel();
}

int DataSetModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !set_)
        return 0;
    return set_->recordCount();
}

int DataSetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

QString DataSetModel::displayText(const DataSet& set, const QString& field) {
    return displayText(set.field(field), set.isDecimalColumn(set.fieldIndex(field)));
}

QString DataSetModel::displayText(const QVariant& value, bool decimalColumn) {
    if (value.isNull())
        return {};
    const QLocale locale;
    if (decimalColumn && value.typeId() == QMetaType::QString) {
        QString text = value.toString();
        if (const qsizetype point = text.indexOf(QLatin1Char('.')); point >= 0) {
            while (text.endsWith(QLatin1Char('0')))
                text.chop(1);
            if (text.endsWith(QLatin1Char('.')))
                text.chop(1);
            else
                text.replace(point, 1, locale.decimalPoint());
        }
        return text;
    }
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return locale.toString(value.toDouble(), 'f', QLocale::FloatingPointShortest)
            .remove(locale.groupSeparator());
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return QString::number(value.toLongLong());
    case QMetaType::QDate:
        return locale.toString(value.toDate(), QLocale::ShortFormat);
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        if (dt.time() == QTime(0, 0))
            return locale.toString(dt.date(), QLocale::ShortFormat);
        return locale.toString(dt, QLocale::ShortFormat);
    }
    default:
        return value.toString();
    }
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const {
    if (!set_ || !index.isValid() || index.column() >= int(columns_.size()))
        return {};
    const GridColumn& col = columns_[index.column()];
    switch (role) {
    case Qt::DisplayRole:
        return displayText(set_->value(index.row(), col.field),
                           set_->isDecimalColumn(set_->fieldIndex(col.field)));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(col.alignment);
    case Qt::ForegroundRole:
    case Qt::BackgroundRole:
    case Qt::FontRole: {
        if (!styler_)
            return {};
        const CellStyle style = styler_(*set_, index.row(), col.field);
        if (role == Qt::ForegroundRole && style.foreground)
            return *style.foreground;
        if (role == Qt::BackgroundRole && style.background)
            return *style.background;
        if (role == Qt::FontRole && style.bold) {
            QFont f;
            f.setBold(true);
            return f;
        }
        return {};
    }
    default:
        return {};
    }
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= int(columns_.size()))
        return QAbstractTableModel::headerData(section, orientation, role);
    const GridColumn& col = columns_[section];
    switch (role) {
    case Qt::DisplayRole:
        return col.title;
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::FontRole:
        if (col.boldTitle) {
            QFont f;
            f.setBold(true);
            return f;
        }
        return {};
    default:
        return {};
    }
}

DataGrid::DataGrid(QWidget* parent) : QTableView(parent), model_(new DataSetModel(this)) {
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->hide();
    // A reset of the model forgets the sections' widths; keep the ones the user set.
    connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        savedWidths_.clear();
        for (int i = 0; i < model_->columnCount(); ++i)
            savedWidths_.push_back(columnWidth(i));
    });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        const auto& cols = model_->columns();
        for (int i = 0; i < int(cols.size()); ++i) {
            setColumnHidden(i, cols[i].hidden);
            if (i < int(savedWidths_.size()) && savedWidths_[i] > 0)
                setColumnWidth(i, savedWidths_[i]);
        }
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (DataSet* set = dataSet(); set && current.isValid())
                    set->setRecNo(current.row() + 1);
            });
}

void DataGrid::setDataSet(DataSet* set) {
    disconnect(currentConnection_);
    model_->setDataSet(set);
    if (set)
        currentConnection_ =
            connect(set, &DataSet::currentChanged, this, [this] { followDataSet(); });
    followDataSet();
}

void DataGrid::setColumns(std::vector<GridColumn> columns) {
    model_->setColumns(std::move(columns));
    savedWidths_.clear();
    applyColumns();
}

void DataGrid::applyColumns() {
    const auto& cols = model_->columns();
    for (int i = 0; i < int(cols.size()); ++i) {
        setColumnHidden(i, cols[i].hidden);
        if (cols[i].width > 0)
            setColumnWidth(i, cols[i].width);
    }
}

void DataGrid::followDataSet() {
    DataSet* set = dataSet();
    if (!set || set->recNo() < 1)
        return;
    const int row = set->recNo() - 1;
    if (currentIndex().row() != row) {
        const int column = currentIndex().isValid() ? currentIndex().column() : 0;
        setCurrentIndex(model_->index(row, column));
    }
}

} // namespace sdelka
