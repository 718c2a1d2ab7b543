#include "register/distribution_screens.h"

#include "catalogs/catalog_common.h"
#include "catalogs/workers_screens.h"
#include "positions/position_store.h"
#include "register/distribution_statements.h"
#include "widgets/messages.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace sdelka {

namespace {

// The number of hundredths in a two-decimal amount read from the database.
std::int64_t hundredths(const QVariant& value) {
    return qRound64(value.toDouble() * 100);
}

QString shown(std::int64_t kopecks) {
    return DataSetModel::displayText(double(kopecks) / 100);
}

// Hours worked: whole numbers up to 9999, as the hours ledger sums them in integer cells.
constexpr int HoursDigits = 4;

} // namespace

// ---------------------------------------------------------------------------------------------
// Group chooser

TForm134::TForm134(TDataModule6& dm, QWidget* parent)
    : QDialog(parent), painting(dm.ADO_DB, QStringLiteral("painting"), sql::Painting),
      ins_person(dm.ADO_DB, QStringLiteral("ins_person"), sql::PaintingInsertGroup) {
    setObjectName(QStringLiteral("TForm134"));
    setWindowTitle(QStringLiteral("Выбор операции (134)"));
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    DBGrid2 = new DataGrid(this);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    const Qt::Alignment centre = Qt::AlignCenter;
    DBGrid2->setColumns({
        {QStringLiteral("ФИО"), QStringLiteral("p_fio"), 260, centre},
        {QStringLiteral("Операция"), QStringLiteral("vid"), 155, centre},
        {QStringLiteral("Цвет"), QStringLiteral("color"), 0, centre},
        {QStringLiteral("Сумма (р.)"), QStringLiteral("f_summ"), 89, centre},
        {QStringLiteral("Время (ч.)"), QStringLiteral("t_time"), 69, centre},
    });
    DBGrid2->setMinimumSize(700, 300);
    DBGrid2->setDataSet(&painting);
    painting.setFilter([](const RowView& row) { return isPaintingType(row["v_id"].toInt()); });
    Button1 = catalogButton(QStringLiteral("Выбрать"), "Button1");
    Button1->setDefault(true);
    Button2 = catalogButton(QStringLiteral("Выход"), "Button2");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DBGrid2, 1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Button1, &QPushButton::clicked, this, guarded([this] { choose(); }));
    connect(DBGrid2, &QAbstractItemView::doubleClicked, this, guarded([this] { choose(); }));
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm134::offerPaintingOnly(bool on) {
    painting.setFiltered(on);
}

std::optional<OutputGroup> TForm134::pick(const QDate& day, int shift) {
    choice_.reset();
    painting.close();
    painting.setParam(QStringLiteral("i_smena"), shift);
    painting.setParam(QStringLiteral("d_date"), day);
    painting.open();
    exec();
    painting.close();
    return choice_;
}

void TForm134::choose() {
    if (painting.isEmpty())
        return;
    OutputGroup group;
    group.workerId = painting.field(QStringLiteral("w_id")).toInt();
    group.typeId = painting.field(QStringLiteral("v_id")).toInt();
    group.earningsKopecks = hundredths(painting.field(QStringLiteral("f_summ")));
    group.hours = painting.field(QStringLiteral("t_time")).toLongLong();
    group.color = painting.field(QStringLiteral("color")).toInt();
    choice_ = group;
    accept();
}

// ---------------------------------------------------------------------------------------------
// Distribution dialog

