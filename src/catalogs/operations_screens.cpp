#include "catalogs/operations_screens.h"

#include "catalogs/operation_statements.h"
#include "catalogs/prices_export.h"
#include "core/norms.h"
#include "data/reserved_ids.h"
#include "widgets/messages.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QVBoxLayout>

namespace sdelka {

namespace {

constexpr int NormIdRole = Qt::UserRole + 1;

const QString OperationTaken = QStringLiteral("Операция с такими параметрами уже заведена!");

// Lets digits and Backspace through, turns "." and "," into "." and drops the rest.
class PriceKeys : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.isEmpty() || key->key() == Qt::Key_Backspace || text.at(0).isDigit())
            return false;
        if (text == QLatin1String(".") || text == QLatin1String(",")) {
            static_cast<QLineEdit*>(watched)->insert(QStringLiteral("."));
            return true;
        }
        return text.at(0).isPrint();
    }
};

} // namespace

// ---------------------------------------------------------------------------------------------
// Norms editor

TForm22::TForm22(TDataModule6& dm, QWidget* parent) : QDialog(parent), dm_(dm) {
    setObjectName(QStringLiteral("TForm22"));
    setWindowTitle(QStringLiteral("Норматив"));
    DBGrid1 = new QTableWidget(0, 3, this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setHorizontalHeaderLabels(
        {QStringLiteral("Норматив"), QStringLiteral("Цена"), QStringLiteral("Премия, %")});
    QFont bold = DBGrid1->horizontalHeader()->font();
    bold.setBold(true);
    DBGrid1->horizontalHeader()->setFont(bold);
    DBGrid1->setColumnWidth(0, 133);
    DBGrid1->setColumnWidth(1, 105);
    DBGrid1->setColumnWidth(2, 82);
    DBGrid1->setMinimumWidth(380);
    Button1 = catalogButton(QStringLiteral("Сохранить"), "Button1");
    Button1->setDefault(true);
    Button2 = catalogButton(QStringLiteral("Удалить"), "Button2");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(buttons);
    // A fixed border: the editor keeps the size of its content.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(Button1, &QPushButton::clicked, this, guarded([this] { save(); }));
    connect(Button2, &QPushButton::clicked, this, guarded([this] { removeCurrent(); }));
    // A typed row gets a blank one after it, so another norm can be added.
    connect(DBGrid1, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!loading_ && item->row() == DBGrid1->rowCount() - 1 && !item->text().isEmpty())
            addBlankRow();
    });
}

