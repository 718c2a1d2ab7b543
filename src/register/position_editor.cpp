#include "register/position_editor.h"

#include "catalogs/operations_screens.h"
#include "catalogs/workers_screens.h"
#include "core/position_rules.h"
#include "data/reserved_ids.h"
#include "positions/position_statements.h"
#include "positions/position_store.h"
#include "register/value_dialog.h"
#include "widgets/messages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace sdelka {

namespace {

const QString DateText = QStringLiteral("dd.MM.yyyy");

template <typename T> T* named(T* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

QPushButton* button(const QString& text, const char* name) {
    auto* b = named(new QPushButton(text), name);
    b->setAutoDefault(false);
    return b;
}

QLineEdit* readOnly(const char* name) {
    auto* e = named(new QLineEdit, name);
    e->setReadOnly(true);
    return e;
}

} // namespace

TForm11::TForm11(TDataModule6& dm, TForm5& workers, TForm4& operations, TForm132& hours,
                 QWidget* parent)
    : QDialog(parent), person(dm.ADO_DB, QStringLiteral("person"), sql::HelperList), dm_(dm),
      workers_(workers), operations_(operations), hours_(hours) {
    setObjectName(QStringLiteral("TForm11"));
    setWindowTitle(QStringLiteral("Заведение новой позиции (11)"));

    Edit1 = readOnly("Edit1");
    Edit1->setMinimumWidth(280);
    Button3 = button(QStringLiteral("..."), "Button3");
    Edit2 = readOnly("Edit2");
    Button4 = button(QStringLiteral("..."), "Button4");
    Edit3 = named(new DigitEdit(limits::Pieces), "Edit3");
    Edit6 = named(new DigitEdit(limits::Hours), "Edit6");
    Label6 = named(new QLabel(QStringLiteral("Цвет")), "Label6");
    Edit5 = named(new DigitEdit(limits::Colour), "Edit5");
    DTimeP = named(new QDateEdit(QDate::currentDate()), "DTimeP");
    DTimeP->setDisplayFormat(DateText);
    DTimeP->setCalendarPopup(true);
    Edit4 = named(new DigitEdit(limits::Rejects), "Edit4");
    Edit8 = readOnly("Edit8");
    Edit7 = readOnly("Edit7");
    Edit9 = readOnly("Edit9");
    Button1 = button(QStringLiteral("Запись"), "Button1");
    Button1->setDefault(true);
    Button8 = button(QStringLiteral("Новый"), "Button8");
    Button2 = button(QStringLiteral("Выход"), "Button2");

    GroupBox1 = named(new QGroupBox(QStringLiteral("Закрыто мастером")), "GroupBox1");
    auto* grid = new QGridLayout(GroupBox1);
    int row = 0;
    auto line = [&](const QString& label, QWidget* field, QWidget* extra = nullptr,
                    QLabel* labelWidget = nullptr) {
        grid->addWidget(labelWidget ? labelWidget : new QLabel(label), row, 0);
        grid->addWidget(field, row, 1);
        if (extra)
            grid->addWidget(extra, row, 2);
        ++row;
    };
    line(QStringLiteral("ФИО"), Edit1, Button3);
    line(QStringLiteral("Операция"), Edit2, Button4);
    line(QStringLiteral("Кол-во"), Edit3);
    line(QStringLiteral("Время"), Edit6);
    line(QString(), Edit5, nullptr, Label6);
    line(QStringLiteral("Дата"), DTimeP);
    line(QStringLiteral("Брак"), Edit4);
    line(QStringLiteral("Цена база"), Edit8);
    line(QStringLiteral("Цена итог"), Edit7);
    line(QStringLiteral("Сумма"), Edit9);

    CheckBox1 = named(new QCheckBox(QStringLiteral("Подсобные рабочие")), "CheckBox1");
    QFont bold = CheckBox1->font();
    bold.setBold(true);
    CheckBox1->setFont(bold);
    Button5 = button(QStringLiteral("Добавить"), "Button5");
    Button7 = button(QStringLiteral("Удалить"), "Button7");
    Button6 = button(QStringLiteral("Сохранить"), "Button6");
    auto* helpers = new QVBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{CheckBox1, Button5, Button7, Button6})
        helpers->addWidget(w);
    helpers->addStretch();

