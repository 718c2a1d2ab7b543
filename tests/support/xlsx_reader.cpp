#include "support/xlsx_reader.h"

#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace sdelka::test {

namespace {

QByteArray unzipPart(const QString& file, const QString& part) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), file, part});
    EXPECT_TRUE(unzip.waitForFinished(10000));
    return unzip.readAllStandardOutput();
}

} // namespace

int Sheet::rowCount() const {
    std::set<QString> rows;
    for (const auto& [ref, cell] : cells)
        rows.insert(QString(ref).remove(QRegularExpression(QStringLiteral("^[A-Z]+"))));
    return int(rows.size());
}

Sheet readSheet(const QString& file) {
    QStringList strings;
    QXmlStreamReader sst(unzipPart(file, QStringLiteral("xl/sharedStrings.xml")));
    while (!sst.atEnd()) {
        sst.readNext();
        if (sst.isStartElement() && sst.name() == u"si")
            strings << QString();
        else if (sst.isStartElement() && sst.name() == u"t" && !strings.isEmpty())
            strings.back() += sst.readElementText();
    }

    struct Xf {
        int numFmt;
        int font;
    };
    std::vector<Xf> xfs;
    std::vector<bool> boldFonts;
    QXmlStreamReader styles(unzipPart(file, QStringLiteral("xl/styles.xml")));
    bool inCellXfs = false;
    while (!styles.atEnd()) {
        styles.readNext();
        if (styles.isStartElement()) {
            const auto attrs = styles.attributes();
            if (styles.name() == u"cellXfs")
                inCellXfs = true;
            else if (styles.name() == u"font")
                boldFonts.push_back(false);
            else if (styles.name() == u"b" && !boldFonts.empty())
                boldFonts.back() = true;
            else if (styles.name() == u"xf" && inCellXfs)
                xfs.push_back({attrs.value(QLatin1String("numFmtId")).toInt(),
                               attrs.value(QLatin1String("fontId")).toInt()});
        } else if (styles.isEndElement() && styles.name() == u"cellXfs") {
            inCellXfs = false;
        }
    }

    Sheet sheet;
    QXmlStreamReader xml(unzipPart(file, QStringLiteral("xl/worksheets/sheet1.xml")));
    QString ref;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const auto attrs = xml.attributes();
        if (xml.name() == u"col") {
            for (int c = attrs.value(QLatin1String("min")).toInt();
                 c <= attrs.value(QLatin1String("max")).toInt(); ++c)
                sheet.widths[c] = attrs.value(QLatin1String("width")).toDouble();
        } else if (xml.name() == u"c") {
            ref = attrs.value(QLatin1String("r")).toString();
            Cell& cell = sheet.cells[ref];
            cell.isNumber = attrs.value(QLatin1String("t")).isEmpty();
            const int style = attrs.value(QLatin1String("s")).toInt();
            if (style > 0 && style < int(xfs.size())) {
                cell.textFormat = xfs[style].numFmt == 49;
                const int font = xfs[style].font;
                cell.bold = font >= 0 && font < int(boldFonts.size()) && boldFonts[font];
            }
        } else if (xml.name() == u"v") {
            Cell& cell = sheet.cells[ref];
            const QString v = xml.readElementText();
            cell.value = cell.isNumber ? v : strings.value(v.toInt());
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return sheet;
}

} // namespace sdelka::test
