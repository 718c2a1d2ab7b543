#include "app/login_window.h"

#include "app/restrictions.h"
#include "app/version_check.h"
#include "core/marks.h"
#include "register/register_screen.h"
#include "widgets/messages.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace sdelka {

void endProgramNow() {
    QCoreApplication::exit(0);
    // Before the event loop runs, exit() does nothing; the queued quit ends it at its start.
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

TForm23::TForm23(TDataModule6& dm, TForm1& reg, BuildStamp build, QWidget* parent)
    : QDialog(parent), endProgram(endProgramNow), dm_(dm), reg_(reg), build_(build) {
    setObjectName(QStringLiteral("TForm23"));
    setWindowTitle(QStringLiteral("Авторизация"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    Edit1 = new QLineEdit;
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setEchoMode(QLineEdit::Password);
    Button1 = new QPushButton(QStringLiteral("Вход"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Отмена"));
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Код доступа:")));
    layout->addWidget(Edit1);
    layout->addLayout(buttons);
    setFixedSize(320, 120);
    Edit1->setFocus();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(5000);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, [this] { endProgram(); });

    showRegister = [this] { reg_.showModally(); };
    connect(Button1, &QPushButton::clicked, this, guarded([this] { login(); }));
    // Escape and "Отмена" close the window, which ends the program.
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(this, &QDialog::rejected, this, [this] { endProgram(); });
}

void TForm23::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isVisible())
        guarded([this] { onActivate(); })();
}

void TForm23::onActivate() {
    runVersionCheck();
    setWindowTitle(QStringLiteral("Авторизация (build: %1.%2)").arg(build_.date).arg(build_.time));
}

void TForm23::runVersionCheck() {
    if (checkVersion(dm_, build_) != VersionOutcome::NewerBuildRan)
        return;
    Timer1->start();
    showError(
        QStringLiteral("Версия программы не соответсвует БД! Запустите программу через 5 мин."));
    endProgram();
}

void TForm23::login() {
    const QString code = Edit1->text().trimmed();
    reg_.CurrentShift = 1;
    reg_.LoginCode = code;
    const auto role = roleForCode(code);
    reg_.N11->menuAction()->setEnabled(role == Role::FullAccess);
    reg_.N11->setEnabled(role == Role::FullAccess);
    if (!role) {
        showError(QStringLiteral("Введены неверные данные."));
        return;
    }
    applyRestrictions(*role, {&reg_});
    for (int shift = 1; shift <= 4; ++shift)
        dm_.shiftList(shift).setParam(QStringLiteral("ok"), QString::fromLatin1(marks::Hidden));
    hide();
    showRegister();
    // The register has closed: so does the login window, and with it the program.
    reject();
}

} // namespace sdelka
