#pragma once

#include "data/dataset.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QPointer>
#include <QTableView>

#include <functional>
#include <optional>
#include <vector>

namespace sdelka {

// One column of a grid: its title, the field it shows, its width in pixels (0 keeps the
// default), the alignment of its cells, whether its title is bold and whether it is hidden.
struct GridColumn {
    QString title;
    QString field;
    int width = 0;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool boldTitle = true;
    bool hidden = false;
};

struct CellStyle {
    std::optional<QColor> foreground;
    std::optional<QColor> background;
    bool bold = false;
};

// How one cell is drawn, given the data set, the visible row (from 0) and the column's field.
using CellStyler = std::function<CellStyle(const DataSet&, int row, const QString& field)>;

// Shows the visible rows of a data set, in the columns given; follows the set when it reopens.
class DataSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DataSetModel(QObject* parent = nullptr);

    void setDataSet(DataSet* set);
    DataSet* dataSet() const { return set_; }
    void setColumns(std::vector<GridColumn> columns);
    const std::vector<GridColumn>& columns() const { return columns_; }
    void setStyler(CellStyler styler) { styler_ = std::move(styler); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The text a value is shown as: numbers and dates in the user's locale. A decimal column's
    // exact text ("2.500000") is shown as a number too, without its trailing zeros.
    static QString displayText(const QVariant& value, bool decimalColumn = false);
    // A field of the current row of a data set, shown as its grid shows it.
    static QString displayText(const DataSet& set, const QString& field);

private:
    QPointer<DataSet> set_;
    std::vector<GridColumn> columns_;
    CellStyler styler_;
    QMetaObject::Connection resetConnection_;
};

// A read-only grid of whole rows over a data set; its current row is the data set's.
class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent = nullptr);

    void setDataSet(DataSet* set);
    DataSet* dataSet() const { return model_->dataSet(); }
    void setColumns(std::vector<GridColumn> columns);
    void setStyler(CellStyler styler) { model_->setStyler(std::move(styler)); }
    DataSetModel* dataModel() const { return model_; }

private:
    void applyColumns();
    void followDataSet();

    DataSetModel* model_;
    QMetaObject::Connection currentConnection_;
    std::vector<int> savedWidths_;
};

} // namespace sdelka