QString TForm22::priceText(double price) {
    QString text = QLocale().toString(price, 'f', 3);
    if (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    return text;
}

void TForm22::addBlankRow() {
    const bool wasLoading = loading_;
    loading_ = true;
    const int row = DBGrid1->rowCount();
    DBGrid1->insertRow(row);
    for (int c = 0; c < 3; ++c)
        DBGrid1->setItem(row, c, new QTableWidgetItem);
    DBGrid1->item(row, 0)->setData(NormIdRole, 0);
    loading_ = wasLoading;
}

void TForm22::load(int operationId) {
    operationId_ = operationId;
    DataSet norms(dm_.ADO_DB, QStringLiteral("norm"), sql::NormsOf);
    norms.setParam(QStringLiteral("o_id"), operationId);
    norms.open();
    loading_ = true;
    DBGrid1->setRowCount(0);
    for (int r = 0; r < norms.recordCount(); ++r) {
        DBGrid1->insertRow(r);
        const QStringList cells = {norms.value(r, QStringLiteral("norma")).toString(),
                                   priceText(norms.value(r, QStringLiteral("price")).toDouble()),
                                   norms.value(r, QStringLiteral("prize")).toString()};
        for (int c = 0; c < 3; ++c)
            DBGrid1->setItem(r, c, new QTableWidgetItem(cells[c]));
        DBGrid1->item(r, 0)->setData(NormIdRole, norms.value(r, QStringLiteral("id")));
    }
    addBlankRow();
    loading_ = false;
}

void TForm22::editNorms(int operationId) {
    newOperation_.reset();
    load(operationId);
    exec();
}

int TForm22::editFirstNorms(const NewOperation& operation) {
    newOperation_ = operation;
    load(0);
    exec();
    newOperation_.reset();
    return operationId_;
}

int TForm22::savedRows() const {
    int saved = 0;
    for (int r = 0; r < DBGrid1->rowCount(); ++r)
        saved += DBGrid1->item(r, 0)->data(NormIdRole).toInt() > 0 ? 1 : 0;
    return saved;
}

void TForm22::reject() {
    try {
        save();
    } catch (const DatabaseError& e) {
        // The server refused or is gone: the user can still leave; nothing was written.
        showError(e.text());
        QDialog::reject();
    }
}

void TForm22::save() {
    struct Pending {
        int id;
        Norm norm;
    };
    std::vector<Pending> pending;
    for (int r = 0; r < DBGrid1->rowCount(); ++r) {
        const NormInput input{DBGrid1->item(r, 0)->text(), DBGrid1->item(r, 1)->text(),
                              DBGrid1->item(r, 2)->text()};
        const int id = DBGrid1->item(r, 0)->data(NormIdRole).toInt();
        if (id == 0 && input.norma.trimmed().isEmpty() && input.price.trimmed().isEmpty() &&
            input.prize.trimmed().isEmpty())
            continue; // the blank row
        const NormCheck check = checkNorm(input);
        if (!check.norm) {
            DBGrid1->setCurrentCell(r, 0);
            showError(check.error);
            return;
        }
        pending.push_back({id, *check.norm});
    }
    if (pending.empty() && newOperation_) {
        // Without a norm the operation would never show in the list of prices, and adding it
        // again would be refused as a duplicate: it is not written at all.
        showError(QStringLiteral(
            "Нормы не введены: новая операция не записана, без нормы она не показывается в "
            "списке цен."));
        operationId_ = 0;
        QDialog::reject();
        return;
    }
    DataSet& operations = dm_.Oper;
    const int row = operations.recNo();
    {
        Transaction tx(dm_.ADO_DB);
        if (newOperation_) {
            const QVariantMap params{{QStringLiteral("vid"), newOperation_->typeId},
                                     {QStringLiteral("naimen"), newOperation_->naimen},
                                     {QStringLiteral("i_id"), newOperation_->productId}};
            // Another workstation may have entered the same operation meanwhile.
            if (dm_.CheckExists(sql::OperationExists, params, OperationTaken)) {
                operationId_ = 0;
                QDialog::reject();
                return;
            }
            dm_.Oper_ins.setSql(sql::InsertOperation);
            for (auto it = params.begin(); it != params.end(); ++it)
                dm_.Oper_ins.setParam(it.key(), it.value());
            operationId_ = dm_.Oper_ins.executeReturning(QStringLiteral("id")).toInt();
        }
        for (const Pending& p : pending) {
            dm_.execute(dm_.SQL_exec, p.id > 0 ? sql::UpdateNorm : sql::InsertNorm,
                        {{QStringLiteral("id"), p.id},
                         {QStringLiteral("o_id"), operationId_},
                         {QStringLiteral("norma"), p.norm.norma},
                         {QStringLiteral("price"), p.norm.price},
                         {QStringLiteral("prize"), p.norm.prize}});
        }
        if (operations.isOpen()) {
            operations.reopen();
            operations.setRecNo(row);
        }
        tx.commit();
    }
    accept();
}

void TForm22::removeCurrent() {
    const int row = DBGrid1->currentRow();
    if (row < 0 || row == DBGrid1->rowCount() - 1)
        return; // nothing, or the blank row
    const int id = DBGrid1->item(row, 0)->data(NormIdRole).toInt();
    // The last norm stays: an operation without a norm drops out of the list of prices.
    if (id > 0 && savedRows() <= 1)
        return;
    if (id > 0)
        dm_.execute(dm_.SQL_exec, sql::DeleteNorm, {{QStringLiteral("id"), id}});
    const bool wasLoading = loading_;
    loading_ = true;
    DBGrid1->removeRow(row);
    loading_ = wasLoading;
}

// ---------------------------------------------------------------------------------------------
// Operation editor

TForm10::TForm10(TDataModule6& dm, QWidget* parent) : QDialog(parent), dm_(dm) {
    setObjectName(QStringLiteral("TForm10"));
    auto readOnly = [](const char* name) {
        auto* e = new QLineEdit;
        e->setObjectName(QString::fromLatin1(name));
        e->setReadOnly(true);
        e->setMinimumWidth(300);
        return e;
    };
    Edit1 = readOnly("Edit1");
    Edit2 = readOnly("Edit2");
    Button3 = catalogButton(QStringLiteral("..."), "Button3");
    Button4 = catalogButton(QStringLiteral("..."), "Button4");
    ComboBox1 = new QComboBox;
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems({QStringLiteral("Готовая продукция"), QStringLiteral("Заготовки")});
    Label4 = new QLabel(QStringLiteral("min Цена"));
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->hide();
    Edit3 = new QLineEdit;
    Edit3->setObjectName(QStringLiteral("Edit3"));
    Edit3->installEventFilter(new PriceKeys(Edit3));
    Edit3->hide();

    auto* group = new QGroupBox(QStringLiteral("Цена операции"));
    auto* form = new QVBoxLayout(group);
    auto row = [form](const QString& label, QWidget* field, QWidget* button) {
        form->addWidget(new QLabel(label));
        auto* line = new QHBoxLayout;
        line->addWidget(field, 1);
        if (button)
            line->addWidget(button);
        form->addLayout(line);
    };
    row(QStringLiteral("Марка изделия"), Edit1, Button3);
    row(QStringLiteral("Операция"), Edit2, Button4);
    row(QStringLiteral("Вид"), ComboBox1, nullptr);
    form->addWidget(Label4);
    form->addWidget(Edit3);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    const EditorButtons buttons = addEditorButtons(this, layout, [this] { save(); });
    Button1 = buttons.save;
    Button2 = buttons.cancel;
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Button3, &QPushButton::clicked, this, guarded([this] { chooseProduct(); }));
    connect(Button4, &QPushButton::clicked, this, guarded([this] { chooseType(); }));
}

