#include "catalogs/types_screens.h"

#include "catalogs/catalog_statements.h"
#include "data/reserved_ids.h"
#include "widgets/messages.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace sdelka {

TForm9::TForm9(TDataModule6& dm, QWidget* parent) : QDialog(parent), dm_(dm) {
    setObjectName(QStringLiteral("TForm9"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    Edit1 = new QLineEdit;
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(300);
    auto* group = new QGroupBox(QStringLiteral("Вид операции"));
    auto* form = new QVBoxLayout(group);
    form->addWidget(new QLabel(QStringLiteral("Операция")));
    form->addWidget(Edit1);
    Button1 = catalogButton(QStringLiteral("Записать"), "Button1");
    Button1->setDefault(true);
    Button2 = catalogButton(QStringLiteral("Отмена"), "Button2");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(Button1, &QPushButton::clicked, this, guarded([this] { save(); }));
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm9::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Edit1->setFocus();
}

void TForm9::prepareAdd() {
    Edit1->clear();
    setWindowTitle(QStringLiteral("Заведение нового вида операций"));
    Tag = Mode::Add;
}

void TForm9::prepareChange(int typeId, const QString& name) {
    setWindowTitle(QStringLiteral("Изменение данных вида операции"));
    Tag = Mode::Change;
    TypeId = typeId;
    Edit1->setText(name.trimmed());
}

void TForm9::save() {
    const QString name = Edit1->text().trimmed();
    if (name.isEmpty()) {
        showError(QStringLiteral("Все поля должны быть заполнены!"));
        return;
    }
    // The type column holds 128 characters.
    if (name.size() > 128) {
        showError(QStringLiteral("Название операции длиннее 128 символов."));
        return;
    }
    const QVariantMap params{{QStringLiteral("vid"), name.toUpper()},
                             {QStringLiteral("id"), TypeId}};
    const bool adding = Tag == Mode::Add;
    if (dm_.CheckExists(adding ? sql::TypeExists : sql::OtherTypeExists, params,
                        QStringLiteral("Такая операция уже заведена!")))
        return;
    dm_.execute(dm_.SQL_exec, adding ? sql::InsertType : sql::UpdateType,
                {{QStringLiteral("vid"), name}, {QStringLiteral("id"), TypeId}});
    dm_.Vid_oper.reopen();
    accept();
}

TForm8::TForm8(TDataModule6& dm, TForm9& editor, QWidget* parent)
    : QDialog(parent), dm_(dm), editor_(editor), types_(dm.Vid_oper) {
    setObjectName(QStringLiteral("TForm8"));
    setWindowTitle(QStringLiteral("Виды операций (8)"));
    resize(360, 480);
    DBGrid1 = new DataGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns({{QStringLiteral("Операции"), QStringLiteral("vid"), 309}});
    DBGrid1->setDataSet(&types_);
    Button1 = catalogButton(QStringLiteral("Добавить"), "Button1");
    Button1->setDefault(true);
    Button2 = catalogButton(QStringLiteral("Изменить"), "Button2");
    Button3 = catalogButton(QStringLiteral("Удалить"), "Button3");
    Button4 = catalogButton(QStringLiteral("Выход"), "Button4");
    Edit1 = new QLineEdit;
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setPlaceholderText(QStringLiteral("Поиск"));
    Edit1->hide();
    new SearchBox(Edit1, types_, QStringLiteral("vid"));
    auto* bar = new QHBoxLayout;
    for (QPushButton* b : {Button1, Button2, Button3})
        bar->addWidget(b);
    bar->addStretch();
    bar->addWidget(Button4);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Edit1);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(bar);

    connect(Button1, &QPushButton::clicked, this, guarded([this] { add(); }));
    connect(Button2, &QPushButton::clicked, this, guarded([this] { changeOrPick(); }));
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, guarded([this] { changeOrPick(); }));
    connect(Button3, &QPushButton::clicked, this, guarded([this] { remove(); }));
    connect(Button4, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm8::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (Edit1->isVisible())
        Edit1->setFocus();
}

void TForm8::showCatalog() {
    Tag = Mode::Catalog;
    types_.setFiltered(false);
    types_.open();
    Button2->setText(QStringLiteral("Изменить"));
    Button2->setDefault(false);
    Button1->setDefault(true);
    Button1->show();
    Button3->show();
    exec();
    types_.close();
}

std::optional<CatalogChoice> TForm8::pick() {
    Tag = Mode::Operation;
    choice_.reset();
    types_.open();
    Button2->setText(QStringLiteral("Выбрать"));
    Button2->setDefault(true);
    Button2->show();
    Button1->hide();
    Button3->hide();
    Edit1->clear();
    Edit1->show();
    exec();
    Button2->setDefault(false);
    Edit1->hide();
    types_.close();
    return choice_;
}

bool TForm8::onReservedRow() const {
    const int id = types_.field(QStringLiteral("id")).toInt();
    return types_.isEmpty() || id == reserved::HouseholdWorks || id == reserved::AveragePiecework;
}

void TForm8::add() {
    editor_.prepareAdd();
    editor_.exec();
}

void TForm8::changeOrPick() {
    if (onReservedRow())
        return;
    const int id = types_.field(QStringLiteral("id")).toInt();
    const QString name = types_.field(QStringLiteral("vid")).toString().trimmed();
    if (Tag == Mode::Operation) {
        choice_ = CatalogChoice{id, name};
        accept();
        return;
    }
    editor_.prepareChange(id, name);
    editor_.exec();
}

void TForm8::remove() {
    if (onReservedRow())
        return;
    if (!askYesNo(QStringLiteral("Удалить вид операции?"), QStringLiteral("Удаление")))
        return;
    // Operations of a deleted type would drop their positions out of the register.
    if (dm_.CheckExists(sql::TypeUsed, {{QStringLiteral("id"), types_.field(QStringLiteral("id"))}},
                        QStringLiteral("Вид операции используется в расценках, удалить нельзя.")))
        return;
    dm_.execute(dm_.SQL_exec, sql::DeleteType,
                {{QStringLiteral("id"), types_.field(QStringLiteral("id"))}});
    types_.reopen();
}

} // namespace sdelka
