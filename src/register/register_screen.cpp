#include "register/register_screen.h"

#include "catalogs/groups_screens.h"
#include "catalogs/operations_screens.h"
#include "catalogs/products_screens.h"
#include "catalogs/types_screens.h"
#include "catalogs/workers_screens.h"
#include "core/calendar.h"
#include "core/marks.h"
#include "core/roles.h"
#include "data/reserved_ids.h"
#include "positions/position_store.h"
#include "register/distribution_screens.h"
#include "register/position_editor.h"
#include "widgets/messages.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include <optional>

namespace sdelka {

namespace {

template <typename T> T* named(T* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

QAction* item(QMenu* menu, const QString& text, const char* name, QObject* owner) {
    auto* action = new QAction(text, owner);
    action->setObjectName(QString::fromLatin1(name));
    menu->addAction(action);
    return action;
}

QMenu* submenu(QWidget* parent, const QString& title, const char* name) {
    auto* menu = new QMenu(title, parent);
    menu->setObjectName(QString::fromLatin1(name));
    // The menu's own action carries the name too, so it can be found and switched off as one.
    menu->menuAction()->setObjectName(QString::fromLatin1(name) + QStringLiteral("_action"));
    return menu;
}

} // namespace

std::vector<GridColumn> TForm1::gridColumns() {
    const Qt::Alignment centre = Qt::AlignCenter;
    return {
        {QStringLiteral("Фамилия И.О."), QStringLiteral("fio"), 250},
        {QStringLiteral("Марка изделия"), QStringLiteral("marka"), 260},
        {QStringLiteral("Операция"), QStringLiteral("vid"), 155},
        {QStringLiteral("Вид"), QStringLiteral("nmn"), 157},
        {QStringLiteral("Цвет"), QStringLiteral("color"), 0, centre},
        {QStringLiteral("Часы"), QStringLiteral("time"), 0},
        {QStringLiteral("Кол-во"), QStringLiteral("kol_vo"), 57},
        {QStringLiteral("Брак"), QStringLiteral("brak"), 49},
        {QStringLiteral("Итого (р.)"), QStringLiteral("summa"), 78},
        {QStringLiteral("Премия (%)"), QStringLiteral("prize"), 0, Qt::AlignLeft | Qt::AlignVCenter,
         true, true},
        {QStringLiteral("OK"), QStringLiteral("ok"), 37, centre},
        {QStringLiteral("Заведен"), QStringLiteral("vvod"), 84, centre},
    };
}

TForm1::TForm1(TDataModule6& dm, QWidget* parent) : QDialog(parent), dm_(dm) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("Табель"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setWindowFlag(Qt::WindowMinimizeButtonHint);
    // Wide enough for every column of the grid at its width.
    resize(1360, 760);
    CurrentShiftQuery = &dm_.Smena1;

    MainMenu = named(new QMenuBar(this), "MainMenu");
    N2 = submenu(this, QStringLiteral("Справочники"), "N2");
    N1 = item(N2, QStringLiteral("Рабочие"), "N1", this);
    N3 = item(N2, QStringLiteral("Изделия"), "N3", this);
    N4 = item(N2, QStringLiteral("Цены"), "N4", this);
    N6 = item(N2, QStringLiteral("Операции"), "N6", this);
    N8 = item(N2, QStringLiteral("Ном. группы"), "N8", this);
    N11 = submenu(this, QStringLiteral("Табель"), "N11");
    N9 = item(N11, QStringLiteral("Табель сделка"), "N9", this);
    N13 = item(N11, QStringLiteral("Табель по сменам"), "N13", this);
    N14 = submenu(this, QStringLiteral("Табель хоз. работ"), "N14");
    N20 = item(N14, QStringLiteral("По людям"), "N20", this);
    N22 = item(N14, QStringLiteral("По номенклатуре"), "N22", this);
    N11->addMenu(N14);
    N15 = submenu(this, QStringLiteral("Табель ср. сдельная"), "N15");
    N18 = item(N15, QStringLiteral("По людям"), "N18", this);
    N19 = item(N15, QStringLiteral("По номенклатуре"), "N19", this);
    N11->addMenu(N15);
    N17 = item(N11, QStringLiteral("Общий табель"), "N17", this);
    N23 = item(N11, QStringLiteral("Общий табель ЗП"), "N23", this);
    N7 = submenu(this, QStringLiteral("Отчеты"), "N7");
    N10 = item(N7, QStringLiteral("Сводные отчеты"), "N10", this);
    MainMenu->addMenu(N2);
    MainMenu->addMenu(N11);
    MainMenu->addMenu(N7);
    N5 = new QAction(QStringLiteral("Выход"), this);
    N5->setObjectName(QStringLiteral("N5"));
    MainMenu->addAction(N5);

    RadioButton1 = named(new QRadioButton(QStringLiteral("Смена №1")), "RadioButton1");
    RadioButton2 = named(new QRadioButton(QStringLiteral("Смена №2")), "RadioButton2");
    RadioButton3 = named(new QRadioButton(QStringLiteral("Смена №3")), "RadioButton3");
    RadioButton4 = named(new QRadioButton(QStringLiteral("Переработка")), "RadioButton4");
    RadioButton1->setChecked(true);
    CBox1 = named(new QCheckBox(QStringLiteral("Выходной")), "CBox1");
    DateT = named(new QDateEdit(QDate::currentDate()), "DateT");
    DateT->setCalendarPopup(true);
    DateT->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    DateT->setMinimumWidth(120);

    auto* top = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{RadioButton1, RadioButton2, RadioButton3,
                                                      RadioButton4, CBox1, DateT})
        top->addWidget(w);
    top->addStretch();

