#include "spreadsheet/spreadsheet_writer.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>

#include <xlsxwriter.h>

#include <algorithm>
#include <charconv>
#include <utility>

namespace sdelka {

namespace {

const QString OpenFailedText = QStringLiteral("Ошибка открытия файла Microsoft Excel.");
const QString OpenFailedCaption = QStringLiteral("Ошибка");
const QString SheetCaption = QStringLiteral("Ошибочный номер листа Microsoft Excel");
const QString CellCaption = QStringLiteral("Ошибка Microsoft Excel");
const QString SavedCaption = QStringLiteral("Excel");

// The built-in number format "@": the cell holds text as typed.
constexpr std::uint8_t TextNumFormat = 49;
// Widths are in characters of the default font; a fitted column gets a little room around its
// text, and a very long text does not make the column wider than a screen.
constexpr int FitMargin = 2;
constexpr int FitMaxWidth = 100;
// Longer numeric texts are kept as strings.
constexpr int MaxNumberLength = 64;

QString writeErrorText(int sheet, int column, int row) {
    return QStringLiteral("Ошибка при записи: лист %1, столбец %2, строка %3")
        .arg(sheet)
        .arg(column)
        .arg(row);
}

QString exportDirectory() {
    const QString configured = qEnvironmentVariable("SDELKA_EXPORT_DIR");
    if (!configured.isEmpty())
        return configured;
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
           QStringLiteral("/Sdelka");
}

bool openingDisabled() {
    return qEnvironmentVariable("SDELKA_NO_OPEN") == QLatin1String("1");
}

// The title as part of a file name: characters that no file system accepts become "_".
QString fileNamePart(const QString& title) {
    QString part = title.trimmed();
    for (QChar& ch : part) {
        if (ch.unicode() < 0x20 || QStringView(u"/\\:*?\"<>|").contains(ch))
            ch = QLatin1Char('_');
    }
    return part.isEmpty() ? QStringLiteral("Отчет") : part;
}

// A text a user would type as a number: an optional sign, digits, and at most one decimal
// comma or point, with blanks around it. Read as the spreadsheet program reads a typed value.
bool parseNumber(QStringView text, double& value) {
    text = text.trimmed();
    if (text.isEmpty() || text.size() > MaxNumberLength)
        return false;
    char buf[MaxNumberLength + 1];
    int n = 0;
    int digits = 0;
    bool separator = false;
    qsizetype i = 0;
    if (text[0] == u'+' || text[0] == u'-') {
        if (text[0] == u'-')
            buf[n++] = '-';
        i = 1;
    }
    for (; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        if (ch >= u'0' && ch <= u'9') {
            buf[n++] = char(ch);
            ++digits;
        } else if ((ch == u',' || ch == u'.') && !separator) {
            buf[n++] = '.';
            separator = true;
        } else {
            return false;
        }
    }
    if (digits == 0)
        return false;
    const auto [end, error] = std::from_chars(buf, buf + n, value);
    return error == std::errc() && end == buf + n;
}

// The width in characters of a text's longest line.
int textWidth(const QString& text) {
    qsizetype widest = 0;
    qsizetype start = 0;
    while (true) {
        const qsizetype newline = text.indexOf(QLatin1Char('\n'), start);
        const qsizetype end = newline < 0 ? text.size() : newline;
        widest = std::max(widest, end - start);
        if (newline < 0)
            break;
        start = newline + 1;
    }
    return int(std::min<qsizetype>(widest, FitMaxWidth));
}

} // namespace

SpreadsheetWriter::SpreadsheetWriter(QString title) : title_(std::move(title)) {}

SpreadsheetWriter::~SpreadsheetWriter() {
    discard();
}

void SpreadsheetWriter::setTitle(const QString& title) {
    title_ = title;
}

int SpreadsheetWriter::OpenWorkbook(const QString& fileName) {
    discard();
    errors_.clear();
    const QString dir = exportDirectory();
    // The probe file proves the folder can be written to, and is where the workbook is
    // written before it is renamed to its final name: both in one folder, so the rename cannot
    // cross file systems.
    QTemporaryFile probe(dir + QStringLiteral("/.sdelka-XXXXXX.xlsx"));
    probe.setAutoRemove(false);
    if (!fileName.isEmpty() || !QDir().mkpath(dir) || !probe.open()) {
        fail(OpenFailedText, OpenFailedCaption);
        return -1;
    }
    probe.close();
    pendingPath_ = probe.fileName();
    exportDir_ = dir;

    lxw_workbook_options options = {};
    const QByteArray path = QFile::encodeName(pendingPath_);
    workbook_ = workbook_new_opt(path.constData(), &options);
    if (workbook_ != nullptr)
        sheet_ = workbook_add_worksheet(workbook_, "Лист1");
    if (sheet_ == nullptr) {
        discard();
        fail(OpenFailedText, OpenFailedCaption);
        return -1;
    }
    return 1;
}

int SpreadsheetWriter::SetVisible(bool visible) {
    if (!visible || workbook_ == nullptr)
        return 1;
    savedPath_ = save();
    savedOpened_ = false;
    discard();
    if (savedPath_.isEmpty()) {
        fail(OpenFailedText, OpenFailedCaption);
        return 1;
    }
    if (!openingDisabled()) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(savedPath_));
        savedOpened_ = true;
    }
    return 1;
}

