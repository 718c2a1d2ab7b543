#include "catalogs/workers_screens.h"

#include "catalogs/catalog_statements.h"
#include "widgets/messages.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace sdelka {

namespace {

void fillLookup(QComboBox* box, DataSet& set) {
    set.reopen();
    box->clear();
    for (int r = 0; r < set.recordCount(); ++r)
        box->addItem(set.value(r, QStringLiteral("s_caption")).toString(),
                     set.value(r, QStringLiteral("id")));
    box->setCurrentIndex(-1);
}

QComboBox* lookup(const char* name) {
    auto* box = new QComboBox;
    box->setObjectName(QString::fromLatin1(name));
    box->setMaxVisibleItems(10);
    box->setMinimumWidth(300);
    return box;
}

} // namespace

TForm2::TForm2(TDataModule6& dm, QWidget* parent)
    : QDialog(parent), cmd_person(dm.ADO_DB, QStringLiteral("cmd_person")), dm_(dm),
      department_(dm.ADO_DB, QStringLiteral("department"), sql::Departments),
      staffpos_(dm.ADO_DB, QStringLiteral("staffpos"), sql::StaffPositions),
      roles_(dm.ADO_DB, QStringLiteral("roles"), sql::Roles) {
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("Работники"));
    Edit1 = new QLineEdit;
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(NameLength + 1);
    LCB_department = lookup("LCB_department");
    LCB_staffpos = lookup("LCB_staffpos");
    LCB_roles = lookup("LCB_roles");
    auto* group = new QGroupBox(QStringLiteral("Данные о работнике"));
    auto* form = new QVBoxLayout(group);
    const std::pair<const char*, QWidget*> rows[] = {{"ФИО", Edit1},
                                                     {"Подразделение", LCB_department},
                                                     {"Должность", LCB_staffpos},
                                                     {"Роль", LCB_roles}};
    for (const auto& [label, field] : rows) {
        form->addWidget(new QLabel(QString::fromUtf8(label)));
        form->addWidget(field);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    const EditorButtons buttons = addEditorButtons(this, layout, [this] { save(); });
    Button1 = buttons.save;
    Button2 = buttons.cancel;
}

void TForm2::reloadLookups() {
    fillLookup(LCB_staffpos, staffpos_);
    fillLookup(LCB_roles, roles_);
    fillLookup(LCB_department, department_);
}

void TForm2::prepareAdd() {
    Edit1->clear();
    setWindowTitle(QStringLiteral("Заведение данных нового работника"));
    Tag = Mode::Add;
    reloadLookups();
}

void TForm2::prepareChange(int workerId, const QString& name, const QString& staffPosition) {
    setWindowTitle(QStringLiteral("Изменение данных работника"));
    Tag = Mode::Change;
    reloadLookups();
    Edit1->setText(name.trimmed());
    WorkerId = workerId;
    if (staffPosition.isEmpty())
        return;
    int at = LCB_staffpos->findText(staffPosition);
    if (at < 0) {
        // A title the staff table no longer lists (or never did) is kept as it is.
        LCB_staffpos->addItem(staffPosition);
        at = LCB_staffpos->count() - 1;
    }
    LCB_staffpos->setCurrentIndex(at);
    const int row = at < staffpos_.recordCount() ? at : -1;
    if (row >= 0) {
        const QVariant department = staffpos_.value(row, QStringLiteral("id_department"));
        LCB_department->setCurrentIndex(LCB_department->findData(department.toString()));
    }
}

void TForm2::save() {
    const QString fio = Edit1->text().trimmed();
    if (fio.isEmpty()) {
        showError(QStringLiteral("ФИО нужно заполнить!"));
        return;
    }
    if (!nameFits(fio, QStringLiteral("ФИО")))
        return;
    dm_.execute(cmd_person, Tag == Mode::Add ? sql::InsertWorker : sql::UpdateWorker,
                {{QStringLiteral("fio"), fio},
                 {QStringLiteral("staffpos"), LCB_staffpos->currentText()},
                 {QStringLiteral("id"), WorkerId}});
    accept();
}