    DBGrid2 = named(new DataGrid(this), "DBGrid2");
    DBGrid2->setColumns(gridColumns());
    DBGrid2->setStyler([](const DataSet& set, int row, const QString& field) {
        CellStyle style;
        if (field == QLatin1String("ok")) {
            style.bold = true;
            style.foreground = isAcceptedMark(set.value(row, field).toString()) ? QColor(0, 128, 0)
                                                                                : QColor(255, 0, 0);
        }
        return style;
    });
    DBGrid2->setDataSet(&dm_.Smena1);

    Button1 = named(new QPushButton(QStringLiteral("Добавить")), "Button1");
    Button2 = named(new QPushButton(QStringLiteral("Изменить")), "Button2");
    Button3 = named(new QPushButton(QStringLiteral("Удалить")), "Button3");
    Button6 = named(new QPushButton(QStringLiteral("Покраска")), "Button6");
    Button7 = named(new QPushButton(QStringLiteral("Бригада")), "Button7");
    Button8 = named(new QPushButton(QStringLiteral("Обновить")), "Button8");
    Button5 = named(new QPushButton(QStringLiteral("Ср.сд./хоз. работы")), "Button5");
    Button4 = named(new QPushButton(QStringLiteral("Выход")), "Button4");
    for (QPushButton* b : {Button1, Button2, Button3, Button6, Button7, Button8, Button5, Button4})
        b->setAutoDefault(false);
    PopupAdd = named(new QMenu(this), "PopupAdd");
    Copy = item(PopupAdd, QStringLiteral("Копия"), "Copy", this);
    Button1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Button1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupAdd->popup(Button1->mapToGlobal(at)); });

    auto* bottom = new QHBoxLayout;
    for (QPushButton* b : {Button1, Button2, Button3, Button6, Button7})
        bottom->addWidget(b);
    bottom->addStretch();
    for (QPushButton* b : {Button8, Button5, Button4})
        bottom->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(MainMenu);
    layout->addLayout(top);
    layout->addWidget(DBGrid2, 1);
    layout->addLayout(bottom);

    // Escape presses "Выход": the dialog's own rejection closes the register.
    connect(Button4, &QPushButton::clicked, this, &QDialog::reject);
    connect(N5, &QAction::triggered, this, &QDialog::reject);

    for (int shift = 1; shift <= 4; ++shift) {
        connect(shiftButton(shift), &QRadioButton::toggled, this, [this, shift](bool on) {
            if (on)
                chooseShift(shift);
        });
    }
    paintShiftButtons();
    connect(CBox1, &QCheckBox::toggled, this, [this] { paintDayOff(); });
    DateT->installEventFilter(this);
    // A date chosen in the calendar, by the mouse or by the keys and Enter, reloads the lists;
    // the popup hands its date to the edit after these signals.
    const auto dateChosen =
        guarded([this] { QTimer::singleShot(0, this, guarded([this] { chooseDate(); })); });
    connect(DateT->calendarWidget(), &QCalendarWidget::clicked, this, dateChosen);
    connect(DateT->calendarWidget(), &QCalendarWidget::activated, this, dateChosen);
    connect(Button8, &QPushButton::clicked, this, guarded([this] { refresh(); }));
    connect(Button3, &QPushButton::clicked, this, guarded([this] { deleteSelected(); }));
    connect(DBGrid2, &QAbstractItemView::doubleClicked, this,
            guarded([this] { toggleAcceptance(); }));

    // The screens these open come with their own parts of the program; until then the
    // controls stay visible but cannot be used.
    for (QWidget* w : std::initializer_list<QWidget*>{Button1, Button2, Button5, Button6, Button7})
        w->setEnabled(false);
    for (QAction* a : {Copy, N1, N3, N4, N6, N8, N9, N13, N20, N22, N18, N19, N17, N23, N10})
        a->setEnabled(false);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(30000);
    Timer1->start();
}

