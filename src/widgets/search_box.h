#pragma once

#include "data/dataset.h"

#include <QLineEdit>
#include <QObject>

namespace sdelka {

// Ties a catalog's search field to its data set: every change of the text filters the rows
// already read (an empty text shows them all), and Up and Down in the field move the current
// row.
class SearchBox : public QObject {
    Q_OBJECT
public:
    enum class Match { Prefix, Substring };

    SearchBox(QLineEdit* edit, DataSet& set, const QString& field, Match match = Match::Prefix);

    // Filters by the field's text now, as a change of the text does.
    void apply();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* edit_;
    DataSet& set_;
    QString field_;
    Match match_;
};

} // namespace sdelka