std::optional<SpreadsheetMessage> SpreadsheetWriter::lastError() const {
    if (errors_.empty())
        return std::nullopt;
    return errors_.back();
}

std::vector<SpreadsheetMessage> SpreadsheetWriter::takeErrors() {
    return std::exchange(errors_, {});
}

std::optional<SpreadsheetMessage> SpreadsheetWriter::savedNotice() const {
    if (savedPath_.isEmpty())
        return std::nullopt;
    return SpreadsheetMessage{
        QStringLiteral("Файл сохранен: %1").arg(QDir::toNativeSeparators(savedPath_)),
        SavedCaption};
}

void SpreadsheetWriter::fail(const QString& text, const QString& caption) {
    errors_.push_back({text, caption});
}

int SpreadsheetWriter::WriteCell(int sheet, int column, int row, const QString& text) {
    return write(sheet, column, row, text, false, false, false, false);
}

int SpreadsheetWriter::WriteCell(int sheet, int column, int row, const QString& text, bool asText,
                                 bool autoFit, bool bold) {
    return write(sheet, column, row, text, true, asText, autoFit, bold);
}

int SpreadsheetWriter::write(int sheet, int column, int row, const QString& text, bool flagsForm,
                             bool asText, bool autoFit, bool bold) {
    if (text.isEmpty())
        return 1;
    if (!cellWritable(sheet, column, row))
        return -1;

    std::uint8_t& flags = flagsOf(row, column);
    // Formatting as text sticks to the cell; bold is set either way by the flags form. The
    // plain form keeps whatever the cell had.
    std::uint8_t cellFlags = flags;
    if (flagsForm)
        cellFlags =
            std::uint8_t((flags & TextFormat) | (asText ? TextFormat : 0) | (bold ? Bold : 0));
    lxw_format* cellFormat = format(cellFlags);

    const auto r = lxw_row_t(row - 1);
    const auto c = lxw_col_t(column - 1);
    lxw_error result = LXW_ERROR_MEMORY_MALLOC_FAILED;
    double number = 0;
    if (cellFlags != 0 && cellFormat == nullptr) {
        // The format could not be made; the error below reports it.
    } else if (!(cellFlags & TextFormat) && parseNumber(text, number)) {
        result = worksheet_write_number(sheet_, r, c, number, cellFormat);
    } else {
        utf8_.resize(std::size_t(utf8Encoder_.requiredSpace(text.size())) + 1);
        char* end = utf8Encoder_.appendToBuffer(utf8_.data(), text);
        *end = '\0';
        result = worksheet_write_string(sheet_, r, c, utf8_.data(), cellFormat);
    }
    if (result != LXW_NO_ERROR) {
        fail(writeErrorText(sheet, column, row), CellCaption);
        return -1;
    }
    flags = cellFlags;

    if (flagsForm && autoFit) {
        if (fitWidths_.size() <= std::size_t(column))
            fitWidths_.resize(std::size_t(column) + 1, 0);
        fitWidths_[column] = std::max(fitWidths_[column], textWidth(text));
    }
    return 1;
}