TForm33::TForm33(TDataModule6& dm, TForm5& workers, TForm134& groups, QWidget* parent)
    : QDialog(parent), painting_temp(dm.ADO_DB, QStringLiteral("painting_temp"), sql::PaintingTemp),
      painting_temp_sum(dm.ADO_DB, QStringLiteral("painting_temp_sum"), sql::PaintingTempSum),
      dm_(dm), workers_(workers), groups_(groups) {
    setObjectName(QStringLiteral("TForm33"));
    setWindowTitle(QStringLiteral("Оператор покраски"));
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);

    auto named = [](auto* widget, const char* name) {
        widget->setObjectName(QString::fromLatin1(name));
        return widget;
    };
    Edit1 = named(new QLineEdit, "Edit1");
    Edit1->setReadOnly(true);
    Button3 = catalogButton(QStringLiteral("..."), "Button3");
    DBEdit1 = named(new QLineEdit, "DBEdit1");
    DBEdit1->setReadOnly(true);
    DBEdit2 = named(new QLineEdit, "DBEdit2");
    DBEdit2->setReadOnly(true);
    Edit2 = named(new QLineEdit(QStringLiteral("8")), "Edit2");
    Edit2->setMaxLength(HoursDigits);
    Edit2->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), Edit2));
    Label5 = named(new QLabel(QStringLiteral("0")), "Label5");
    Label7 = named(new QLabel(QStringLiteral("0")), "Label7");

    auto* group = new QGroupBox(QStringLiteral("Закрыто мастером"));
    group->setStyleSheet(QStringLiteral("QGroupBox { font-weight: bold; }"));
    auto* form = new QGridLayout(group);
    const std::pair<QString, QWidget*> rows[] = {
        {QStringLiteral("ФИО"), Edit1},
        {QStringLiteral("Сумма (р.)"), DBEdit1},
        {QStringLiteral("Время (ч.)"), DBEdit2},
        {QStringLiteral("Отработано (ч.)"), Edit2},
        {QStringLiteral("Цена часса (р.):"), Label5},
        {QStringLiteral("ИТОГО:"), Label7},
    };
    int line = 0;
    for (const auto& [label, field] : rows) {
        form->addWidget(new QLabel(label), line, 0);
        form->addWidget(field, line, 1);
        ++line;
    }
    form->addWidget(Button3, 0, 2);
    form->setColumnStretch(1, 1);

    DBGrid1 = named(new DataGrid(this), "DBGrid1");
    const Qt::Alignment centre = Qt::AlignCenter;
    DBGrid1->setColumns({
        {QStringLiteral("ФИО"), QStringLiteral("w_fio"), 332, centre},
        {QStringLiteral("Операция"), QStringLiteral("vid"), 187, centre},
        {QStringLiteral("Цвет"), QStringLiteral("color")},
        {QStringLiteral("Время (ч.)"), QStringLiteral("f_time"), 67, centre},
        {QStringLiteral("Сумма (р.)"), QStringLiteral("f_count"), 76},
    });
    DBGrid1->setMinimumSize(800, 250);
    DBGrid1->setDataSet(&painting_temp);
    Button5 = catalogButton(QStringLiteral("Добавить"), "Button5");
    Button7 = catalogButton(QStringLiteral("Удалить"), "Button7");
    Button1 = catalogButton(QStringLiteral("Сохранить"), "Button1");
    Button1->setDefault(true);
    Button2 = catalogButton(QStringLiteral("Выход"), "Button2");

    auto* side = new QVBoxLayout;
    side->addWidget(Button5);
    side->addWidget(Button7);
    side->addStretch();
    auto* list = new QHBoxLayout;
    list->addWidget(DBGrid1, 1);
    list->addLayout(side);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(Button1);
    bottom->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(list, 1);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Button3, &QPushButton::clicked, this, guarded([this] { chooseOperator(); }));
    connect(Button5, &QPushButton::clicked, this, guarded([this] { addGroup(); }));
    connect(Button7, &QPushButton::clicked, this, guarded([this] { removeGroup(); }));
    connect(Button1, &QPushButton::clicked, this, guarded([this] { save(); }));
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(&painting_temp_sum, &DataSet::reset, this, [this] { showSums(); });
    // The money always belongs to the hours typed: a change of the hours recomputes it.
    connect(Edit2, &QLineEdit::textChanged, this, [this] { showShare(); });
    Button5->setEnabled(false);
    Button7->setEnabled(false);
}

void TForm33::prepare(DistributionKind kind, const QDate& day, int shift) {
    const DistributionMode mode = distributionMode(kind);
    setWindowTitle(mode.caption);
    ShareFactor = mode.factorTenths / 10.0;
    groups_.offerPaintingOnly(mode.paintingTypesOnly);
    Edit1->clear();
    // The sums go with the list, so no total of an earlier opening is left on show.
    closeLists();
    painting_temp.setParam(QStringLiteral("p_id"), 0);
    painting_temp_sum.setParam(QStringLiteral("p_id"), 0);
    OperatorId = 0;
    Day = day;
    CurrentShift = shift;
    Button5->setEnabled(false);
    Button7->setEnabled(false);
}

void TForm33::open(DistributionKind kind, const QDate& day, int shift) {
    prepare(kind, day, shift);
    exec();
}

void TForm33::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Button5->setEnabled(OperatorId != 0);
    Button7->setEnabled(OperatorId != 0);
    Button3->setFocus();
}

void TForm33::done(int result) {
    // Whatever way the dialog closes, the operator's scratch rows go with it.
    guarded([this] { dropRowsOf(OperatorId); })();
    QDialog::done(result);
}

void TForm33::openLists() {
    for (DataSet* set : {&painting_temp, &painting_temp_sum}) {
        set->close();
        set->setParam(QStringLiteral("p_id"), OperatorId);
        set->open();
    }
}

void TForm33::closeLists() {
    painting_temp.close();
    painting_temp_sum.close();
}

