#pragma once

#include "widgets/digit_edit.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include <optional>

namespace sdelka {

// "Ввод данных (132)": asks for the hours a worker worked.
class TForm132 : public QDialog {
    Q_OBJECT
public:
    explicit TForm132(QWidget* parent = nullptr);

    QLabel* Label1; // the worker's name
    QLabel* Label2; // "Отработано (ч.)"
    DigitEdit* Edit1;
    QPushButton* Button1; // "Запись"
    QPushButton* Button2; // "Отмена"

    // Shows the dialog for the worker; the hours typed, or none when cancelled or not above 0.
    std::optional<double> askHours(const QString& name);

private:
    void confirm();
};

} // namespace sdelka
