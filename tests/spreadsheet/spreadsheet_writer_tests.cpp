// The writer is checked through the .xlsx files it leaves in the export folder: each file is
// unzipped and its sheet, shared strings and styles read back. Its failures and notices are
// checked as it reports them; no test may see a message box, since the writer shows none.
#include "spreadsheet/spreadsheet_writer.h"
#include "support/screen_helpers.h"
#include "support/xlsx_reader.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <map>
#include <optional>

namespace sdelka {
void PrintTo(const SpreadsheetMessage& message, std::ostream* os) {
    *os << '"' << message.text.toStdString() << "\" (" << message.caption.toStdString() << ')';
}
} // namespace sdelka

using namespace sdelka;
using namespace sdelka::test;

namespace {

using Messages = std::vector<SpreadsheetMessage>;

const SpreadsheetMessage OpenFailed{QStringLiteral("Ошибка открытия файла Microsoft Excel."),
                                    QStringLiteral("Ошибка")};
const QString SheetCaption = QStringLiteral("Ошибочный номер листа Microsoft Excel");
const QString CellCaption = QStringLiteral("Ошибка Microsoft Excel");

SpreadsheetMessage writeError(int sheet, int column, int row, const QString& caption) {
    return {QStringLiteral("Ошибка при записи: лист %1, столбец %2, строка %3")
                .arg(sheet)
                .arg(column)
                .arg(row),
            caption};
}

class SpreadsheetWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        exportDir = tmp.filePath(QStringLiteral("Выгрузка"));
        qputenv("SDELKA_EXPORT_DIR", exportDir.toUtf8());
        qputenv("SDELKA_NO_OPEN", "1");
    }
    void TearDown() override { EXPECT_TRUE(log.empty()) << "the writer showed a message box"; }
    // Every file in the export folder, hidden ones included.
    QStringList exported() const {
        return QDir(exportDir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }
    // Saves what the writer holds, which must go without an error; the path of the file.
    QString save(SpreadsheetWriter& writer) {
        EXPECT_EQ(writer.SetVisible(true), 1);
        EXPECT_EQ(writer.takeErrors(), Messages{});
        EXPECT_FALSE(writer.savedPath().isEmpty());
        return writer.savedPath();
    }

    QTemporaryDir tmp;
    QString exportDir;
    MessageLog log;
};

TEST_F(SpreadsheetWriterTest, CellsGetTheirTypeAndFormat) {
    struct Case {
        QString text;
        bool plain;
        bool asText;
        bool bold;
        std::optional<Cell> expected;
    };
    const std::vector<Case> cases = {
        {"12", true, false, false, Cell{true, "12"}},
        {"-3.5", false, false, false, Cell{true, "-3.5"}},
        {"1,25", false, false, false, Cell{true, "1.25"}},
        {" +7 ", true, false, false, Cell{true, "7"}},
        {"12", false, true, false, Cell{false, "12", true}},
        {"1,2,3", false, false, false, Cell{false, "1,2,3"}},
        {"12a", true, false, false, Cell{false, "12a"}},
        {"-", false, false, false, Cell{false, "-"}},
        {",", false, false, false, Cell{false, ","}},
        {"Иванов Пётр Ильич", false, false, false, Cell{false, "Иванов Пётр Ильич"}},
        {"Итого", false, false, true, Cell{false, "Итого", false, true}},
        {"5", false, true, true, Cell{false, "5", true, true}},
        {"7", false, false, true, Cell{true, "7", false, true}},
        {"", false, true, true, std::nullopt},
    };
    SpreadsheetWriter writer;
    ASSERT_EQ(writer.OpenWorkbook(QString()), 1);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const int row = int(i) + 1;
        const int result = c.plain ? writer.WriteCell(1, 1, row, c.text)
                                   : writer.WriteCell(1, 1, row, c.text, c.asText, false, c.bold);
        EXPECT_EQ(result, 1) << c.text.toStdString();
    }
    const Sheet sheet = readSheet(save(writer));
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const auto cell = sheet.cell(QStringLiteral("A%1").arg(i + 1));
        SCOPED_TRACE("text \"" + c.text.toStdString() + "\"");
        ASSERT_EQ(cell.has_value(), c.expected.has_value());
        if (!cell)
            continue;
        EXPECT_EQ(cell->isNumber, c.expected->isNumber);
        if (cell->isNumber)
            EXPECT_DOUBLE_EQ(cell->value.toDouble(), c.expected->value.toDouble());
        else
            EXPECT_EQ(cell->value, c.expected->value);
        EXPECT_EQ(cell->textFormat, c.expected->textFormat);
        EXPECT_EQ(cell->bold, c.expected->bold);
    }
}

