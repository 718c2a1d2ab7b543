#include "register/value_dialog.h"

#include "widgets/messages.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace sdelka {

TForm132::TForm132(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TForm132"));
    setWindowTitle(QStringLiteral("Ввод данных (132)"));
    Label1 = new QLabel;
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label2 = new QLabel(QStringLiteral("Отработано (ч.)"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Edit1 = new DigitEdit(limits::Hours);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Button1 = new QPushButton(QStringLiteral("Запись"));
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
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addWidget(Edit1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(Button1, &QPushButton::clicked, this, [this] { confirm(); });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm132::confirm() {
    if (Edit1->number() <= 0) {
        showError(QStringLiteral("Значение должно быть больше 0!"));
        reject();
        return;
    }
    accept();
}

std::optional<double> TForm132::askHours(const QString& name) {
    Label1->setText(name);
    Edit1->clear();
    Edit1->setFocus();
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return double(Edit1->number());
}

} // namespace sdelka