void TForm2::wheelEvent(QWheelEvent* event) {
    // The wheel anywhere over the editor steps the look-up list that has the focus.
    auto* box = qobject_cast<QComboBox*>(focusWidget());
    if (box && (box == LCB_department || box == LCB_staffpos || box == LCB_roles)) {
        const int step = event->angleDelta().y() < 0 ? 1 : -1;
        const int next = box->currentIndex() + step;
        if (next >= 0 && next < box->count())
            box->setCurrentIndex(next);
        event->accept();
        return;
    }
    QDialog::wheelEvent(event);
}

TForm5::TForm5(TDataModule6& dm, TForm2& editor, QWidget* parent)
    : QDialog(parent), dm_(dm), editor_(editor), workers_(dm.Workers) {
    setObjectName(QStringLiteral("TForm5"));
    setWindowTitle(QStringLiteral("Список рабочих"));
    resize(640, 560);
    list_ = buildCatalogList(this, workers_,
                             {{QStringLiteral("ФИО"), QStringLiteral("fio"), 320},
                              {QStringLiteral("Должность"), QStringLiteral("s_staffpos_hl"), 250}},
                             QStringLiteral("fio"), {},
                             {[this] { add(); }, [this] { changeOrPick(); }, [this] { remove(); }});
    DBGrid1 = list_.grid;
    Button1 = list_.add;
    Button2 = list_.change;
    Button3 = list_.remove;
    Button4 = list_.exit;
    Edit1 = list_.search;
}

void TForm5::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Picked = 0;
    if (Edit1->isVisible())
        Edit1->setFocus();
}

void TForm5::showCatalog() {
    Tag = Mode::Catalog;
    workers_.open();
    showAsCatalog(list_);
    exec();
    workers_.close();
}

std::optional<CatalogChoice> TForm5::pick(Mode mode) {
    Tag = mode;
    choice_.reset();
    workers_.open();
    showAsPicker(list_, mode == Mode::Helper);
    exec();
    workers_.close();
    return choice_;
}

void TForm5::add() {
    editor_.prepareAdd();
    editor_.exec();
    workers_.reopen();
}

void TForm5::changeOrPick() {
    if (workers_.isEmpty())
        return;
    const int id = workers_.field(QStringLiteral("id")).toInt();
    const QString name = workers_.field(QStringLiteral("fio")).toString().trimmed();
    if (Tag == Mode::Catalog) {
        const int row = workers_.recNo();
        editor_.prepareChange(id, name, workers_.field(QStringLiteral("s_staffpos_hl")).toString());
        editor_.exec();
        workers_.reopen();
        workers_.setRecNo(row);
        return;
    }
    Picked = 1;
    if (Tag == Mode::Helper) {
        const auto hours = askHours ? askHours(name) : std::nullopt;
        if (!hours) {
            Picked = 0;
            return;
        }
        PickedHours = *hours;
    }
    choice_ = CatalogChoice{id, name};
    accept();
}

void TForm5::remove() {
    if (workers_.isEmpty())
        return;
    // A worker's positions would drop out of the register and every total, unpaid.
    if (dm_.CheckExists(sql::WorkerUsed,
                        {{QStringLiteral("id"), workers_.field(QStringLiteral("id"))}},
                        QStringLiteral("Работник есть в позициях, удалить нельзя.")))
        return;
    if (!askYesNo(QStringLiteral("Удалить работника?"), QStringLiteral("Удаление")))
        return;
    const int row = workers_.recNo();
    dm_.execute(editor_.cmd_person, sql::DeleteWorker,
                {{QStringLiteral("id"), workers_.field(QStringLiteral("id"))}});
    workers_.reopen();
    workers_.setRecNo(row);
}

} // namespace sdelka
