#pragma once

#include "data/data_module.h"
#include "register/distribution_rules.h"
#include "widgets/data_grid.h"

#include <QDate>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cstdint>
#include <optional>

namespace sdelka {

class TForm5;

// One group of a shift's output: a worker's positions of one operation type, operation kind
// and colour, with their earnings and hours.
struct OutputGroup {
    int workerId = 0;
    int typeId = 0;
    std::int64_t earningsKopecks = 0;
    std::int64_t hours = 0;
    int color = 0;
};

// "Выбор операции (134)": the output of the register's day and shift by group, to pick the
// groups an operator served.
class TForm134 : public QDialog {
    Q_OBJECT
public:
    explicit TForm134(TDataModule6& dm, QWidget* parent = nullptr);

    DataGrid* DBGrid2;
    QPushButton* Button1; // "Выбрать"
    QPushButton* Button2; // "Выход"

    DataSet painting;
    // Writes a picked group into the operator's list.
    Command ins_person;

    // Offers only the groups of painting operation types, or every group.
    void offerPaintingOnly(bool on);
    // Shows the groups of the day and shift; the group chosen, or none.
    std::optional<OutputGroup> pick(const QDate& day, int shift);
    void choose();

private:
    std::optional<OutputGroup> choice_;
};

// The distribution dialog: pays an operator (a painting operator or a brigade helper) from the
// groups of the shift's output he served, at the average hourly earnings of those groups times
// a factor. The picked groups are kept in a scratch table while the dialog is open.
class TForm33 : public QDialog {
    Q_OBJECT
public:
    TForm33(TDataModule6& dm, TForm5& workers, TForm134& groups, QWidget* parent = nullptr);

    QLineEdit* Edit1; // "ФИО", the operator
    QPushButton* Button3;
    QLineEdit* DBEdit1; // "Сумма (р.)" of the picked groups
    QLineEdit* DBEdit2; // "Время (ч.)" of the picked groups
    QLineEdit* Edit2;   // "Отработано (ч.)"
    QLabel* Label5;     // price of the operator's hour
    QLabel* Label7;     // the operator's total
    DataGrid* DBGrid1;
    QPushButton* Button5; // "Добавить"
    QPushButton* Button7; // "Удалить"
    QPushButton* Button1; // "Сохранить"
    QPushButton* Button2; // "Выход"

    DataSet painting_temp;
    DataSet painting_temp_sum;

    double ShareFactor = 1.2;
    int OperatorId = 0;
    // The register's day and shift the operator is paid for.
    QDate Day;
    int CurrentShift = 1;

    // Configures the dialog as the register does before showing it (caption, the groups'
    // filter, ShareFactor, cleared Edit1, painting_temp closed with p_id 0, OperatorId 0) for
    // the register's day and shift.
    void prepare(DistributionKind kind, const QDate& day, int shift);
    // prepare(...) then exec(); on close, the operator's scratch rows are removed (whatever way
    // it closes).
    void open(DistributionKind kind, const QDate& day, int shift);

    void chooseOperator();
    void addGroup();
    void removeGroup();
    void save();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void openLists();
    void closeLists();
    void dropRowsOf(int operatorId);
    void showSums();
    // The price and total for the picked groups and the typed hours; none without groups.
    std::optional<distribution::Share> currentShare() const;
    void showShare();

    TDataModule6& dm_;
    TForm5& workers_;
    TForm134& groups_;
};

} // namespace sdelka
