#pragma once

#include <QString>

#include <map>
#include <optional>

namespace sdelka::test {

// One cell of a saved workbook as the spreadsheet program reads it.
struct Cell {
    bool isNumber = false;
    QString value; // the number as written, or the string itself
    bool textFormat = false;
    bool bold = false;
};

// What a saved workbook holds on its first sheet.
struct Sheet {
    std::map<QString, Cell> cells; // by reference, "A1"
    std::map<int, double> widths;  // by column, counted from 1

    std::optional<Cell> cell(const QString& ref) const {
        auto it = cells.find(ref);
        return it == cells.end() ? std::nullopt : std::optional<Cell>(it->second);
    }
    // The number of rows that hold a cell.
    int rowCount() const;
};

// Unzips the .xlsx file and reads its first sheet, shared strings and styles back.
Sheet readSheet(const QString& file);

} // namespace sdelka::test
