#pragma once

#include <QString>
#include <QStringEncoder>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace sdelka {

// Writes the rows of a timesheet or report into an .xlsx workbook, cell by cell, for the
// desktop's spreadsheet program. The screens run a plain loop of WriteCell calls between
// OpenWorkbook and SetVisible(true); every failure is shown in a message box and reported by
// the result, so a loop simply goes on.
//
// The workbook is held in memory until SetVisible(true) saves it into the export folder
// (SDELKA_EXPORT_DIR, by default "Sdelka" in the user's documents) as
// "{title} {yyyy-MM-dd HH-mm-ss}.xlsx" and opens it, unless SDELKA_NO_OPEN=1, in the
// desktop's spreadsheet program.
class SpreadsheetWriter {
public:
    explicit SpreadsheetWriter(QString title = QStringLiteral("Отчет"));
    ~SpreadsheetWriter();
    SpreadsheetWriter(const SpreadsheetWriter&) = delete;
    SpreadsheetWriter& operator=(const SpreadsheetWriter&) = delete;

    // What the saved file is called (before its timestamp).
    void setTitle(const QString& title);
    const QString& title() const { return title_; }

    // Starts a new workbook with one sheet, dropping one that was not saved. Only an empty file
    // name is supported (existing workbooks are not opened). 1 on success; -1, after the
    // message box, when the export folder cannot be created or written to.
    int OpenWorkbook(const QString& fileName);

    // true saves the open workbook, opens it and tells the user where it is; afterwards no
    // workbook is open. false, or no open workbook, does nothing. Always 1.
    int SetVisible(bool visible);

    // Writes the value only: a numeric text becomes a number (unless the cell was formatted as
    // text before), anything else a string; the cell's format stays as it was. An empty text
    // writes nothing. 1 on success, -1 after the message box.
    int WriteCell(int sheet, int column, int row, const QString& text);
    // As above, and: asText formats the cell as text ("@") so the value stays a string; bold
    // sets or clears bold; autoFit widens the column to its longest text written with autoFit.
    // An empty text touches nothing, not even the format.
    int WriteCell(int sheet, int column, int row, const QString& text, bool asText, bool autoFit,
                  bool bold);

    // Writes a number as a number, whatever the locale would make of its text (a group
    // separator or a decimal comma); the cell's format stays as it was. 1 on success, -1 after
    // the message box.
    int WriteNumber(int sheet, int column, int row, double value);

    // The file written by the last SetVisible(true); empty if none was written.
    QString savedPath() const { return savedPath_; }

private:
    enum CellFlag : std::uint8_t { TextFormat = 1, Bold = 2 };

    int write(int sheet, int column, int row, const QString& text, bool flagsForm, bool asText,
              bool autoFit, bool bold);
    // Whether the cell can be written; reports the message box when it cannot.
    bool cellWritable(int sheet, int column, int row);
    std::uint8_t& flagsOf(int row, int column);
    lxw_format* format(std::uint8_t flags);
    QString save();
    void discard();

    QString title_;
    QString savedPath_;

    lxw_workbook* workbook_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    // Where the workbook is written before it gets its final name in the export folder.
    QString pendingPath_;
    QString exportDir_;
    // The formats of the open workbook by cell flags, made on first use.
    lxw_format* formats_[4] = {};
    // The flags of every cell written, by row: a later write keeps what it does not set.
    std::unordered_map<int, std::vector<std::uint8_t>> cellFlags_;
    int lastFlagsRow_ = -1;
    std::vector<std::uint8_t>* lastFlags_ = nullptr;
    // Width in characters of each column's longest text written with autoFit (index = column).
    std::vector<int> fitWidths_;
    // UTF-8 of the text being written, kept to spare an allocation per cell.
    QStringEncoder utf8Encoder_{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
    std::string utf8_;
};

} // namespace sdelka
