#include "catalogs/products_screens.h"

#include "catalogs/product_group_statements.h"
#include "core/decimal.h"
#include "data/reserved_ids.h"
#include "positions/position_store.h"
#include "widgets/messages.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace sdelka {

namespace {

constexpr int MassLength = 22;

} // namespace

QDate productPositionsFrom(const QDate& today) {
    const int month = today.month() == 1 ? 12 : today.month() - 1;
    return QDate(2000, month, 1);
}

TForm7::TForm7(TDataModule6& dm, QWidget* parent)
    : QDialog(parent), dm_(dm), groups_(dm.ADO_DB, QStringLiteral("cb_item"), sql::ProductGroups) {
    setObjectName(QStringLiteral("TForm7"));
    setWindowTitle(QStringLiteral("Изделие"));
    Edit1 = new QLineEdit;
    Edit1->setObjectName(QStringLiteral("Edit1"));
    // One character more than the column holds, so that an over-long name is noticed.
    Edit1->setMaxLength(NameLength + 1);
    Edit2 = new QLineEdit;
    Edit2->setObjectName(QStringLiteral("Edit2"));
    // The product list reads the mass as numeric(28,6), 22 digits before the point: a text of
    // 22 characters always fits.
    Edit2->setMaxLength(MassLength);
    // Only typed digits and a decimal point get in: no pasting, no dropping text.
    Edit2->setContextMenuPolicy(Qt::NoContextMenu);
    Edit2->setAcceptDrops(false);
    Edit2->installEventFilter(this);
    cb_item = new QComboBox;
    cb_item->setObjectName(QStringLiteral("cb_item"));
    cb_item->setMinimumWidth(300);
    auto* group = new QGroupBox(QStringLiteral("Данные об изделии"));
    auto* form = new QVBoxLayout(group);
    form->addWidget(new QLabel(QStringLiteral("Марка")));
    form->addWidget(Edit1);
    form->addWidget(new QLabel(QStringLiteral("Расценка")));
    form->addWidget(Edit2);
    form->addWidget(cb_item);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    const EditorButtons buttons = addEditorButtons(this, layout, [this] { save(); });
    Button1 = buttons.save;
    Button2 = buttons.cancel;
}

void TForm7::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Edit1->setFocus();
}

bool TForm7::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Edit2 || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Paste))
        return true;
    // Keys that type nothing (arrows, Delete), backspace, Enter and Esc work as usual.
    const QString text = key->text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return false;
    if (text.size() == 1 && text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9'))
        return false;
    if (text == QLatin1String(".") || text == QLatin1String(",")) {
        // One decimal mark; a second one is dropped unless it replaces the first.
        QString kept = Edit2->text();
        if (Edit2->hasSelectedText())
            kept.remove(Edit2->selectionStart(), Edit2->selectedText().size());
        if (!kept.contains(QLatin1Char('.')) && !kept.contains(QLatin1Char(',')))
            Edit2->insert(QStringLiteral("."));
    }
    return true;
}

void TForm7::reloadGroups(std::optional<int> choose) {
    const int keep = choose.value_or(cb_item->currentData().toInt());
    groups_.reopen();
    cb_item->clear();
    for (int r = 0; r < groups_.recordCount(); ++r)
        cb_item->addItem(groups_.value(r, QStringLiteral("s_caption")).toString(),
                         groups_.value(r, QStringLiteral("id")).toInt());
    cb_item->setCurrentIndex(keep == 0 ? -1 : cb_item->findData(keep));
}

void TForm7::closeGroups() {
    groups_.close();
}

void TForm7::prepareAdd() {
    Edit1->clear();
    Edit2->clear();
    setWindowTitle(QStringLiteral("Заведение нового изделия (7)"));
    Tag = Mode::Add;
    reloadGroups(std::nullopt);
}

void TForm7::prepareChange(int productId, const QString& name, const QString& massa, int groupId) {
    setWindowTitle(QStringLiteral("Изменение данных изделия (7)"));
    Tag = Mode::Change;
    ProductId = productId;
    Edit1->setText(name.trimmed());
    Edit2->setText(massa.trimmed());
    reloadGroups(groupId);
}

void TForm7::save() {
    const QString name = Edit1->text().trimmed();
    const QString massa = Edit2->text().trimmed();
    const int group = cb_item->currentIndex() < 0 ? 0 : cb_item->currentData().toInt();
    if (name.isEmpty() || massa.isEmpty() || group == 0) {
        showError(QStringLiteral("Все поля должны быть заполнены!"));
        return;
    }
    if (!nameFits(name, QStringLiteral("Марка")))
        return;
    const QString taken = QStringLiteral("Такая марка изделия уже заведена!");
    const bool adding = Tag == Mode::Add;
    if (dm_.CheckExists(
            adding ? sql::ProductNameTaken : sql::ProductNameTakenByOther,
            {{QStringLiteral("marka"), name.toUpper()}, {QStringLiteral("id"), ProductId}}, taken))
        return;
    // A number shown in the user's locale may carry a comma; the statement takes a point.
    dm_.execute(dm_.SQL_exec, adding ? sql::InsertProduct : sql::UpdateProduct,
                {{QStringLiteral("name"), name},
                 {QStringLiteral("massa"), numberForStatement(massa)},
                 {QStringLiteral("group"), group},
                 {QStringLiteral("id"), ProductId}});
    dm_.Izdel.reopen();
    accept();
}

