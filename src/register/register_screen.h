#pragma once

#include "data/data_module.h"
#include "positions/hours_ledger.h"
#include "widgets/data_grid.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace sdelka {

class TForm3;
class TForm4;
class TForm5;
class TForm8;
class TForm11;
class TForm26;
class TForm33;
enum class DistributionKind;

// The screens the register opens; each control whose screen is here can be used.
struct RegisterScreens {
    TForm5* workers = nullptr;
    TForm3* products = nullptr;
    TForm4* operations = nullptr;
    TForm8* types = nullptr;
    TForm26* groups = nullptr;
    TForm11* positions = nullptr;
    TForm33* distribution = nullptr;
};

// The shift register: the positions of one day and shift, and the place every other screen is
// opened from.
class TForm1 : public QDialog {
    Q_OBJECT
public:
    explicit TForm1(TDataModule6& dm, QWidget* parent = nullptr);

    int CurrentShift = 1;
    DataSet* CurrentShiftQuery = nullptr;
    QString LoginCode;
    int BuildDate = 0;
    int BuildTime = 0;

    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QRadioButton* RadioButton3;
    QRadioButton* RadioButton4;
    QCheckBox* CBox1;
    QDateEdit* DateT;
    DataGrid* DBGrid2;
    QPushButton* Button1; // "Добавить"
    QPushButton* Button2; // "Изменить"
    QPushButton* Button3; // "Удалить"
    QPushButton* Button6; // "Покраска"
    QPushButton* Button7; // "Бригада"
    QPushButton* Button8; // "Обновить"
    QPushButton* Button5; // "Ср.сд./хоз. работы"
    QPushButton* Button4; // "Выход"
    QMenu* PopupAdd;
    QAction* Copy; // "Копия"

    QMenuBar* MainMenu;
    QMenu* N2; // "Справочники"
    QAction* N1;
    QAction* N3;
    QAction* N4;
    QAction* N6;
    QAction* N8;
    QMenu* N11; // "Табель"
    QAction* N9;
    QAction* N13;
    QMenu* N14;
    QAction* N20;
    QAction* N22;
    QMenu* N15;
    QAction* N18;
    QAction* N19;
    QAction* N17;
    QAction* N23;
    QMenu* N7; // "Отчеты"
    QAction* N10;
    QAction* N5; // "Выход"

    // Runs the version check every 30 seconds from creation to exit.
    QTimer* Timer1;

    // Sets a position's acceptance mark.

    // The grid's columns, in their order.
    static std::vector<GridColumn> gridColumns();

    // What the register does each time it becomes the program's active screen: today's date,
    // "Выходной" ticked on a weekend, all four lists loaded afresh.
    void activate();
    // The date of DateT was picked or confirmed with Enter: the four lists of that day.
    void chooseDate();
    void chooseShift(int shift);
    void refresh();
    // "Добавить", "Изменить" and "Копия": the position editor on the register's day and shift.
    void addPosition();
    void changePosition(bool copy = false);
    void copyPosition();

    // "Покраска" and "Бригада": the operator distribution for the register's day and shift.
    void distribute(DistributionKind kind);

    // Double-click: turns the selected position's mark from not accepted to accepted and back.
    void toggleAcceptance();
    void deleteSelected();

    // Hands the register the screens it opens and enables the controls that open them.
    void attach(const RegisterScreens& screens);

    // Shows the register after login: activated, then modal until "Выход".
    void showModally();
    // Shows a screen the register opens, then becomes active again.
    void openModal(QDialog& screen);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Shows a screen through its own opener, then becomes active again.
    void openScreen(const std::function<void()>& show);
    void reloadLists();
    void paintShiftButtons();
    void paintDayOff();
    QRadioButton* shiftButton(int shift) const;

    TDataModule6& dm_;
    RegisterScreens screens_;
};

} // namespace sdelka