void TForm10::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Button3->setFocus();
}

void TForm10::prepareAdd() {
    Edit1->clear();
    Edit2->clear();
    ComboBox1->setCurrentIndex(0);
    Edit3->clear();
    Edit3->setEnabled(true);
    setWindowTitle(QStringLiteral("Заведение новой цены за операцию"));
    Tag = Mode::Add;
    ProductId = 0;
    TypeId = 0;
    OperationId = 0;
    AddedId = 0;
}

void TForm10::prepareChange(const DataSet& operation) {
    setWindowTitle(QStringLiteral("Изменение данных о цене за операцию"));
    Tag = Mode::Change;
    AddedId = 0;
    Edit1->setText(operation.field(QStringLiteral("marka")).toString().trimmed());
    Edit2->setText(operation.field(QStringLiteral("vid")).toString().trimmed());
    ComboBox1->setCurrentIndex(operation.field(QStringLiteral("naimen")).toInt() == 0 ? 0 : 1);
    Edit3->setEnabled(true);
    Edit3->setText(operation.field(QStringLiteral("cena")).toString().trimmed());
    ProductId = operation.field(QStringLiteral("i_id")).toInt();
    TypeId = operation.field(QStringLiteral("oper_vid")).toInt();
    OperationId = operation.field(QStringLiteral("id")).toInt();
}

void TForm10::chooseProduct() {
    if (!pickProduct)
        return;
    if (const auto product = pickProduct()) {
        Edit1->setText(product->name.trimmed());
        ProductId = product->id;
    }
}

void TForm10::chooseType() {
    if (!pickType)
        return;
    if (const auto type = pickType()) {
        Edit2->setText(type->name.trimmed());
        TypeId = type->id;
    }
}

void TForm10::save() {
    if (Edit1->text().trimmed().isEmpty() || Edit2->text().trimmed().isEmpty()) {
        showError(QStringLiteral("Все поля должны быть заполнены!"));
        return;
    }
    const QVariantMap params{{QStringLiteral("vid"), TypeId},
                             {QStringLiteral("naimen"), ComboBox1->currentIndex() == 1 ? 1 : 0},
                             {QStringLiteral("i_id"), ProductId},
                             {QStringLiteral("id"), OperationId}};
    if (Tag == Mode::Add) {
        if (dm_.CheckExists(sql::OperationExists, params, OperationTaken))
            return;
        // Written by the norms editor together with its first norms.
        Pending = {TypeId, ComboBox1->currentIndex() == 1 ? 1 : 0, ProductId};
        accept();
        return;
    } else {
        if (dm_.CheckExists(sql::OtherOperationExists, params, OperationTaken))
            return;
        dm_.execute(dm_.Oper_ed, sql::UpdateOperation, params);
    }
    if (dm_.Oper.isOpen())
        dm_.Oper.reopen();
    accept();
}

// ---------------------------------------------------------------------------------------------
// Operations list