    DBGrid1 = named(new DataGrid(this), "DBGrid1");
    DBGrid1->setColumns({{QStringLiteral("ФИО"), QStringLiteral("fio"), 332},
                         {QStringLiteral("Должность"), QStringLiteral("s_staffpos_hl"), 187},
                         {QStringLiteral("Время (ч.)"), QStringLiteral("f_time"), 67},
                         {QStringLiteral("Сумма (р.)"), QStringLiteral("f_count"), 76}});
    DBGrid1->setDataSet(&person);

    auto* top = new QHBoxLayout;
    top->addWidget(GroupBox1, 1);
    top->addLayout(helpers);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button8);
    buttons->addStretch();
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(buttons);
    resize(900, 640);

    Edit1->installEventFilter(this);
    Edit2->installEventFilter(this);
    Edit3->installEventFilter(this);
    Edit6->installEventFilter(this);
    connect(Button3, &QPushButton::clicked, this, guarded([this] { chooseWorker(); }));
    connect(Button4, &QPushButton::clicked, this, guarded([this] { chooseOperation(); }));
    connect(Button1, &QPushButton::clicked, this, guarded([this] { save(); }));
    connect(Button8, &QPushButton::clicked, this, guarded([this] { startNew(); }));
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(CheckBox1, &QCheckBox::toggled, this, guarded([this](bool on) { toggleHelpers(on); }));
    connect(Button5, &QPushButton::clicked, this, guarded([this] { addHelper(); }));
    connect(Button7, &QPushButton::clicked, this, guarded([this] { removeHelper(); }));
    connect(Button6, &QPushButton::clicked, this, guarded([this] { saveHelpers(); }));
    setHelperPartEnabled(false);
}

bool TForm11::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        auto* edit = qobject_cast<QLineEdit*>(watched);
        if (edit && edit->isEnabled() && (watched == Edit1 || watched == Edit2)) {
            guarded([this, watched] {
                if (watched == Edit1)
                    chooseWorker();
                else
                    chooseOperation();
            })();
            return true;
        }
    }
    if (event->type() == QEvent::FocusOut && (watched == Edit3 || watched == Edit6))
        recompute();
    return QDialog::eventFilter(watched, event);
}

void TForm11::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    setPositionFieldsEnabled(true);
    CheckBox1->setChecked(false);
    setHelperPartEnabled(false);
    Button3->setFocus();
}

void TForm11::setPositionFieldsEnabled(bool on) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{Edit1, Edit2, Edit3, Edit4, Edit6, Edit7, Edit8, Edit9,
                                         DTimeP, Button1, Button3, Button4})
        w->setEnabled(on);
    // The colour box follows the operation, not the lock alone.
    if (on)
        updateColourBox();
    else {
        Edit5->setEnabled(false);
        Label6->setEnabled(false);
    }
}

void TForm11::setHelperPartEnabled(bool on) {
    DBGrid1->setEnabled(on);
    CheckBox1->setEnabled(on);
    Button5->setEnabled(false);
    Button6->setEnabled(false);
    Button7->setEnabled(false);
}

bool TForm11::painting() const {
    return isPaintingOperation(Edit2->text());
}

void TForm11::updateColourBox() {
    const bool on = painting();
    if (!on)
        Edit5->clear();
    Edit5->setEnabled(on);
    Label6->setEnabled(on);
}

void TForm11::clearForNewPosition() {
    Edit1->clear();
    Edit2->clear();
    Edit3->clear();
    Edit5->clear();
    Edit4->setText(QStringLiteral("0"));
    Edit6->setText(QStringLiteral("0"));
    person.close();
    setWindowTitle(QStringLiteral("Заведение новой позиции (11)"));
    Tag = Mode::Add;
    PositionId = 0;
    BasePrice.reset();
    storedPieces_ = {};
}

void TForm11::prepareAdd(const RegisterContext& context) {
    context_ = context;
    DTimeP->setDate(context.day);
    clearForNewPosition();
}

void TForm11::prepareChange(const RegisterContext& context) {
    Tag = Mode::Change;
    fillFromRow(context);
}

void TForm11::prepareCopy(const RegisterContext& context) {
    Tag = Mode::Copy;
    fillFromRow(context);
}