TEST_F(SpreadsheetWriterTest, NumbersStayNumbersAtAnySizeAndSign) {
    struct Case {
        double number;
        QString text; // what the plain form is given, or empty for the number itself
        bool isNumber;
    };
    const Case cases[] = {
        {1234.5, {}, true},           {-0.5, {}, true},     {1000000, {}, true},
        {-1234.56, "-1234,56", true}, {1000, "1000", true}, {0, "1\u00A0234,5", false},
    };
    SpreadsheetWriter writer;
    ASSERT_EQ(writer.OpenWorkbook(QString()), 1);
    int row = 0;
    for (const Case& c : cases) {
        ++row;
        if (c.text.isEmpty())
            EXPECT_EQ(writer.WriteNumber(1, 1, row, c.number), 1);
        else
            EXPECT_EQ(writer.WriteCell(1, 1, row, c.text), 1);
    }
    // A number keeps the bold of a cell written before, and drops its text format.
    writer.WriteCell(1, 2, 1, "x", true, false, true);
    writer.WriteNumber(1, 2, 1, 2500);
    const Sheet sheet = readSheet(save(writer));
    row = 0;
    for (const Case& c : cases) {
        const auto cell = sheet.cell(QStringLiteral("A%1").arg(++row));
        ASSERT_TRUE(cell.has_value()) << row;
        EXPECT_EQ(cell->isNumber, c.isNumber) << row;
        if (c.isNumber && c.text.isEmpty()) {
            EXPECT_DOUBLE_EQ(cell->value.toDouble(), c.number) << row;
        }
    }
    EXPECT_EQ(sheet.cell("A4")->value.toDouble(), -1234.56);
    const auto b1 = sheet.cell("B1");
    ASSERT_TRUE(b1.has_value());
    EXPECT_TRUE(b1->isNumber && b1->bold && !b1->textFormat);
    EXPECT_EQ(b1->value.toDouble(), 2500);
}

TEST_F(SpreadsheetWriterTest, RewritingACellKeepsWhatTheWriteDoesNotSet) {
    SpreadsheetWriter writer;
    ASSERT_EQ(writer.OpenWorkbook(QString()), 1);
    // A cell formatted as text stays text; the plain form keeps bold too.
    writer.WriteCell(1, 1, 1, "x", true, false, true);
    writer.WriteCell(1, 1, 1, "12");
    // The flags form sets bold either way, and keeps the text format it does not ask for.
    writer.WriteCell(1, 2, 1, "x", true, false, true);
    writer.WriteCell(1, 2, 1, "34", false, false, false);
    // An empty text leaves the cell as it was.
    writer.WriteCell(1, 3, 1, "Цех", false, false, true);
    writer.WriteCell(1, 3, 1, "", true, true, false);
    const Sheet sheet = readSheet(save(writer));

    const auto a1 = sheet.cell("A1"), b1 = sheet.cell("B1"), c1 = sheet.cell("C1");
    ASSERT_TRUE(a1 && b1 && c1);
    EXPECT_FALSE(a1->isNumber);
    EXPECT_EQ(a1->value, "12");
    EXPECT_TRUE(a1->textFormat && a1->bold);
    EXPECT_FALSE(b1->isNumber);
    EXPECT_EQ(b1->value, "34");
    EXPECT_TRUE(b1->textFormat);
    EXPECT_FALSE(b1->bold);
    EXPECT_EQ(c1->value, "Цех");
    EXPECT_FALSE(c1->textFormat);
    EXPECT_TRUE(c1->bold);
    EXPECT_EQ(sheet.widths.count(3), 0u);
}

