#pragma once

#include "data/data_module.h"
#include "spreadsheet/spreadsheet_writer.h"

#include <functional>

namespace sdelka {

// How far an export has got: rows written of all rows, called with 0 before the first row.
using ExportProgress = std::function<void(int done, int total)>;

// The prices spreadsheet: every operation with its own price and kind, whether it has norms or
// not, titled "Цены". false when the workbook could not be started (the writer has said why).
bool exportPrices(TDataModule6& dm, SpreadsheetWriter& writer, const ExportProgress& progress);

} // namespace sdelka
