#include "widgets/search_box.h"

#include "core/search.h"

#include <QKeyEvent>

namespace sdelka {

SearchBox::SearchBox(QLineEdit* edit, DataSet& set, const QString& field, Match match)
    : QObject(edit), edit_(edit), set_(set), field_(field), match_(match) {
    connect(edit_, &QLineEdit::textChanged, this, [this] { apply(); });
    edit_->installEventFilter(this);
}

void SearchBox::apply() {
    const QString typed = edit_->text();
    // Blanks alone search for nothing: every row shows.
    if (typed.trimmed().isEmpty()) {
        set_.setFiltered(false);
        return;
    }
    const QString field = field_;
    const bool prefix = match_ == Match::Prefix;
    set_.setFilter([typed, field, prefix](const RowView& row) {
        const QString value = row[field].toString();
        return prefix ? startsWithTyped(value, typed) : containsTyped(value, typed);
    });
    set_.setFiltered(true);
}

bool SearchBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up) {
            set_.setRecNo(set_.recNo() - 1);
            return true;
        }
        if (key == Qt::Key_Down) {
            set_.setRecNo(set_.recNo() + 1);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace sdelka
