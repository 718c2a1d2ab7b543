#pragma once

#include <QString>
#include <QStringEncoder>

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace sdelka {

// Something the writer has to tell the user: the caller shows it in a box with this caption,
// or prints it.
struct SpreadsheetMessage {
    QString text;
    QString caption;

    friend bool operator==(const SpreadsheetMessage&, const SpreadsheetMessage&) = default;
};

// Writes the rows of a timesheet or report into an .xlsx workbook, cell by cell, for the
// desktop's spreadsheet program. The screens run a plain loop of WriteCell calls between
// OpenWorkbook and SetVisible(true); a failure is reported by the result and kept, in order,
// for the caller to show afterwards, so a loop simply goes on. The writer itself shows nothing.
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

    // Starts a new workbook with one sheet, dropping one that was not saved, and forgets the
    // errors of the one before. Only an empty file name is supported (existing workbooks are
    // not opened). 1 on success; -1, with the error kept, when the export folder cannot be
    // created or written to.
    int OpenWorkbook(const QString& fileName);

    // true saves the open workbook and opens it; savedNotice() then tells the user where it is,
    // or an error is kept when it could not be saved. Afterwards no workbook is open. false, or
    // no open workbook, does nothing. Always 1.
    int SetVisible(bool visible);

    // Writes the value only: a numeric text becomes a number (unless the cell was formatted as
    // text before), anything else a string; the cell's format stays as it was. An empty text
    // writes nothing. 1 on success, -1 with the error kept.
    int WriteCell(int sheet, int column, int row, const QString& text);
    // As above, and: asText formats the cell as text ("@") so the value stays a string; bold
    // sets or clears bold; autoFit widens the column to its longest text written with autoFit.
    // An empty text touches nothing, not even the format.
    int WriteCell(int sheet, int column, int row, const QString& text, bool asText, bool autoFit,
                  bool bold);

    // Writes a number as a number, whatever the locale would make of its text (a group
    // separator or a decimal comma); the cell's format stays as it was. 1 on success, -1 with
    // the error kept.
    int WriteNumber(int sheet, int column, int row, double value);

    // The latest failure kept since the last OpenWorkbook or takeErrors(); none if all went well.
    std::optional<SpreadsheetMessage> lastError() const;
    // Every failure kept since the last OpenWorkbook or takeErrors(), first one first, each
    // once; the writer forgets them.
    std::vector<SpreadsheetMessage> takeErrors();

    // The file written by the last SetVisible(true); empty if none was written.
    QString savedPath() const { return savedPath_; }
    // What tells the user where that file is, captioned "Excel"; none if no file was written.
    std::optional<SpreadsheetMessage> savedNotice() const;
    // Whether that file was handed to the desktop's spreadsheet program (not with
    // SDELKA_NO_OPEN=1); the notice is for a user who has it in front of them.
    bool savedOpened() const { return savedOpened_; }

private:
    enum CellFlag : std::uint8_t { TextFormat = 1, Bold = 2 };

    int write(int sheet, int column, int row, const QString& text, bool flagsForm, bool asText,
              bool autoFit, bool bold);
    // Whether the cell can be written; keeps the error when it cannot.
    bool cellWritable(int sheet, int column, int row);
    void fail(const QString& text, const QString& caption);
    std::uint8_t& flagsOf(int row, int column);
    lxw_format* format(std::uint8_t flags);
    QString save();
    void discard();

    QString title_;
    QString savedPath_;
    bool savedOpened_ = false;
    std::vector<SpreadsheetMessage> errors_;

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
