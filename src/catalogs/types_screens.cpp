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
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    const EditorButtons buttons = addEditorButtons(this, layout, [this] { save(); });
    Button1 = buttons.save;
    Button2 = buttons.cancel;
    layout->setSizeConstraint(QLayout::SetFixedSize);
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
    CatalogListLayout layout;
    layout.searchPlace = CatalogListLayout::Search::AboveGrid;
    list_ =
        buildCatalogList(this, types_, {{QStringLiteral("Операции"), QStringLiteral("vid"), 309}},
                         QStringLiteral("vid"), layout,
                         {[this] { add(); }, [this] { changeOrPick(); }, [this] { remove(); }});
    DBGrid1 = list_.grid;
    Button1 = list_.add;
    Button2 = list_.change;
    Button3 = list_.remove;
    Button4 = list_.exit;
    Edit1 = list_.search;
    Edit1->hide();
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
    showAsCatalog(list_);
    exec();
    types_.close();
}

std::optional<CatalogChoice> TForm8::pick() {
    Tag = Mode::Operation;
    choice_.reset();
    types_.open();
    showAsPicker(list_);
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
    // Operations of a deleted type would drop their positions out of the register.
    if (dm_.CheckExists(sql::TypeUsed, {{QStringLiteral("id"), types_.field(QStringLiteral("id"))}},
                        QStringLiteral("Вид операции используется в расценках, удалить нельзя.")))
        return;
    if (!askYesNo(QStringLiteral("Удалить вид операции?"), QStringLiteral("Удаление")))
        return;
    dm_.execute(dm_.SQL_exec, sql::DeleteType,
                {{QStringLiteral("id"), types_.field(QStringLiteral("id"))}});
    types_.reopen();
}

} // namespace sdelka
