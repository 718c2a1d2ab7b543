#pragma once

#include "core/build_stamp.h"
#include "data/data_module.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace sdelka {

class TForm1;

// The login window: takes the code, derives the role, and runs the version check.
class TForm23 : public QDialog {
    Q_OBJECT
public:
    TForm23(TDataModule6& dm, TForm1& reg, BuildStamp build, QWidget* parent = nullptr);

    QLineEdit* Edit1;
    QPushButton* Button1; // "Вход"
    QPushButton* Button2; // "Отмена"
    // Ends the program 5 seconds after a newer build was found.
    QTimer* Timer1;

    // What activation does: the version check, then the caption with this build's stamp.
    void onActivate();
    // Stops the program when a newer build has run on the database.
    void runVersionCheck();
    void login();

    // How the program is ended and how the register is shown; tests replace them.
    std::function<void()> endProgram;
    std::function<void()> showRegister;

protected:
    void changeEvent(QEvent* event) override;

private:
    TDataModule6& dm_;
    TForm1& reg_;
    BuildStamp build_;
};

// Leaves every event loop, also the ones of open dialogs, so the program ends.
void endProgramNow();

} // namespace sdelka