bool SpreadsheetWriter::cellWritable(int sheet, int column, int row) {
    if (workbook_ == nullptr || sheet != 1) {
        fail(writeErrorText(sheet, column, row), SheetCaption);
        return false;
    }
    if (column < 1 || column > LXW_COL_MAX || row < 1 || row > LXW_ROW_MAX) {
        fail(writeErrorText(sheet, column, row), CellCaption);
        return false;
    }
    return true;
}

int SpreadsheetWriter::WriteNumber(int sheet, int column, int row, double value) {
    if (!cellWritable(sheet, column, row))
        return -1;
    const std::uint8_t flags = flagsOf(row, column) & ~TextFormat;
    lxw_format* cellFormat = format(flags);
    if ((flags != 0 && cellFormat == nullptr) ||
        worksheet_write_number(sheet_, lxw_row_t(row - 1), lxw_col_t(column - 1), value,
                               cellFormat) != LXW_NO_ERROR) {
        fail(writeErrorText(sheet, column, row), CellCaption);
        return -1;
    }
    flagsOf(row, column) = flags;
    return 1;
}

std::uint8_t& SpreadsheetWriter::flagsOf(int row, int column) {
    // Rows are mostly written one after another, so the last row's flags are kept at hand.
    if (row != lastFlagsRow_ || lastFlags_ == nullptr) {
        lastFlags_ = &cellFlags_[row];
        lastFlagsRow_ = row;
    }
    if (lastFlags_->size() <= std::size_t(column))
        lastFlags_->resize(std::size_t(column) + 1, 0);
    return (*lastFlags_)[column];
}

lxw_format* SpreadsheetWriter::format(std::uint8_t flags) {
    if (flags == 0)
        return nullptr;
    lxw_format*& cached = formats_[flags];
    if (cached == nullptr) {
        cached = workbook_add_format(workbook_);
        if (cached == nullptr)
            return nullptr;
        if (flags & TextFormat)
            format_set_num_format_index(cached, TextNumFormat);
        if (flags & Bold)
            format_set_bold(cached);
    }
    return cached;
}

// Writes the workbook and gives it its final name in the export folder; the path, or an empty
// text when it could not be written. The workbook is gone afterwards either way.
QString SpreadsheetWriter::save() {
    for (std::size_t column = 1; column < fitWidths_.size(); ++column) {
        if (fitWidths_[column] > 0)
            worksheet_set_column(sheet_, lxw_col_t(column - 1), lxw_col_t(column - 1),
                                 std::min(fitWidths_[column] + FitMargin, FitMaxWidth), nullptr);
    }
    const QByteArray title = title_.toUtf8();
    lxw_doc_properties properties = {};
    properties.title = const_cast<char*>(title.constData());
    workbook_set_properties(workbook_, &properties);

    const lxw_error closed = workbook_close(workbook_);
    workbook_ = nullptr;
    sheet_ = nullptr;
    if (closed != LXW_NO_ERROR)
        return {};

    // "{title} {time}.xlsx", with " (2)", " (3)" … when an export of the same second is there.
    const QString base =
        QDir(exportDir_)
            .filePath(fileNamePart(title_) + QLatin1Char(' ') +
                      QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")));
    for (int n = 1; n < 1000; ++n) {
        const QString candidate =
            base + (n == 1 ? QString() : QStringLiteral(" (%1)").arg(n)) + QStringLiteral(".xlsx");
        // The rename never replaces a file: a name already taken moves on to the next.
        if (QFile::rename(pendingPath_, candidate)) {
            pendingPath_.clear();
            return candidate;
        }
        if (!QFile::exists(candidate))
            break;
    }
    return {};
}

void SpreadsheetWriter::discard() {
    if (workbook_ != nullptr)
        lxw_workbook_free(workbook_);
    workbook_ = nullptr;
    sheet_ = nullptr;
    if (!pendingPath_.isEmpty())
        QFile::remove(pendingPath_);
    pendingPath_.clear();
    std::fill(std::begin(formats_), std::end(formats_), nullptr);
    cellFlags_.clear();
    lastFlagsRow_ = -1;
    lastFlags_ = nullptr;
    fitWidths_.clear();
}

} // namespace sdelka
