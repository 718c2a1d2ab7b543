#pragma once

#include "catalogs/catalog_common.h"
#include "data/data_module.h"
#include "widgets/data_grid.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include <optional>

namespace sdelka {

// The operation type editor.
class TForm9 : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Add = 1, Change = 2 };

    explicit TForm9(TDataModule6& dm, QWidget* parent = nullptr);

    QLineEdit* Edit1;     // "Операция"
    QPushButton* Button1; // "Записать"
    QPushButton* Button2; // "Отмена"

    Mode Tag = Mode::Add;
    int TypeId = 0;

    void prepareAdd();
    void prepareChange(int typeId, const QString& name);
    void save();

protected:
    void showEvent(QShowEvent* event) override;

private:
    TDataModule6& dm_;
};

// The operation types list "Виды операций (8)": the catalog and the type chooser of the
// operation editor.
class TForm8 : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Catalog = 0, Operation = 1 };

    TForm8(TDataModule6& dm, TForm9& editor, QWidget* parent = nullptr);

    DataGrid* DBGrid1;
    QPushButton* Button1; // "Добавить"
    QPushButton* Button2; // "Изменить" / "Выбрать"
    QPushButton* Button3; // "Удалить"
    QPushButton* Button4; // "Выход"
    QLineEdit* Edit1;     // search, shown to the chooser only

    Mode Tag = Mode::Catalog;

    void showCatalog();
    std::optional<CatalogChoice> pick();

    void add();
    void changeOrPick();
    void remove();

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool onReservedRow() const;

    TDataModule6& dm_;
    TForm9& editor_;
    DataSet& types_;
    CatalogList list_;
    std::optional<CatalogChoice> choice_;
};

} // namespace sdelka
