#pragma once

#include "catalogs/catalog_common.h"
#include "data/data_module.h"
#include "widgets/data_grid.h"

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include <optional>

namespace sdelka {

// The nomenclature group editor "Ведение групп (29)".
class TForm29 : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Add = 1, Change = 2 };

    explicit TForm29(TDataModule6& dm, QWidget* parent = nullptr);

    QLineEdit* Edit1;     // "Наименование"
    QCheckBox* CheckBox1; // "Не используется"
    QPushButton* Button1; // "Записать"
    QPushButton* Button6; // "Выход"

    Mode Tag = Mode::Add;
    int GroupId = 0;

    // An add keeps the check box as it was left; a change sets it from the group.
    void prepareAdd();
    void prepareChange(int groupId, const QString& name, bool excluded);
    void save();

protected:
    void showEvent(QShowEvent* event) override;

private:
    TDataModule6& dm_;
};

// The nomenclature group list "Номенклатура (26)": the catalog, and the group chooser of the
// household-works entry, which offers only the groups still in use.
class TForm26 : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Catalog = 0, Household = 24 };

    TForm26(TDataModule6& dm, TForm29& editor, QWidget* parent = nullptr);

    DataGrid* DBGrid1;
    QPushButton* Button2; // "Добавить"
    QPushButton* Button3; // "Изменить" / "Выбрать"
    QPushButton* Button1; // "Удалить"
    QLineEdit* Edit1;     // search
    QPushButton* Button4; // "Выход"

    // The groups, with "V" in s_excl for those no longer used.
    DataSet item;
    // What still refers to a group, counted before it is deleted.
    DataSet item_gds;

    Mode Tag = Mode::Catalog;

    // The register's menu item: add, change and delete groups.
    void showCatalog();
    // The household-works entry's chooser: the chosen group, or none when the list was left
    // without a choice.
    std::optional<CatalogChoice> pick();

    void add();
    void changeOrPick();
    void remove();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showExcludedColumn(bool shown);

    TDataModule6& dm_;
    TForm29& editor_;
    CatalogList list_;
    std::optional<CatalogChoice> choice_;
};

} // namespace sdelka