void TForm11::fillFromRow(const RegisterContext& context) {
    context_ = context;
    const DataSet& row = *context.shiftList;
    setWindowTitle(QStringLiteral("Изменение данных о позиции (11)"));
    Price = row.decimal<4>(QStringLiteral("cena"));
    storedPieces_ = row.decimal<6>(QStringLiteral("kol_vo"));
    DTimeP->setDate(row.field(QStringLiteral("data")).toDate());
    Edit1->setText(row.field(QStringLiteral("fio")).toString().trimmed());
    const QString type = row.field(QStringLiteral("vid")).toString();
    Edit2->setText(operationDescription(row.field(QStringLiteral("marka")).toString(), type,
                                        row.field(QStringLiteral("naimen")).toInt()));
    Edit3->setText(shownNumber(storedPieces_));
    Edit4->setText(QString::number(row.field(QStringLiteral("brak")).toInt()));
    WorkerId = row.field(QStringLiteral("w_id")).toInt();
    ProductId = row.field(QStringLiteral("i_id")).toInt();
    OperationId = row.field(QStringLiteral("o_id")).toInt();
    Edit6->setText(QString::number(row.field(QStringLiteral("time")).toInt()));
    if (isPaintingOperation(type.trimmed()))
        Edit5->setText(QString::number(row.field(QStringLiteral("color")).toInt()));
    // The base price is the operation's, as when it was chosen.
    DataSet& control = dm_.Control;
    control.close();
    control.setSql(sql::OperationBasePrice);
    control.setParam(QStringLiteral("o_id"), OperationId);
    control.open();
    BasePrice.reset();
    if (!control.isEmpty() && !control.field(QStringLiteral("cena")).isNull())
        BasePrice = control.decimal<4>(QStringLiteral("cena"));
    control.close();
    updateColourBox();
    showPrices();
}

Quantity TForm11::pieces() const {
    if (Tag != Mode::Add && !Edit3->isModified() && Edit3->text() == shownNumber(storedPieces_))
        return storedPieces_;
    return Quantity::fromInt(Edit3->number());
}

void TForm11::chooseWorker() {
    if (const auto worker = workers_.pick(TForm5::Mode::Position)) {
        Edit1->setText(worker->name.trimmed());
        WorkerId = worker->id;
    }
}

void TForm11::chooseOperation() {
    const int current = Tag == Mode::Add ? 0 : OperationId;
    const auto operation = operations_.pick(current);
    if (operation) {
        ProductId = operation->productId;
        OperationId = operation->id;
        BasePrice = operation->price;
        Price = positionPrice(operation->price, context_.dayOff, context_.shift);
        DataSet& control = dm_.Control;
        control.close();
        control.setSql(sql::ProductMark);
        control.setParam(QStringLiteral("i_id"), ProductId);
        control.open();
        const QString mark = control.field(QStringLiteral("marka")).toString();
        control.close();
        Edit2->setText(operationDescription(mark, operation->type, operation->naimen));
    }
    updateColourBox();
    recompute();
}

void TForm11::recompute() {
    if (Edit6->text().isEmpty())
        Edit6->setText(QStringLiteral("0"));
    if (Edit3->text().isEmpty())
        Edit3->setText(QStringLiteral("0"));
    showPrices();
}

void TForm11::showPrices() {
    Edit7->setText(shownNumber(Price));
    Edit8->setText(BasePrice ? shownNumber(*BasePrice) : QString());
    Edit9->setText(shownNumber(multiply<4>(Price, pieces())));
}

void TForm11::save() {
    ColorCode = 0;
    const bool colourNeeded = painting();
    for (QLineEdit* field :
         std::initializer_list<QLineEdit*>{Edit1, Edit2, Edit3, Edit4, Edit5, Edit6}) {
        if (field == Edit5 && !colourNeeded)
            continue;
        if (field->text().trimmed().isEmpty()) {
            showError(QStringLiteral("Все поля должны быть заполнены!"));
            return;
        }
    }
    // More rejects than pieces would pay a negative sum.
    if (Quantity::fromInt(Edit4->number()) > pieces()) {
        showError(QStringLiteral("Брак не может быть больше количества."));
        return;
    }
    if (!positionDateAllowed(DTimeP->date(), QDate::currentDate())) {
        showError(QStringLiteral("Дата позиции вне допустимого диапазона."));
        return;
    }
    ColorCode = colourNeeded && !Edit5->text().trimmed().isEmpty() ? int(Edit5->number()) : 0;
    const PositionValues values = currentValues();
    const bool inserting = Tag == Mode::Add || Tag == Mode::Copy || Tag == Mode::None;
    const int currentId = inserting ? 0 : context_.shiftList->field(QStringLiteral("id")).toInt();
    // The store refuses a duplicate (DuplicatePosition) under the ledger row's lock; the
    // guard around this handler shows its message and the editor stays as it is.
    PositionStore store(dm_);
    if (inserting) {
        PositionId = store.insert(values);
    } else {
        store.update(currentId, values);
        PositionId = currentId;
    }
    refreshRegister();
    setPositionFieldsEnabled(false);
    openHelperList();
}