namespace {

// Runs an action under the busy cursor.
template <typename F> void busy(F action) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        action();
    } catch (...) {
        QApplication::restoreOverrideCursor();
        throw;
    }
    QApplication::restoreOverrideCursor();
}

void paint(QWidget* w, std::optional<QColor> colour, bool bold) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::Button,
                 colour.value_or(QApplication::palette().color(QPalette::Button)));
    pal.setColor(QPalette::Window,
                 colour.value_or(QApplication::palette().color(QPalette::Window)));
    w->setPalette(pal);
    w->setAutoFillBackground(colour.has_value());
    QFont f = w->font();
    f.setBold(bold);
    w->setFont(f);
}

} // namespace

QRadioButton* TForm1::shiftButton(int shift) const {
    switch (shift) {
    case 2:
        return RadioButton2;
    case 3:
        return RadioButton3;
    case 4:
        return RadioButton4;
    default:
        return RadioButton1;
    }
}

void TForm1::reloadLists() {
    for (int shift = 1; shift <= 4; ++shift) {
        DataSet& list = dm_.shiftList(shift);
        list.close();
        list.setFiltered(false);
        list.setParam(QStringLiteral("data"), DateT->date());
    }
    for (int shift = 1; shift <= 4; ++shift)
        dm_.shiftList(shift).open();
}

void TForm1::activate() {
    DateT->setDate(QDate::currentDate());
    if (isWeekend(DateT->date()))
        CBox1->setChecked(true);
    reloadLists();
}

void TForm1::chooseDate() {
    busy([this] {
        reloadLists();
        CBox1->setChecked(isWeekend(DateT->date()));
    });
    DBGrid2->setFocus();
}

void TForm1::chooseShift(int shift) {
    CurrentShift = (shift >= 1 && shift <= 4) ? shift : 1;
    DBGrid2->setDataSet(&dm_.shiftList(CurrentShift));
    paintShiftButtons();
}

void TForm1::paintShiftButtons() {
    for (int shift = 1; shift <= 4; ++shift) {
        const bool chosen = shift == CurrentShift;
        paint(shiftButton(shift), chosen ? std::optional<QColor>(QColor(0, 128, 0)) : std::nullopt,
              chosen);
    }
}

void TForm1::paintDayOff() {
    const bool on = CBox1->isChecked();
    paint(CBox1, on ? std::optional<QColor>(QColor(255, 0, 0)) : std::nullopt, on);
}

void TForm1::refresh() {
    busy([this] {
        for (int shift = 1; shift <= 4; ++shift)
            dm_.shiftList(shift).reopen();
    });
}

void TForm1::toggleAcceptance() {
    if (LoginCode == ForemanCode)
        return;
    CurrentShiftQuery = &dm_.shiftList(CurrentShift);
    DataSet& list = *CurrentShiftQuery;
    if (list.isEmpty())
        return;
    const bool accepted = isAcceptedMark(list.field(QStringLiteral("ok")).toString());
    PositionStore(dm_).setMark(list.field(QStringLiteral("id")).toInt(),
                               QString::fromUtf8(accepted ? marks::NotAccepted : marks::Accepted));
    const int row = list.recNo();
    list.reopen();
    list.setRecNo(row);
}

