#pragma once

#include "data/dataset.h"

#include <QDialog>
#include <QPushButton>
#include <QString>

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

// Checks a typed name: true when it fits its column; otherwise says so and answers false.
bool nameFits(const QString& name, const QString& what);

} // namespace sdelka