PositionValues TForm11::currentValues() const {
    PositionValues p;
    p.workerId = WorkerId;
    p.productId = ProductId;
    p.operationId = OperationId;
    p.price = Price;
    p.pieces = pieces();
    p.rejects = int(Edit4->number());
    p.day = DTimeP->date();
    p.shift = context_.shift;
    p.colour = ColorCode;
    p.hours = int(Edit6->number());
    return p;
}

void TForm11::refreshRegister() {
    DataSet* list = context_.shiftList;
    if (!list)
        return;
    const int row = list->recNo();
    list->reopen();
    if (!list->isEmpty() && row >= 1)
        list->setRecNo(row);
}

void TForm11::openHelperList() {
    person.close();
    person.setParam(QStringLiteral("s_id"), PositionId);
    person.open();
    DBGrid1->setEnabled(true);
    CheckBox1->setEnabled(true);
}

void TForm11::offerToSaveHelpers() {
    if (person.isOpen() && !person.isEmpty() &&
        askYesNo(QStringLiteral("Данные о подсобных рабочих не сохранены. Сохранить?"),
                 QStringLiteral("Удаление"), true))
        saveHelpers(true);
}

void TForm11::reject() {
    guarded([this] { offerToSaveHelpers(); })();
    QDialog::reject();
}

void TForm11::startNew() {
    offerToSaveHelpers();
    // Helpers listed but not saved go with the position they were listed for.
    if (PositionId != 0)
        PositionStore(dm_).discardHelpers(PositionId);
    clearForNewPosition();
    WorkerId = OperationId = ProductId = PositionId = ColorCode = HelperId = 0;
    Price = {};
    BasePrice.reset();
    HelperRate = {};
    HelperHours = 0;
    storedPieces_ = {};
    setPositionFieldsEnabled(true);
    CheckBox1->setChecked(false);
    setHelperPartEnabled(false);
    Button3->setFocus();
}

void TForm11::toggleHelpers(bool on) {
    if (on && Edit6->number() <= 0) {
        const QSignalBlocker block(CheckBox1);
        CheckBox1->setChecked(false);
        showError(QStringLiteral("Время должно быть больше 0"));
        on = false;
    }
    Button5->setEnabled(on);
    Button6->setEnabled(on);
    Button7->setEnabled(on);
    DBGrid1->setEnabled(on);
}

void TForm11::addHelper() {
    workers_.askHours = [this](const QString& name) { return hours_.askHours(name); };
    const auto helper = workers_.pick(TForm5::Mode::Helper);
    workers_.askHours = nullptr;
    if (!helper || workers_.Picked != 1)
        return;
    HelperId = helper->id;
    HelperHours = int(workers_.PickedHours);
    HelperRate = helperRate(Price, pieces(), Edit4->number(), Edit6->number());
    person.close();
    try {
        PositionStore(dm_).addHelper(PositionId, HelperId, HelperRate, HelperHours);
    } catch (const DatabaseError&) {
        showError(QStringLiteral("Невозможно сохранить данные в БД!"));
    }
    person.open();
}

void TForm11::removeHelper() {
    if (person.isEmpty())
        return;
    if (!askYesNo(QStringLiteral("Удалить позицию из списка?"), QStringLiteral("Удаление")))
        return;
    PositionStore(dm_).removeHelper(person.field(QStringLiteral("pt_id")).toInt());
    person.reopen();
}

void TForm11::saveHelpers(bool stay) {
    if (person.isOpen() && !person.isEmpty()) {
        PositionStore(dm_).saveHelpers(PositionId, currentValues());
        setPositionFieldsEnabled(true);
        person.close();
        CheckBox1->setChecked(false);
        setHelperPartEnabled(false);
        refreshRegister();
    }
    if (!stay)
        accept();
}

void TForm11::done(int result) {
    // Helpers listed but not saved do not outlive the dialog.
    if (PositionId != 0)
        guarded([this] { PositionStore(dm_).discardHelpers(PositionId); })();
    person.close();
    if (Tag == Mode::Copy)
        Tag = Mode::None;
    QDialog::done(result);
}

} // namespace sdelka