TForm4::TForm4(TDataModule6& dm, TForm10& editor, TForm22& norms, SpreadsheetWriter& writer,
               QWidget* parent)
    : QDialog(parent), dm_(dm), editor_(editor), norms_(norms), writer_(writer),
      operations_(dm.Oper) {
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(QStringLiteral("Цены (4)"));
    // A fixed border, sized to the grid's columns.
    setFixedSize(1200, 600);
    Button5 = catalogButton(QStringLiteral("Excel"), "Button5");
    CheckBox1 = new QCheckBox(QStringLiteral("Цены"));
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    QFont bold = CheckBox1->font();
    bold.setBold(true);
    CheckBox1->setFont(bold);
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    CatalogListLayout layout;
    layout.match = SearchBox::Match::Substring;
    layout.extras = {Button5, CheckBox1};
    list_ = buildCatalogList(
        this, operations_,
        {
            {QStringLiteral("Марка"), QStringLiteral("marka"), 300},
            {QStringLiteral("Ном. гр. "), QStringLiteral("s_caption"), 300},
            {QStringLiteral("Опреция"), QStringLiteral("vid"), 243},
            {QStringLiteral("Цена (min)"), QStringLiteral("cena"), 74},
            {QStringLiteral("Вид"), QStringLiteral("nmn"), 139},
            {QStringLiteral("id"), QStringLiteral("id"), 0, left, true, true},
            {QStringLiteral("i_id"), QStringLiteral("i_id"), 0, left, true, true},
            {QStringLiteral("oper_vid"), QStringLiteral("oper_vid"), 0, left, true, true},
            {QStringLiteral("Нормы (шт.)"), QStringLiteral("norma"), 76},
        },
        QStringLiteral("marka"), layout,
        {[this] { add(); }, [this] { changeOrPick(); }, [this] { remove(); },
         [this] { gridDoubleClicked(); }});
    DBGrid1 = list_.grid;
    Button1 = list_.add;
    Button2 = list_.change;
    Button3 = list_.remove;
    Button4 = list_.exit;
    Edit1 = list_.search;
    Edit1->setPlaceholderText(QStringLiteral("Поиск по марке"));
    connect(Button5, &QPushButton::clicked, this, guarded([this] { exportToSpreadsheet(); }));
}

void TForm4::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (Edit1->isVisible())
        Edit1->setFocus();
}

void TForm4::showCatalog() {
    Tag = Mode::Catalog;
    operations_.open();
    showAsCatalog(list_);
    exec();
    operations_.close();
}

std::optional<OperationChoice> TForm4::pick(int current) {
    Tag = Mode::Position;
    choice_.reset();
    operations_.open();
    if (current == 0 || !operations_.locate(QStringLiteral("id"), current))
        operations_.first();
    showAsPicker(list_);
    exec();
    operations_.setFiltered(false);
    return choice_;
}

bool TForm4::onReservedRow() const {
    const int id = operations_.field(QStringLiteral("id")).toInt();
    return operations_.isEmpty() || id == reserved::HouseholdWorks ||
           id == reserved::AveragePiecework;
}

void TForm4::add() {
    editor_.prepareAdd();
    if (editor_.exec() != QDialog::Accepted)
        return;
    // Without a norm an operation is not listed: it is written with its first norms.
    editor_.AddedId = norms_.editFirstNorms(editor_.Pending);
    if (editor_.AddedId == 0)
        return;
    operations_.reopen();
    operations_.locate(QStringLiteral("id"), editor_.AddedId);
}

void TForm4::changeOrPick() {
    if (onReservedRow())
        return;
    if (Tag == Mode::Position) {
        OperationChoice c;
        c.id = operations_.field(QStringLiteral("id")).toInt();
        c.productId = operations_.field(QStringLiteral("i_id")).toInt();
        c.price = operations_.decimal<4>(QStringLiteral("cena"));
        c.type = operations_.field(QStringLiteral("vid")).toString();
        c.naimen = operations_.field(QStringLiteral("naimen")).toInt();
        c.mark = operations_.field(QStringLiteral("marka")).toString();
        choice_ = c;
        accept();
        return;
    }
    editor_.prepareChange(operations_);
    editor_.exec();
}

void TForm4::gridDoubleClicked() {
    if (CheckBox1->isChecked() && Tag == Mode::Catalog) {
        if (operations_.isEmpty())
            return;
        norms_.editNorms(operations_.field(QStringLiteral("id")).toInt());
        return;
    }
    changeOrPick();
}

void TForm4::remove() {
    if (onReservedRow())
        return;
    // An operation's positions would drop out of the register and every total, unpaid.
    if (dm_.CheckExists(sql::OperationUsed,
                        {{QStringLiteral("id"), operations_.field(QStringLiteral("id"))}},
                        QStringLiteral("Операция есть в позициях, удалить нельзя.")))
        return;
    if (!askYesNo(QStringLiteral("Удалить операцию?"), QStringLiteral("Удаление")))
        return;
    dm_.Oper_del.setParam(QStringLiteral("id"), operations_.field(QStringLiteral("id")));
    dm_.Oper_del.execute();
    operations_.reopen();
}

void TForm4::exportToSpreadsheet() {
    const ExportResult result = exportPrices(dm_, writer_, [this](int done, int total) {
        Button5->setText(QStringLiteral("Excel (%1 из %2)").arg(done).arg(total));
        QApplication::processEvents();
    });
    // The boxes come while the button still shows how far the export got.
    for (const SpreadsheetMessage& error : result.errors)
        showError(error.text, error.caption);
    if (result.notice)
        showInformation(result.notice->text, result.notice->caption);
    if (!result.started)
        QApplication::restoreOverrideCursor();
    Button5->setText(QStringLiteral("Excel"));
}

} // namespace sdelka
