#pragma once

#include "data/dataset.h"
#include "widgets/data_grid.h"
#include "widgets/search_box.h"

#include <QBoxLayout>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QString>

#include <functional>
#include <vector>

namespace sdelka {

// A name longer than its column is refused before anything is sent.
constexpr int NameLength = 254;

// What a picker hands back to the screen that opened it.
struct CatalogChoice {
    int id = 0;
    QString name;
};

// Gives a button its object name and keeps it from taking Enter unless made the default.
QPushButton* catalogButton(const QString& text, const char* name);

// The controls every catalog list has: the grid over its data set, the add, change (or choose),
// delete and exit buttons, and the search field.
struct CatalogList {
    DataGrid* grid = nullptr;
    QPushButton* add = nullptr;
    QPushButton* change = nullptr;
    QPushButton* remove = nullptr;
    QPushButton* exit = nullptr;
    QLineEdit* search = nullptr;
};

// How a list is put together: the object names of its buttons, where its search field stands,
// what the search matches, and more controls that stand in the bar after the delete button.
struct CatalogListLayout {
    const char* addName = "Button1";
    const char* changeName = "Button2";
    const char* removeName = "Button3";
    enum class Search { InBar, UnderGrid, AboveGrid } searchPlace = Search::InBar;
    SearchBox::Match match = SearchBox::Match::Prefix;
    std::vector<QWidget*> extras = {};
};

// What the list's controls do; a double click on the grid acts as the change button unless it
// has a handler of its own.
struct CatalogHandlers {
    std::function<void()> add;
    std::function<void()> change;
    std::function<void()> remove;
    std::function<void()> doubleClick = {};
};

// Builds a list's controls on the screen, lays them out and connects them; the exit button and
// Escape close the list.
CatalogList buildCatalogList(QDialog* screen, DataSet& set, std::vector<GridColumn> columns,
                             const QString& searchField, const CatalogListLayout& layout,
                             const CatalogHandlers& handlers);

// As the catalog: the change button says "Изменить" and is not the default, Enter adds, the add
// and delete buttons show.
void showAsCatalog(const CatalogList& list);
// As a picker: "Выбрать" is the default, the delete button (and the add button unless kept)
// hidden, the search field shown and empty.
void showAsPicker(const CatalogList& list, bool keepAdd = false);

// The save and cancel buttons of a catalog editor, in their row under the fields: "Записать"
// is the default button; the cancel button (and Escape) closes the editor without saving.
struct EditorButtons {
    QPushButton* save;
    QPushButton* cancel;
};
EditorButtons addEditorButtons(QDialog* editor, QBoxLayout* layout,
                               const std::function<void()>& save,
                               const QString& cancelText = QStringLiteral("Отмена"),
                               const char* cancelName = "Button2");

// Checks a typed name: true when it fits its column; otherwise says so and answers false.
bool nameFits(const QString& name, const QString& what);

} // namespace sdelka