TEST_F(SpreadsheetWriterTest, AutoFitWidensToTheLongestFittedText) {
    const QString longName = QStringLiteral("Сварочный полуавтомат ПДГ-500"); // 29 characters
    const QString heading = QString(60, QLatin1Char('W'));
    SpreadsheetWriter writer;
    ASSERT_EQ(writer.OpenWorkbook(QString()), 1);
    writer.WriteCell(1, 2, 1, longName, false, true, false);
    writer.WriteCell(1, 2, 2, "Резак", false, true, false);
    // A longer text written without autoFit does not widen the column.
    writer.WriteCell(1, 2, 3, heading, false, false, false);
    writer.WriteCell(1, 3, 1, heading, false, false, false);
    writer.WriteCell(1, 4, 1, "", false, true, false);
    writer.WriteCell(1, 5, 1, QString(500, QLatin1Char('x')), false, true, false);
    const Sheet sheet = readSheet(save(writer));

    ASSERT_EQ(sheet.widths.count(2), 1u);
    EXPECT_GE(sheet.widths.at(2), longName.size());
    EXPECT_LT(sheet.widths.at(2), longName.size() + 5);
    EXPECT_EQ(sheet.widths.count(3), 0u);
    EXPECT_EQ(sheet.widths.count(4), 0u);
    ASSERT_EQ(sheet.widths.count(5), 1u);
    EXPECT_LE(sheet.widths.at(5), 110);
}

TEST_F(SpreadsheetWriterTest, BadCellsAreReportedAndWritingGoesOn) {
    struct Case {
        int sheet, column, row;
        QString text;
        QString caption;
    };
    const std::vector<Case> cases = {
        {2, 1, 1, "1", SheetCaption},
        {0, 3, 4, "1", SheetCaption},
        {1, 0, 1, "1", CellCaption},
        {1, 1, 0, "1", CellCaption},
        {1, 16385, 1, "1", CellCaption},
        {1, 1, 1048577, "1", CellCaption},
        {1, 1, 2, QString(40000, QLatin1Char('a')), CellCaption}, // longer than a cell holds
    };
    SpreadsheetWriter writer;
    ASSERT_EQ(writer.OpenWorkbook(QString()), 1);
    EXPECT_FALSE(writer.lastError().has_value());
    // A number goes wrong at the same places as a text, except for the length.
    Messages expected;
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("sheet %1, column %2, row %3")
                         .arg(c.sheet)
                         .arg(c.column)
                         .arg(c.row)
                         .toStdString());
        const SpreadsheetMessage error = writeError(c.sheet, c.column, c.row, c.caption);
        EXPECT_EQ(writer.WriteCell(c.sheet, c.column, c.row, c.text, false, false, false), -1);
        EXPECT_EQ(writer.lastError(), error);
        expected.push_back(error);
        if (c.text.size() > 1)
            continue;
        EXPECT_EQ(writer.WriteNumber(c.sheet, c.column, c.row, 1), -1);
        EXPECT_EQ(writer.lastError(), error);
        expected.push_back(error);
    }
    // Every failure is kept, in order, and given out once.
    EXPECT_EQ(writer.takeErrors(), expected);
    EXPECT_EQ(writer.takeErrors(), Messages{});
    EXPECT_FALSE(writer.lastError().has_value());

    EXPECT_EQ(writer.WriteCell(1, 16384, 1048576, "последняя"), 1);
    EXPECT_EQ(writer.WriteNumber(1, 16384, 1, 5), 1);
    EXPECT_EQ(writer.WriteCell(1, 1, 1, "первая"), 1);
    const Sheet sheet = readSheet(save(writer));
    EXPECT_EQ(sheet.cells.size(), 3u);
    ASSERT_TRUE(sheet.cell("XFD1048576") && sheet.cell("XFD1") && sheet.cell("A1"));
    EXPECT_EQ(sheet.cell("XFD1048576")->value, "последняя");
    EXPECT_EQ(sheet.cell("XFD1")->value.toDouble(), 5);
    EXPECT_EQ(sheet.cell("A1")->value, "первая");
}

