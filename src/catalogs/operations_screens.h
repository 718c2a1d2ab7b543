#pragma once

#include "catalogs/catalog_common.h"
#include "core/money.h"
#include "data/data_module.h"
#include "spreadsheet/spreadsheet_writer.h"
#include "widgets/data_grid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <functional>
#include <optional>

namespace sdelka {

// An operation as the position editor takes it from the list.
struct OperationChoice {
    int id = 0;
    int productId = 0;
    Price price;    // the lowest norm price
    QString type;   // the operation type's name
    int naimen = 0; // 0 finished products, otherwise blanks
    QString mark;   // the product's mark
};

// A new operation as its editor leaves it: written only together with its first norms.
struct NewOperation {
    int typeId = 0;
    int naimen = 0;
    int productId = 0;
};

// The norms editor "Норматив": the norms and prices of one operation.
class TForm22 : public QDialog {
    Q_OBJECT
public:
    explicit TForm22(TDataModule6& dm, QWidget* parent = nullptr);

    QTableWidget* DBGrid1;
    QPushButton* Button1; // "Сохранить"
    QPushButton* Button2; // "Удалить"

    // Shows the norms of the operation; returns when the editor closes.
    void editNorms(int operationId);
    // The first norms of a new operation, which is written with them in one transaction:
    // the new operation's id, or 0 when the editor was left without a norm (nothing written).
    int editFirstNorms(const NewOperation& operation);
    void load(int operationId);
    // Writes the rows typed or changed, then refreshes the operations list and closes. A new
    // operation left without a norm is not written, and the user is told so.
    void save();
    // Removes the current row; a saved norm only while another one stays. Rows typed but not
    // saved stay as they are.
    void removeCurrent();
    // Esc and the close box save, as "Сохранить" does.
    void reject() override;

    // The text a price is shown as: two to three decimals.
    static QString priceText(double price);

private:
    void addBlankRow();
    int savedRows() const;

    TDataModule6& dm_;
    int operationId_ = 0;
    std::optional<NewOperation> newOperation_;
    bool loading_ = false;
};

// The operation editor: product, operation type and kind of an operation.
class TForm10 : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Add = 1, Change = 2 };

    explicit TForm10(TDataModule6& dm, QWidget* parent = nullptr);

    QLineEdit* Edit1; // product
    QPushButton* Button3;
    QLineEdit* Edit2; // operation type
    QPushButton* Button4;
    QComboBox* ComboBox1; // "Готовая продукция" / "Заготовки"
    QLabel* Label4;       // "min Цена"
    QLineEdit* Edit3;
    QPushButton* Button1; // "Записать"
    QPushButton* Button2; // "Отмена"

    Mode Tag = Mode::Add;
    int ProductId = 0;
    int TypeId = 0;
    int OperationId = 0;
    // The id a new operation got when it was written with its first norms; 0 otherwise.
    int AddedId = 0;
    // The new operation "Записать" accepted, to be written with its first norms.
    NewOperation Pending;

    // The pickers of the products and operation types lists.
    std::function<std::optional<CatalogChoice>()> pickProduct;
    std::function<std::optional<CatalogChoice>()> pickType;

    void prepareAdd();
    void prepareChange(const DataSet& operation);
    void chooseProduct();
    void chooseType();
    void save();

protected:
    void showEvent(QShowEvent* event) override;

private:
    TDataModule6& dm_;
};

// The operations list "Цены (4)": the catalog of operations with their lowest price, and the
// chooser of the position editor.
class TForm4 : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Catalog = 0, Position = 1 };

    TForm4(TDataModule6& dm, TForm10& editor, TForm22& norms, SpreadsheetWriter& writer,
           QWidget* parent = nullptr);

    DataGrid* DBGrid1;
    QPushButton* Button1; // "Добавить"
    QPushButton* Button2; // "Изменить" / "Выбрать"
    QPushButton* Button3; // "Удалить"
    QPushButton* Button5; // "Excel"
    QCheckBox* CheckBox1; // "Цены"
    QLineEdit* Edit1;     // search
    QPushButton* Button4; // "Выход"

    Mode Tag = Mode::Catalog;

    void showCatalog();
    // The chooser, standing on the operation given (or on the first row): the operation
    // chosen, or none. The operations stay open with the filter off.
    std::optional<OperationChoice> pick(int current = 0);

    void add();
    void changeOrPick();
    void gridDoubleClicked();
    void remove();
    void exportToSpreadsheet();

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool onReservedRow() const;

    TDataModule6& dm_;
    TForm10& editor_;
    TForm22& norms_;
    SpreadsheetWriter& writer_;
    DataSet& operations_;
    CatalogList list_;
    std::optional<OperationChoice> choice_;
};

} // namespace sdelka
