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
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    const EditorButtons buttons = addEditorButtons(
        this, layout, [this] { save(); }, QStringLiteral("Выход"), "Button6");
    Button1 = buttons.save;
    Button6 = buttons.cancel;
    layout->setSizeConstraint(QLayout::SetFixedSize);
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
    CatalogListLayout layout;
    layout.addName = "Button2";
    layout.changeName = "Button3";
    layout.removeName = "Button1";
    list_ = buildCatalogList(this, item, {}, QStringLiteral("s_caption"), layout,
                             {[this] { add(); }, [this] { changeOrPick(); }, [this] { remove(); }});
    DBGrid1 = list_.grid;
    Button2 = list_.add;
    Button3 = list_.change;
    Button1 = list_.remove;
    Button4 = list_.exit;
    Edit1 = list_.search;
    showExcludedColumn(true);
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
    showAsCatalog(list_);
    exec();
    Edit1->clear();
    item.close();
}

std::optional<CatalogChoice> TForm26::pick() {
    Tag = Mode::Household;
    choice_.reset();
    // The search field is emptied first: emptying it switches any filter off.
    showAsPicker(list_);
    item.setFilter(
        [](const RowView& row) { return row[QStringLiteral("b_excluded")].toInt() == 0; });
    item.setFiltered(true);
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