void TForm33::dropRowsOf(int operatorId) {
    if (operatorId == 0)
        return;
    dm_.execute(dm_.DelSmena, sql::PaintingDeleteOperator, {{QStringLiteral("id_p"), operatorId}});
}

void TForm33::showSums() {
    const bool any = painting_temp_sum.isOpen() && !painting_temp_sum.isEmpty();
    DBEdit1->setText(any ? DataSetModel::displayText(painting_temp_sum, QStringLiteral("f_count"))
                         : QString());
    DBEdit2->setText(any ? DataSetModel::displayText(painting_temp_sum, QStringLiteral("f_time"))
                         : QString());
}

std::optional<distribution::Share> TForm33::currentShare() const {
    if (!painting_temp_sum.isOpen() || painting_temp_sum.isEmpty())
        return std::nullopt;
    const std::int64_t sum = hundredths(painting_temp_sum.field(QStringLiteral("f_count")));
    const std::int64_t time = hundredths(painting_temp_sum.field(QStringLiteral("f_time")));
    if (time <= 0)
        return std::nullopt;
    return distribution::operatorShare(sum, time, qRound(ShareFactor * 10),
                                       Edit2->text().toLongLong());
}

void TForm33::showShare() {
    if (const auto share = currentShare()) {
        Label5->setText(shown(share->price));
        Label7->setText(shown(share->total));
    }
}

void TForm33::chooseOperator() {
    const int previous = OperatorId;
    const auto choice = workers_.pick(TForm5::Mode::Operator);
    // Leaving the list without a choice keeps the operator and his list as they were.
    if (!choice)
        return;
    Edit1->setText(choice->name);
    OperatorId = choice->id;
    closeLists();
    {
        // Choosing an operator starts his list empty; a replaced operator's list goes too.
        Transaction tx(dm_.ADO_DB);
        if (previous != OperatorId)
            dropRowsOf(previous);
        dropRowsOf(OperatorId);
        tx.commit();
    }
    openLists();
    Button5->setEnabled(true);
    Button7->setEnabled(true);
}

void TForm33::addGroup() {
    if (OperatorId == 0)
        return;
    const auto group = groups_.pick(Day, CurrentShift);
    if (!group)
        return;
    const QVariantMap values{
        {QStringLiteral("id_p"), OperatorId},
        {QStringLiteral("id_w"), group->workerId},
        {QStringLiteral("v_id"), group->typeId},
        {QStringLiteral("f_count"), distribution::kopecksText(distribution::hourlyEarnings(
                                        group->earningsKopecks, group->hours))},
        {QStringLiteral("f_time"), qlonglong(group->hours)},
        {QStringLiteral("color"), group->color}};
    if (dm_.CheckExists(sql::PaintingGroupTaken, values,
                        QStringLiteral("Эта группа уже есть в списке оператора.")))
        return;
    closeLists();
    try {
        dm_.execute(groups_.ins_person, sql::PaintingInsertGroup, values);
    } catch (const DatabaseError&) {
        showError(QStringLiteral("Невозможно сохранить данные в БД!"));
    }
    openLists();
    showShare();
}

void TForm33::removeGroup() {
    if (!painting_temp.isOpen() || painting_temp.isEmpty())
        return;
    if (!askYesNo(QStringLiteral("Удалить позицию из списка?"), QStringLiteral("Удаление")))
        return;
    dm_.execute(dm_.DelSmena, sql::PaintingDeleteGroup,
                {{QStringLiteral("id"), painting_temp.field(QStringLiteral("id"))}});
    openLists();
    if (!painting_temp.isEmpty())
        showShare();
}

void TForm33::save() {
    if (OperatorId == 0) {
        showError(QStringLiteral("Не выбран работник!"));
        return;
    }
    if (painting_temp.isOpen() && !painting_temp.isEmpty()) {
        if (Edit2->text().trimmed().isEmpty()) {
            showError(QStringLiteral("Все поля должны быть заполнены!"));
            return;
        }
        // An operator paid for no hours would get a position worth nothing.
        if (Edit2->text().toInt() <= 0) {
            showError(QStringLiteral("Значение должно быть больше 0!"));
            return;
        }
        const auto share = currentShare();
        if (!share)
            return;
        const int operatorId = painting_temp.field(QStringLiteral("id_p")).toInt();
        const int code = distributionCode(qRound(ShareFactor * 10));
        PositionStore(dm_).insertShare(operatorId, code, Money::fromUnits(share->total), Day,
                                       CurrentShift, Edit2->text().toInt(),
                                       [this, operatorId] { dropRowsOf(operatorId); });
        closeLists();
    }
    accept();
}

} // namespace sdelka
