#pragma once

#include "catalogs/catalog_common.h"
#include "data/data_module.h"
#include "widgets/data_grid.h"

#include <QComboBox>
#include <QDate>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include <optional>

namespace sdelka {

// The date from which a product's positions are counted before it is deleted: the first day of
// the month before today's, in the year 2000, so in practice every position of the product.
QDate productPositionsFrom(const QDate& today);

// The product editor "Изделие".
class TForm7 : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Add = 1, Change = 2 };

    explicit TForm7(TDataModule6& dm, QWidget* parent = nullptr);

    QLineEdit* Edit1;     // "Марка"
    QLineEdit* Edit2;     // "Расценка", stored as massa
    QComboBox* cb_item;   // the product's nomenclature group
    QPushButton* Button1; // "Записать"
    QPushButton* Button2; // "Отмена"

    Mode Tag = Mode::Add;
    int ProductId = 0;

    // Both read the group list anew; an add keeps the group chosen last, a change chooses the
    // product's own (none when it has none).
    void prepareAdd();
    void prepareChange(int productId, const QString& name, const QString& massa, int groupId);
    // Closes the group list once the editor has closed.
    void closeGroups();
    void save();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void reloadGroups(std::optional<int> choose);

    TDataModule6& dm_;
    DataSet groups_;
};

// The product list "Изделия (3)": the catalog, and the product chooser of the operation editor.
class TForm3 : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Catalog = 0, Operation = 1 };

    TForm3(TDataModule6& dm, TForm7& editor, QWidget* parent = nullptr);

    DataGrid* DBGrid1;
    QLineEdit* Edit1;     // search
    QPushButton* Button1; // "Добавить"
    QPushButton* Button2; // "Изменить" / "Выбрать"
    QPushButton* Button3; // "Удалить"
    QPushButton* Button4; // "Выход"

    // Counts taken before a product is deleted.
    DataSet Izdel_Smena;
    DataSet ii_oper;

    Mode Tag = Mode::Catalog;

    // The register's menu item: add, change and delete products.
    void showCatalog();
    // The operation editor's chooser: the chosen product, or none when the list was left
    // without a choice.
    std::optional<CatalogChoice> pick();

    void add();
    void changeOrPick();
    void remove();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // No row, or one of the reserved products, which are neither changed, picked nor deleted.
    bool onFixedRow() const;

    TDataModule6& dm_;
    TForm7& editor_;
    DataSet& products_;
    CatalogList list_;
    std::optional<CatalogChoice> choice_;
};

} // namespace sdelka
