#include "catalogs/prices_export.h"

#include "catalogs/operation_statements.h"
#include "core/position_rules.h"

namespace sdelka {

ExportResult exportPrices(TDataModule6& dm, SpreadsheetWriter& writer,
                          const ExportProgress& progress) {
    DataSet report(dm.ADO_DB, QStringLiteral("XLS_Rep"), sql::OperationsReport);
    report.open();
    writer.setTitle(QStringLiteral("Цены"));
    ExportResult result;
    if (writer.OpenWorkbook(QString()) == -1) {
        result.errors = writer.takeErrors();
        return result;
    }
    result.started = true;
    const QStringList header = {QStringLiteral("Марка"), QStringLiteral("Операция"),
                                QStringLiteral("Цена"), QStringLiteral("Вид")};
    for (int c = 0; c < header.size(); ++c)
        writer.WriteCell(1, c + 1, 1, header[c]);
    const int total = report.recordCount();
    if (progress)
        progress(0, total);
    for (int r = 0; r < total; ++r) {
        const int row = r + 2;
        writer.WriteCell(1, 1, row, report.value(r, QStringLiteral("marka")).toString());
        writer.WriteCell(1, 2, row, report.value(r, QStringLiteral("vid")).toString());
        // A price goes in as a number: as text, 1000 and more would carry a group separator.
        const QVariant price = report.value(r, QStringLiteral("cena"));
        if (!price.isNull())
            writer.WriteNumber(1, 3, row, price.toDouble());
        writer.WriteCell(1, 4, row, productKind(report.value(r, QStringLiteral("naimen")).toInt()));
        if (progress)
            progress(r + 1, total);
    }
    writer.SetVisible(true);
    result.errors = writer.takeErrors();
    result.savedPath = writer.savedPath();
    if (writer.savedOpened())
        result.notice = writer.savedNotice();
    return result;
}

} // namespace sdelka
