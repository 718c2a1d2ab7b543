#include "catalogs/catalog_common.h"

#include "widgets/messages.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace sdelka {

QPushButton* catalogButton(const QString& text, const char* name) {
    auto* b = new QPushButton(text);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

CatalogList buildCatalogList(QDialog* screen, DataSet& set, std::vector<GridColumn> columns,
                             const QString& searchField, const CatalogListLayout& layout,
                             const CatalogHandlers& handlers) {
    CatalogList list;
    list.grid = new DataGrid(screen);
    list.grid->setObjectName(QStringLiteral("DBGrid1"));
    if (!columns.empty())
        list.grid->setColumns(std::move(columns));
    list.grid->setDataSet(&set);
    list.add = catalogButton(QStringLiteral("Добавить"), layout.addName);
    list.change = catalogButton(QStringLiteral("Изменить"), layout.changeName);
    list.remove = catalogButton(QStringLiteral("Удалить"), layout.removeName);
    list.exit = catalogButton(QStringLiteral("Выход"), "Button4");
    list.search = new QLineEdit;
    list.search->setObjectName(QStringLiteral("Edit1"));
    list.search->setPlaceholderText(QStringLiteral("Поиск"));
    new SearchBox(list.search, set, searchField, layout.match);

    using Search = CatalogListLayout::Search;
    auto* bar = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{list.add, list.change, list.remove})
        bar->addWidget(w);
    for (QWidget* w : layout.extras)
        bar->addWidget(w);
    if (layout.searchPlace == Search::InBar)
        bar->addWidget(list.search);
    bar->addStretch();
    bar->addWidget(list.exit);
    auto* box = new QVBoxLayout(screen);
    if (layout.searchPlace == Search::AboveGrid)
        box->addWidget(list.search);
    box->addWidget(list.grid, 1);
    if (layout.searchPlace == Search::UnderGrid)
        box->addWidget(list.search);
    box->addLayout(bar);
    // Enter adds in the catalog.
    list.add->setDefault(true);

    QObject::connect(list.add, &QPushButton::clicked, screen, guarded(handlers.add));
    QObject::connect(list.change, &QPushButton::clicked, screen, guarded(handlers.change));
    QObject::connect(list.grid, &QAbstractItemView::doubleClicked, screen,
                     guarded(handlers.doubleClick ? handlers.doubleClick : handlers.change));
    QObject::connect(list.remove, &QPushButton::clicked, screen, guarded(handlers.remove));
    QObject::connect(list.exit, &QPushButton::clicked, screen, &QDialog::reject);
    return list;
}

void showAsCatalog(const CatalogList& list) {
    list.change->setText(QStringLiteral("Изменить"));
    list.change->setDefault(false);
    list.add->setDefault(true);
    list.add->show();
    list.remove->show();
}

void showAsPicker(const CatalogList& list, bool keepAdd) {
    list.change->setText(QStringLiteral("Выбрать"));
    list.change->show();
    list.change->setDefault(true);
    list.remove->hide();
    if (!keepAdd)
        list.add->hide();
    list.search->show();
    list.search->clear();
}

EditorButtons addEditorButtons(QDialog* editor, QBoxLayout* layout,
                               const std::function<void()>& save, const QString& cancelText,
                               const char* cancelName) {
    EditorButtons b{catalogButton(QStringLiteral("Записать"), "Button1"),
                    catalogButton(cancelText, cancelName)};
    b.save->setDefault(true);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(b.save);
    row->addWidget(b.cancel);
    layout->addLayout(row);
    QObject::connect(b.save, &QPushButton::clicked, editor, guarded(save));
    QObject::connect(b.cancel, &QPushButton::clicked, editor, &QDialog::reject);
    return b;
}

bool nameFits(const QString& name, const QString& what) {
    if (name.size() <= NameLength)
        return true;
    showError(QStringLiteral("%1 длиннее %2 символов.").arg(what).arg(NameLength));
    return false;
}

} // namespace sdelka
