// A timesheet-sized spreadsheet, 2,000 rows of 36 columns, written through the writer the screens
// use and through libxlsxwriter called directly with the values already converted.
#include "comparisons.h"
#include "spreadsheet/spreadsheet_writer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace sdelka;
using namespace sdelka::bench;

namespace {

constexpr int Rows = 2000;
constexpr int Columns = 36;

struct BenchCell {
    int row;
    int column;
    QString text;
    bool asText;
    bool autoFit;
    bool bold;
    // The same value as a direct caller holds it.
    bool isNumber;
    double number;
    std::string utf8;
};

// A heading row in bold, then per worker: its number, name (fitted), personnel number as text,
// 31 days of hours or a day-off mark, the month's total in bold and a note.
const std::vector<BenchCell>& timesheetCells() {
    static const std::vector<BenchCell> cells = [] {
        std::vector<BenchCell> list;
        list.reserve(std::size_t(Rows) * Columns);
        auto add = [&list](int row, int column, const QString& text, bool asText, bool autoFit,
                           bool bold, bool isNumber) {
            QString point = text;
            point.replace(QLatin1Char(','), QLatin1Char('.'));
            list.push_back({row, column, text, asText, autoFit, bold, isNumber,
                            isNumber ? point.toDouble() : 0, text.toStdString()});
        };
        for (int c = 1; c <= Columns; ++c)
            add(1, c, QStringLiteral("Графа %1").arg(c), false, false, true, false);
        for (int r = 2; r <= Rows; ++r) {
            add(r, 1, QString::number(r - 1), false, false, false, true);
            add(r, 2, QStringLiteral("Работник %1 Петрович, участок сборки").arg(r), false, true,
                false, false);
            add(r, 3, QStringLiteral("%1").arg(r * 7, 6, 10, QLatin1Char('0')), true, false, false,
                false);
            for (int day = 1; day <= 31; ++day) {
                const int pick = (r * 31 + day) % 7;
                if (pick == 0)
                    add(r, 3 + day, QStringLiteral("В"), false, false, false, false);
                else
                    add(r, 3 + day, pick % 2 ? QStringLiteral("8") : QStringLiteral("7,5"), false,
                        false, false, true);
            }
            add(r, 35, QStringLiteral("%1,5").arg(150 + r % 40), false, false, true, true);
            add(r, 36, QStringLiteral("смена %1").arg(r % 4 + 1), false, false, false, false);
        }
        return list;
    }();
    return cells;
}

void spreadsheetLibxlsxwriterDirect(benchmark::State& state) {
    const std::vector<BenchCell>& cells = timesheetCells();
    QTemporaryDir dir;
    const std::string path =
        QFile::encodeName(dir.filePath(QStringLiteral("direct.xlsx"))).toStdString();
    for (auto _ : state) {
        lxw_workbook* workbook = workbook_new(path.c_str());
        lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
        lxw_format* formats[4] = {nullptr, workbook_add_format(workbook),
                                  workbook_add_format(workbook), workbook_add_format(workbook)};
        format_set_num_format_index(formats[1], 49);
        format_set_bold(formats[2]);
        format_set_num_format_index(formats[3], 49);
        format_set_bold(formats[3]);
        std::size_t widest = 0;
        for (const BenchCell& c : cells) {
            lxw_format* f = formats[(c.asText ? 1 : 0) | (c.bold ? 2 : 0)];
            if (c.isNumber)
                worksheet_write_number(sheet, lxw_row_t(c.row - 1), lxw_col_t(c.column - 1),
                                       c.number, f);
            else
                worksheet_write_string(sheet, lxw_row_t(c.row - 1), lxw_col_t(c.column - 1),
                                       c.utf8.c_str(), f);
            if (c.autoFit)
                widest = std::max(widest, std::size_t(c.text.size()));
        }
        worksheet_set_column(sheet, 1, 1, double(widest + 2), nullptr);
        const QString written = QFile::decodeName(path.c_str());
        if (workbook_close(workbook) != LXW_NO_ERROR || QFileInfo(written).size() == 0) {
            state.SkipWithError("workbook_close wrote no file");
            break;
        }
        QFile::remove(written);
    }
    state.counters["cells"] = double(cells.size());
}
BENCHMARK(spreadsheetLibxlsxwriterDirect)->Unit(benchmark::kMillisecond);

void spreadsheetWriter(benchmark::State& state) {
    const std::vector<BenchCell>& cells = timesheetCells();
    QTemporaryDir dir;
    qputenv("SDELKA_EXPORT_DIR", dir.path().toUtf8());
    qputenv("SDELKA_NO_OPEN", "1");
    SpreadsheetWriter writer(QStringLiteral("Табель"));
    for (auto _ : state) {
        if (writer.OpenWorkbook(QString()) != 1) {
            state.SkipWithError("OpenWorkbook failed");
            break;
        }
        for (const BenchCell& c : cells)
            writer.WriteCell(1, c.column, c.row, c.text, c.asText, c.autoFit, c.bold);
        writer.SetVisible(true);
        if (writer.savedPath().isEmpty() || QFileInfo(writer.savedPath()).size() == 0) {
            state.SkipWithError("nothing saved");
            break;
        }
        QFile::remove(writer.savedPath());
    }
    state.counters["cells"] = double(cells.size());
}
BENCHMARK(spreadsheetWriter)->Unit(benchmark::kMillisecond);

AddComparison spreadsheet{{"spreadsheet of 2,000 x 36 cells: writer vs libxlsxwriter direct",
                           "spreadsheetLibxlsxwriterDirect", "spreadsheetWriter", 1.5}};

} // namespace
