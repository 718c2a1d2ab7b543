#pragma once

#include "data/data_module.h"
#include "positions/position_store.h"
#include "widgets/data_grid.h"
#include "widgets/digit_edit.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <optional>

namespace sdelka {

class TForm4;
class TForm5;
class TForm132;

// What the register hands the editor: the day, the shift and whether it is a day off, and the
// shift's list, which the editor refreshes after a save.
struct RegisterContext {
    QDate day;
    int shift = 1;
    bool dayOff = false;
    DataSet* shiftList = nullptr;
};

// The position editor: enters, changes and copies a position, then lists its helper workers.
class TForm11 : public QDialog {
    Q_OBJECT
public:
    enum class Mode { None = 0, Add = 1, Change = 2, Copy = 3 };

    TForm11(TDataModule6& dm, TForm5& workers, TForm4& operations, TForm132& hours,
            QWidget* parent = nullptr);

    QGroupBox* GroupBox1; // "Закрыто мастером"
    QLineEdit* Edit1;     // worker
    QPushButton* Button3;
    QLineEdit* Edit2; // operation
    QPushButton* Button4;
    DigitEdit* Edit3; // pieces
    DigitEdit* Edit6; // hours
    QLabel* Label6;   // "Цвет"
    DigitEdit* Edit5; // colour
    QDateEdit* DTimeP;
    DigitEdit* Edit4;     // rejects
    QLineEdit* Edit8;     // base price
    QLineEdit* Edit7;     // final price
    QLineEdit* Edit9;     // sum
    QPushButton* Button1; // "Запись"
    QPushButton* Button8; // "Новый"
    QPushButton* Button2; // "Выход"

    QCheckBox* CheckBox1; // "Подсобные рабочие"
    QPushButton* Button5; // "Добавить"
    QPushButton* Button7; // "Удалить"
    QPushButton* Button6; // "Сохранить"
    DataGrid* DBGrid1;
    DataSet person; // the helper list of the position

    Mode Tag = Mode::None;
    int WorkerId = 0;
    int OperationId = 0;
    int ProductId = 0;
    sdelka::Price Price;
    // The operation's lowest norm price; none until an operation is known.
    std::optional<sdelka::Price> BasePrice;
    int ColorCode = 0;
    int PositionId = 0;
    int HelperId = 0;
    int HelperHours = 0;
    Money HelperRate;

    // "Добавить" of the register: a new position on the register's day and shift.
    void prepareAdd(const RegisterContext& context);
    // "Изменить": the current row of the shift list, saved over itself.
    void prepareChange(const RegisterContext& context);
    // "Копия": the current row of the shift list, saved as a new position; once the editor
    // closes its mode is none again.
    void prepareCopy(const RegisterContext& context);

    void chooseWorker();
    void chooseOperation();
    void recompute();
    void save();
    void startNew();

    void toggleHelpers(bool on);
    void addHelper();
    void removeHelper();
    // Writes a position for each listed helper; closes the editor unless asked to stay.
    void saveHelpers(bool stay = false);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

public:
    void done(int result) override;
    // "Выход", Esc and the close box: helpers listed but not saved are asked about first.
    void reject() override;

private:
    // The final price, the base price and the sum as the fields show them.
    void showPrices();
    // Fills the fields from the current row of the register's shift list.
    void fillFromRow(const RegisterContext& context);
    // Empties the fields for a new position on the same day.
    void clearForNewPosition();
    void setPositionFieldsEnabled(bool on);
    void setHelperPartEnabled(bool on);
    void updateColourBox();
    void openHelperList();
    void refreshRegister();
    PositionValues currentValues() const;
    // The pieces of the position: as stored while the box is untouched (a fraction that other
    // software wrote stays exact), otherwise the whole number typed.
    Quantity pieces() const;
    // Asks whether helpers listed but not saved are to be saved, and saves them on Yes.
    void offerToSaveHelpers();
    bool painting() const;

    TDataModule6& dm_;
    TForm5& workers_;
    TForm4& operations_;
    TForm132& hours_;
    RegisterContext context_;
    // The pieces of the position being changed, exactly as stored.
    Quantity storedPieces_;
};

} // namespace sdelka
