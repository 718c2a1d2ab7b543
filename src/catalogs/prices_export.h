#pragma once

#include "data/data_module.h"
#include "spreadsheet/spreadsheet_writer.h"

#include <functional>
#include <optional>
#include <vector>

namespace sdelka {

// How far an export has got: rows written of all rows, called with 0 before the first row.
using ExportProgress = std::function<void(int done, int total)>;

// What came of an export, for the caller to show: the errors first, in the order they
// happened, then the notice.
struct ExportResult {
    // Whether the workbook was started; when it was not, nothing was written and the errors
    // say why.
    bool started = false;
    std::vector<SpreadsheetMessage> errors;
    // The file written; empty if none was.
    QString savedPath;
    // Where the file is, for the user who has it open in the spreadsheet program; none when the
    // file was not written or not opened.
    std::optional<SpreadsheetMessage> notice;
};

// The prices spreadsheet: every operation with its own price and kind, whether it has norms or
// not, titled "Цены".
ExportResult exportPrices(TDataModule6& dm, SpreadsheetWriter& writer,
                          const ExportProgress& progress);

} // namespace sdelka
