#pragma once

#include "catalogs/catalog_common.h"
#include "data/data_module.h"
#include "widgets/data_grid.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include <optional>

namespace sdelka {

// The worker editor "Работники".
class TForm2 : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Add = 1, Change = 2 };

    explicit TForm2(TDataModule6& dm, QWidget* parent = nullptr);

    QLineEdit* Edit1; // "ФИО"
    QComboBox* LCB_department;
    QComboBox* LCB_staffpos;
    QComboBox* LCB_roles;
    QPushButton* Button1; // "Записать"
    QPushButton* Button2; // "Отмена"
    Command cmd_person;

    Mode Tag = Mode::Add;
    int WorkerId = 0;

    void prepareAdd();
    // A worker as stored: the look-up lists show his staff position (and its department), so
    // that a save without a new choice keeps it.
    void prepareChange(int workerId, const QString& name, const QString& staffPosition);
    void save();

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    void reloadLookups();

    TDataModule6& dm_;
    DataSet department_, staffpos_, roles_;
};

// The worker list "Список рабочих": the catalog, and the picker of the screens that need a
// worker.
class TForm5 : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Catalog = 0, Position = 1, Helper = 11, Household = 24, Operator = 33 };

    TForm5(TDataModule6& dm, TForm2& editor, QWidget* parent = nullptr);

    DataGrid* DBGrid1;
    QPushButton* Button1; // "Добавить"
    QPushButton* Button2; // "Изменить" / "Выбрать"
    QPushButton* Button3; // "Удалить"
    QLineEdit* Edit1;     // search
    QPushButton* Button4; // "Выход"

    Mode Tag = Mode::Catalog;
    // Set when a worker was taken; cleared each time the list is shown.
    int Picked = 0;

    // The register's menu item: add, change and delete workers.
    void showCatalog();
    // A picker: the chosen worker, or none when the list was left without a choice.
    std::optional<CatalogChoice> pick(Mode mode);

    void add();
    void changeOrPick();
    void remove();

    // In the helper mode, how the hours of the chosen worker are asked for; answers none when
    // the question is cancelled.
    std::function<std::optional<double>(const QString& name)> askHours;
    // The hours given with the last pick in the helper mode.
    double PickedHours = 0;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TDataModule6& dm_;
    TForm2& editor_;
    DataSet& workers_;
    CatalogList list_;
    std::optional<CatalogChoice> choice_;
};

} // namespace sdelka