TForm3::TForm3(TDataModule6& dm, TForm7& editor, QWidget* parent)
    : QDialog(parent), Izdel_Smena(dm.ADO_DB, QStringLiteral("Izdel_Smena"), sql::ProductPositions),
      ii_oper(dm.ADO_DB, QStringLiteral("ii_oper"), sql::ProductPrices), dm_(dm), editor_(editor),
      products_(dm.Izdel) {
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("Изделия (3)"));
    resize(680, 560);
    CatalogListLayout layout;
    layout.searchPlace = CatalogListLayout::Search::UnderGrid;
    list_ = buildCatalogList(this, products_,
                             {{QStringLiteral("Марка изделия"), QStringLiteral("marka"), 300},
                              {QStringLiteral("Номенклатурная группа"), QStringLiteral("nom"), 220},
                              {QStringLiteral("Коробки"), QStringLiteral("massa"), 90}},
                             QStringLiteral("marka"), layout,
                             {[this] { add(); }, [this] { changeOrPick(); }, [this] { remove(); }});
    DBGrid1 = list_.grid;
    Button1 = list_.add;
    Button2 = list_.change;
    Button3 = list_.remove;
    Button4 = list_.exit;
    Edit1 = list_.search;
}

void TForm3::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (Edit1->isVisible())
        Edit1->setFocus();
}

bool TForm3::onFixedRow() const {
    if (products_.isEmpty())
        return true;
    const int id = products_.field(QStringLiteral("id")).toInt();
    return id == reserved::HouseholdWorks || id == reserved::AveragePiecework;
}

void TForm3::showCatalog() {
    Tag = Mode::Catalog;
    products_.open();
    showAsCatalog(list_);
    exec();
    // Izdel is shared: a search must not outlive the list.
    Edit1->clear();
    products_.close();
}

std::optional<CatalogChoice> TForm3::pick() {
    Tag = Mode::Operation;
    choice_.reset();
    products_.open();
    showAsPicker(list_);
    exec();
    Button2->setDefault(false);
    Edit1->clear();
    Edit1->hide();
    products_.close();
    return choice_;
}

void TForm3::add() {
    const int row = products_.recNo();
    editor_.prepareAdd();
    editor_.exec();
    editor_.closeGroups();
    products_.setRecNo(row);
}

void TForm3::changeOrPick() {
    if (onFixedRow())
        return;
    const int id = products_.field(QStringLiteral("id")).toInt();
    const QString name = products_.field(QStringLiteral("marka")).toString().trimmed();
    if (Tag != Mode::Catalog) {
        choice_ = CatalogChoice{id, name};
        accept();
        return;
    }
    const int row = products_.recNo();
    editor_.prepareChange(id, name, DataSetModel::displayText(products_, QStringLiteral("massa")),
                          products_.field(QStringLiteral("id_class_item")).toInt());
    editor_.exec();
    editor_.closeGroups();
    products_.setRecNo(row);
}

void TForm3::remove() {
    if (onFixedRow())
        return;
    const int id = products_.field(QStringLiteral("id")).toInt();
    const QVariantMap product{{QStringLiteral("id"), id}};
    Izdel_Smena.setParam(QStringLiteral("id_ii"), id);
    Izdel_Smena.setParam(QStringLiteral("dt"), productPositionsFrom(QDate::currentDate()));
    Izdel_Smena.reopen();
    ii_oper.setParam(QStringLiteral("id_ii"), id);
    ii_oper.reopen();
    const int prices = ii_oper.field(QStringLiteral("cnt")).toInt();
    const int positions = Izdel_Smena.field(QStringLiteral("cnt")).toInt();
    ii_oper.close();
    Izdel_Smena.close();

    const QString caption = QStringLiteral("Удаление");
    // The prices go at once and stay gone whatever is answered next.
    if (prices > 0 &&
        askYesNo(QStringLiteral("По изделию есть расценки они будут удалены!!!"), caption))
        dm_.execute(dm_.DelSmena, sql::DeleteProductPrices, product);
    if (positions > 0) {
        if (askYesNo(QStringLiteral("По изделию есть операции в текущем, предыдущем месяцах и "
                                    "ранее, они будут удалены. Удалить изделие? "),
                     caption)) {
            PositionStore(dm_).removeProductPositions(
                id, [&] { dm_.execute(dm_.DelSmena, sql::DeleteProduct, product); });
        }
    } else if (askYesNo(QStringLiteral("Удалить изделие? "), caption)) {
        dm_.execute(dm_.DelSmena, sql::DeleteProduct, product);
    }
    products_.reopen();
    products_.first();
}

} // namespace sdelka
