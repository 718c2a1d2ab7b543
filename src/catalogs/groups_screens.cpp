#include "catalogs/groups_screens.h"

#include "catalogs/product_group_statements.h"
#include "widgets/messages.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace sdelka {

namespace {

constexpr int ListWidth = 585;
constexpr int ChooserWidth = 460;
constexpr int ListHeight = 460;

} // namespace

TForm29::TForm29(TDataModule6& dm, QWidget* parent) : QDialog(parent), dm_(dm) {
    setObjectName(QStringLiteral("TForm29"));
    setWindowTitle(QStringLiteral("Ведение групп (29)"));
    Edit1 = new QLineEdit;
    Edit1->setObjectName(QStringLiteral("Edit1"));
    // One character more than the column holds, so that an over-long name is noticed.
    Edit1->setMaxLength(NameLength + 1);
    Edit1->setMinimumWidth(360);
    CheckBox1 = new QCheckBox(QStringLiteral("Не используется"));
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    auto* group = new QGroupBox(QStringLiteral("Номенклатурная группа"));
    auto* form = new QVBoxLayout(group);
    form->addWidget(new QLabel(QStringLiteral("Наименование")));
    form->addWidget(Edit1);
    form->addWidget(CheckBox1);
    Button1 = catalogButton(QStringLiteral("Записать"), "Button1");
    Button1->setDefault(true);
    Button6 = catalogButton(QStringLiteral("Выход"), "Button6");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button6);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(Button1, &QPushButton::clicked, this, guarded([this] { save(); }));
    connect(Button6, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm29::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Edit1->setFocus();
}

void TForm29::prepareAdd() {
    Edit1->clear();
    Tag = Mode::Add;
}

void TForm29::prepareChange(int groupId, const QString& name, bool excluded) {
    Tag = Mode::Change;
    GroupId = groupId;
    Edit1->setText(name.trimmed());
    CheckBox1->setChecked(excluded);
}

void TForm29::save() {
    const QString name = Edit1->text().trimmed();
    if (name.isEmpty()) {
        showError(QStringLiteral("Все поля должны быть заполнены!"));
        return;
    }
    if (!nameFits(name, QStringLiteral("Наименование")))
        return;
    dm_.execute(dm_.SQL_exec, Tag == Mode::Add ? sql::InsertGroup : sql::UpdateGroup,
                {{QStringLiteral("name"), name},
                 {QStringLiteral("excluded"), CheckBox1->isChecked() ? 1 : 0},
                 {QStringLiteral("id"), GroupId}});
    accept();
}

TForm26::TForm26(TDataModule6& dm, TForm29& editor, QWidget* parent)
    : QDialog(parent), item(dm.ADO_DB, QStringLiteral("item"), sql::Groups),
      item_gds(dm.ADO_DB, QStringLiteral("item_gds"), sql::GroupUse), dm_(dm), editor_(editor) {
    setObjectName(QStringLiteral("TForm26"));
    setWindowTitle(QStringLiteral("Номенклатура (26)"));
    setFixedSize(ListWidth, ListHeight);
    DBGrid1 = new DataGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setDataSet(&item);
    showExcludedColumn(true);
    Button2 = catalogButton(QStringLiteral("Добавить"), "Button2");
    Button3 = catalogButton(QStringLiteral("Изменить"), "Button3");
    Button1 = catalogButton(QStringLiteral("Удалить"), "Button1");
    Button4 = catalogButton(QStringLiteral("Выход"), "Button4");
    Edit1 = new QLineEdit;
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setPlaceholderText(QStringLiteral("Поиск"));
    search_ = new SearchBox(Edit1, item, QStringLiteral("s_caption"));
    auto* bar = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{Button2, Button3, Button1, Edit1})
        bar->addWidget(w);
    bar->addStretch();
    bar->addWidget(Button4);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(bar);

    connect(Button2, &QPushButton::clicked, this, guarded([this] { add(); }));
    connect(Button3, &QPushButton::clicked, this, guarded([this] { changeOrPick(); }));
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, guarded([this] { changeOrPick(); }));
    connect(Button1, &QPushButton::clicked, this, guarded([this] { remove(); }));
    connect(Button4, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm26::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Edit1->setFocus();
}

void TForm26::showExcludedColumn(bool shown) {
    DBGrid1->setColumns({{QStringLiteral("Наименование"), QStringLiteral("s_caption"), 400},
                         {QStringLiteral("Не используется"), QStringLiteral("s_excl"), 130,
                          Qt::AlignCenter, true, !shown}});
}

void TForm26::showCatalog() {
    Tag = Mode::Catalog;
    item.open();
    Button3->setText(QStringLiteral("Изменить"));
    Button1->show();
    Button2->show();
    exec();
    Edit1->clear();
    item.close();
}

std::optional<CatalogChoice> TForm26::pick() {
    Tag = Mode::Household;
    choice_.reset();
    item.setFilter(
        [](const RowView& row) { return row[QStringLiteral("b_excluded")].toInt() == 0; });
    item.setFiltered(true);
    Button3->setText(QStringLiteral("Выбрать"));
    Button1->hide();
    Button2->hide();
    showExcludedColumn(false);
    setFixedWidth(ChooserWidth);
    item.open();
    exec();
    Button1->show();
    Button2->show();
    Edit1->clear();
    item.close();
    showExcludedColumn(true);
    setFixedWidth(ListWidth);
    item.setFiltered(false);
    return choice_;
}

void TForm26::add() {
    const int row = item.recNo();
    editor_.prepareAdd();
    if (editor_.exec() == QDialog::Accepted)
        item.reopen();
    item.setRecNo(row);
}

void TForm26::changeOrPick() {
    if (item.isEmpty())
        return;
    const int id = item.field(QStringLiteral("id")).toInt();
    const QString name = item.field(QStringLiteral("s_caption")).toString();
    if (Tag != Mode::Catalog) {
        choice_ = CatalogChoice{id, name};
        accept();
        return;
    }
    const int row = item.recNo();
    editor_.prepareChange(id, name, item.field(QStringLiteral("b_excluded")).toInt() != 0);
    if (editor_.exec() == QDialog::Accepted)
        item.reopen();
    item.setRecNo(row);
}

void TForm26::remove() {
    if (item.isEmpty())
        return;
    const int id = item.field(QStringLiteral("id")).toInt();
    for (const char* name : {"id_nom1", "id_nom2", "id_nom3"})
        item_gds.setParam(QString::fromLatin1(name), id);
    item_gds.reopen();
    const int products = item_gds.field(QStringLiteral("cnt_gds")).toInt();
    const int entries = item_gds.field(QStringLiteral("cnt_f")).toInt();
    const int positions = item_gds.field(QStringLiteral("cnt_s")).toInt();
    item_gds.close();
    const QString caption = QStringLiteral("Удаление");
    if (products > 0) {
        showError(QStringLiteral("В номенклатурной группе есть изделия."), caption);
        return;
    }
    if (entries > 0 || positions > 0) {
        showError(QStringLiteral("В номенклатурной группе есть операции."), caption);
        return;
    }
    if (askYesNo(QStringLiteral("Удалить позицию из списка?"), caption))
        dm_.execute(dm_.DelSmena, sql::DeleteGroup, {{QStringLiteral("id"), id}});
    const int row = item.recNo();
    item.reopen();
    if (!item.isEmpty())
        item.setRecNo(row);
}

} // namespace sdelka
