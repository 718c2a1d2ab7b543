#pragma once

#include "data/command.h"
#include "data/database.h"
#include "data/dataset.h"

#include <QString>
#include <QVariantMap>

#include <functional>

namespace sdelka {

// The shared data module: the connection, the data sets several screens show, and the carriers
// that screens fill with a statement just before they use it.
class TDataModule6 {
public:
    explicit TDataModule6(Database& db);

    Database& ADO_DB;

    DataSet Smena1, Smena2, Smena3, Smena4;
    DataSet Workers, Izdel, Oper, Vid_oper;
    DataSet H_Tabel_1, H_Tabel_2, H_Tabel_3;
    // Scalar reads: one statement at a time, its named column read as an integer.
    DataSet Control;

    Command Oper_ins, Oper_ed, Oper_del;
    Command DelSmena, H_Tabel_ins, SQL_exec;

    // The workstations' decimal separator, from the version table.
    QString DecimalDelimiter;

    // The shift list of shift 1 to 4; any other number gives shift 1's.
    DataSet& shiftList(int shift);
    void setShiftParams(const QVariant& day, const QString& hiddenMark);

    // Runs a one-row select on Control and reads its column as an integer; no row or a null
    // value reads as 0.
    int readInt(const QString& statement, const QString& column, const QVariantMap& params = {});

    // Counts with the statement's column "cnt"; above 0 it reports the message and answers
    // true, so the caller refuses the write.
    bool CheckExists(const QString& statement, const QVariantMap& params = {},
                     const QString& message = {});

    QString NormalizeDecimal(const QString& text);

    // Runs a statement on a carrier with the given parameters.
    int execute(Command& carrier, const QString& statement, const QVariantMap& params = {});

    // How CheckExists shows its message; the screens install the error box.
    using Reporter = std::function<void(const QString&)>;
    void setReporter(Reporter reporter) { reporter_ = std::move(reporter); }

private:
    Reporter reporter_;
};

} // namespace sdelka