TEST_F(SpreadsheetWriterTest, ErrorsLastFromOneWorkbookToItsSaving) {
    SpreadsheetWriter writer;
    EXPECT_EQ(writer.WriteCell(1, 1, 1, "до"), -1);
    ASSERT_EQ(writer.OpenWorkbook(QString()), 1);
    EXPECT_FALSE(writer.lastError().has_value()) << "a new workbook starts without errors";
    EXPECT_EQ(writer.WriteCell(2, 1, 1, "x"), -1);
    EXPECT_EQ(writer.WriteCell(1, 1, 1, "1"), 1);
    EXPECT_EQ(writer.lastError(), writeError(2, 1, 1, SheetCaption)) << "a success keeps it";
    // Saving keeps them for the caller to show after the export.
    EXPECT_EQ(writer.SetVisible(true), 1);
    EXPECT_FALSE(writer.savedPath().isEmpty());
    EXPECT_EQ(writer.takeErrors(), Messages{writeError(2, 1, 1, SheetCaption)});
}

TEST_F(SpreadsheetWriterTest, UnusableExportFolderFailsTheWorkbook) {
    QFile file(tmp.filePath("занято"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    struct Case {
        const char* what;
        QString dir;
        QString fileName;
    };
    const std::vector<Case> cases = {
        {"a file where the folder should be", file.fileName(), QString()},
        {"a folder below a file", file.fileName() + "/Выгрузка", QString()},
        {"an existing workbook to open", exportDir, tmp.filePath("старый.xlsx")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        qputenv("SDELKA_EXPORT_DIR", c.dir.toUtf8());
        SpreadsheetWriter writer;
        EXPECT_EQ(writer.OpenWorkbook(c.fileName), -1);
        EXPECT_EQ(writer.takeErrors(), Messages{OpenFailed});
        // Without a workbook, a cell is a sheet error and making it visible does nothing.
        EXPECT_EQ(writer.WriteCell(1, 1, 1, "1"), -1);
        EXPECT_EQ(writer.takeErrors(), Messages{writeError(1, 1, 1, SheetCaption)});
        EXPECT_EQ(writer.SetVisible(true), 1);
        EXPECT_EQ(writer.takeErrors(), Messages{});
        EXPECT_TRUE(writer.savedPath().isEmpty());
        EXPECT_FALSE(writer.savedNotice().has_value());
    }
    EXPECT_TRUE(exported().isEmpty());
}

TEST_F(SpreadsheetWriterTest, SavedFileIsToldWhereItIsOrTheLossReported) {
    SpreadsheetWriter writer;
    EXPECT_FALSE(writer.savedNotice().has_value()) << "nothing saved yet";
    ASSERT_EQ(writer.OpenWorkbook(QString()), 1);
    writer.WriteCell(1, 1, 1, "1");
    const QString path = save(writer);
    const SpreadsheetMessage notice{"Файл сохранен: " + QDir::toNativeSeparators(path), "Excel"};
    EXPECT_EQ(writer.savedNotice(), notice);
    // SDELKA_NO_OPEN=1: nobody has the file in front of them to be told.
    EXPECT_FALSE(writer.savedOpened());
    // Making it visible again with no workbook open keeps the notice of the file saved.
    EXPECT_EQ(writer.SetVisible(true), 1);
    EXPECT_EQ(writer.savedNotice(), notice);

    // The folder gone before the next saving: the opening error, and no file to tell of.
    ASSERT_EQ(writer.OpenWorkbook(QString()), 1);
    writer.WriteCell(1, 1, 1, "2");
    ASSERT_TRUE(QDir(exportDir).removeRecursively());
    EXPECT_EQ(writer.SetVisible(true), 1);
    EXPECT_EQ(writer.takeErrors(), Messages{OpenFailed});
    EXPECT_TRUE(writer.savedPath().isEmpty());
    EXPECT_FALSE(writer.savedNotice().has_value());
    EXPECT_FALSE(writer.savedOpened());
}

TEST_F(SpreadsheetWriterTest, FileIsNamedByTitleAndTime) {
    const QRegularExpression pattern(
        QStringLiteral(R"(^Цены (\d{4}-\d\d-\d\d \d\d-\d\d-\d\d)( \(2\))?\.xlsx$)"));
    SpreadsheetWriter writer(QStringLiteral("Цены"));
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    ASSERT_EQ(writer.OpenWorkbook(QString()), 1);
    writer.WriteCell(1, 1, 1, "1");
    const QString first = save(writer);
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);
    EXPECT_EQ(QFileInfo(first).absolutePath(), QFileInfo(exportDir).absoluteFilePath());
    const auto match = pattern.match(QFileInfo(first).fileName());
    ASSERT_TRUE(match.hasMatch()) << first.toStdString();
    EXPECT_TRUE(match.captured(2).isEmpty());
    const QDateTime stamp =
        QDateTime::fromString(match.captured(1), QStringLiteral("yyyy-MM-dd HH-mm-ss"));
    EXPECT_TRUE(stamp >= before && stamp <= after) << first.toStdString();

    // Names of this and the next seconds already taken: the export gets the next free one and
    // leaves the other files alone.
    const QDateTime now = QDateTime::currentDateTime();
    QStringList taken;
    for (int s = 0; s < 3; ++s) {
        QFile f(QDir(exportDir).filePath(
            "Цены " + now.addSecs(s).toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")) + ".xlsx"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("taken");
        taken << f.fileName();
    }
    writer.setTitle(QStringLiteral("Цены"));
    ASSERT_EQ(writer.OpenWorkbook(QString()), 1);
    writer.WriteCell(1, 1, 1, "2");
    const QString second = save(writer);
    EXPECT_TRUE(second.endsWith(" (2).xlsx")) << second.toStdString();
    for (const QString& name : taken) {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), "taken");
    }
    EXPECT_EQ(readSheet(second).cell("A1")->value, "2");
}

TEST_F(SpreadsheetWriterTest, OnlyMakingItVisibleWritesAndOnlyOnce) {
    SpreadsheetWriter writer(QStringLiteral("Табель"));
    // Before any workbook, nothing happens.
    EXPECT_EQ(writer.SetVisible(true), 1);
    ASSERT_EQ(writer.OpenWorkbook(QString()), 1);
    writer.WriteCell(1, 1, 1, "отброшено");
    // A new workbook replaces the one not saved.
    ASSERT_EQ(writer.OpenWorkbook(QString()), 1);
    EXPECT_EQ(writer.SetVisible(false), 1);
    writer.WriteCell(1, 2, 1, "сохранено");
    EXPECT_TRUE(QDir(exportDir).entryList({"Табель*"}).isEmpty()) << "nothing saved before";
    const QString path = save(writer);
    EXPECT_EQ(writer.SetVisible(true), 1);
    EXPECT_EQ(writer.WriteCell(1, 1, 1, "после"), -1);
    EXPECT_EQ(exported(), QStringList{QFileInfo(path).fileName()});
    const Sheet sheet = readSheet(path);
    EXPECT_EQ(sheet.cells.size(), 1u);
    ASSERT_TRUE(sheet.cell("B1"));
    EXPECT_EQ(sheet.cell("B1")->value, "сохранено");
}

} // namespace