void TForm1::deleteSelected() {
    DataSet& list = dm_.shiftList(CurrentShift);
    if (list.isEmpty())
        return;
    if (!askYesNo(QStringLiteral("Удалить позицию из списка?"), QStringLiteral("Удаление"))) {
        list.reopen();
        return;
    }
    // The ledger is recomputed for the deleted position's own worker, shift and day, in the
    // same transaction as the deletion.
    const int row = list.recNo();
    PositionStore(dm_).remove(list.field(QStringLiteral("id")).toInt());
    list.reopen();
    list.setRecNo(row);
}

void TForm1::attach(const RegisterScreens& screens) {
    screens_ = screens;
    // A menu item that opens a catalog: enabled once its screen is there.
    auto catalog = [this](QAction* item, auto* screen) {
        if (!screen)
            return;
        item->setEnabled(true);
        connect(item, &QAction::triggered, this,
                guarded([this, screen] { openScreen([screen] { screen->showCatalog(); }); }));
    };
    catalog(N1, screens_.workers);
    catalog(N3, screens_.products);
    catalog(N4, screens_.operations);
    catalog(N6, screens_.types);
    catalog(N8, screens_.groups);
    if (screens_.positions) {
        for (QWidget* w : std::initializer_list<QWidget*>{Button1, Button2})
            w->setEnabled(true);
        Copy->setEnabled(true);
        connect(Button1, &QPushButton::clicked, this, guarded([this] { addPosition(); }));
        connect(Button2, &QPushButton::clicked, this, guarded([this] { changePosition(); }));
        connect(Copy, &QAction::triggered, this, guarded([this] { copyPosition(); }));
    }
    if (screens_.distribution) {
        Button6->setEnabled(true);
        Button7->setEnabled(true);
        connect(Button6, &QPushButton::clicked, this,
                guarded([this] { distribute(DistributionKind::Painting); }));
        connect(Button7, &QPushButton::clicked, this,
                guarded([this] { distribute(DistributionKind::Brigade); }));
    }
}

void TForm1::distribute(DistributionKind kind) {
    openScreen([this, kind] { screens_.distribution->open(kind, DateT->date(), CurrentShift); });
    DataSet& list = *CurrentShiftQuery;
    const int row = list.isEmpty() ? 0 : list.recNo();
    list.reopen();
    if (!list.isEmpty() && row > 0)
        list.setRecNo(row);
}

void TForm1::addPosition() {
    CurrentShiftQuery = &dm_.shiftList(CurrentShift);
    screens_.positions->prepareAdd(
        {DateT->date(), CurrentShift, CBox1->isChecked(), CurrentShiftQuery});
    openScreen([this] { screens_.positions->exec(); });
}

void TForm1::changePosition(bool copy) {
    CurrentShiftQuery = &dm_.shiftList(CurrentShift);
    DataSet& list = *CurrentShiftQuery;
    const int row = list.recNo();
    const int operation = list.field(QStringLiteral("o_id")).toInt();
    // The shares of helpers, painting operators and brigade helpers are not edited here.
    if (list.isEmpty() || operation == reserved::HelperShare ||
        operation == reserved::PaintingOperator || operation == reserved::BrigadeHelper)
        return;
    const RegisterContext context{DateT->date(), CurrentShift, CBox1->isChecked(),
                                  CurrentShiftQuery};
    if (copy)
        screens_.positions->prepareCopy(context);
    else
        screens_.positions->prepareChange(context);
    openScreen([this] { screens_.positions->exec(); });
    list.setRecNo(row);
}

void TForm1::copyPosition() {
    changePosition(true);
}

void TForm1::openScreen(const std::function<void()>& show) {
    show();
    activate();
}

void TForm1::showModally() {
    guarded([this] { activate(); })();
    exec();
}

void TForm1::openModal(QDialog& screen) {
    screen.exec();
    guarded([this] { activate(); })();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == DateT && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            guarded([this] { chooseDate(); })();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace sdelka
