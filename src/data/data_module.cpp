#include "data/data_module.h"

#include "core/decimal.h"
#include "data/statements.h"

#include <cstdio>

namespace sdelka {

TDataModule6::TDataModule6(Database& db)
    : ADO_DB(db), Smena1(db, QStringLiteral("Smena1"), sql::Smena1),
      Smena2(db, QStringLiteral("Smena2"), sql::Smena2),
      Smena3(db, QStringLiteral("Smena3"), sql::Smena3),
      Smena4(db, QStringLiteral("Smena4"), sql::Smena4),
      Workers(db, QStringLiteral("Workers"), sql::Workers),
      Izdel(db, QStringLiteral("Izdel"), sql::Izdel), Oper(db, QStringLiteral("Oper"), sql::Oper),
      Vid_oper(db, QStringLiteral("Vid_oper"), sql::Vid_oper),
      H_Tabel_1(db, QStringLiteral("H_Tabel_1"), sql::H_Tabel_1),
      H_Tabel_2(db, QStringLiteral("H_Tabel_2"), sql::H_Tabel_2),
      H_Tabel_3(db, QStringLiteral("H_Tabel_3"), sql::H_Tabel_3),
      Control(db, QStringLiteral("Control")),
      // The operation editor gives these their statements when it writes.
      Oper_ins(db, QStringLiteral("Oper_ins")), Oper_ed(db, QStringLiteral("Oper_ed")),
      Oper_del(db, QStringLiteral("Oper_del"), sql::Oper_del),
      DelSmena(db, QStringLiteral("DelSmena")), H_Tabel_ins(db, QStringLiteral("H_Tabel_ins")),
      SQL_exec(db, QStringLiteral("SQL_exec")),
      reporter_([](const QString& text) { std::fprintf(stderr, "%s\n", qPrintable(text)); }) {}

DataSet& TDataModule6::shiftList(int shift) {
    switch (shift) {
    case 2:
        return Smena2;
    case 3:
        return Smena3;
    case 4:
        return Smena4;
    default:
        return Smena1;
    }
}

void TDataModule6::setShiftParams(const QVariant& day, const QString& hiddenMark) {
    for (DataSet* list : {&Smena1, &Smena2, &Smena3, &Smena4}) {
        list->setParam(QStringLiteral("data"), day);
        list->setParam(QStringLiteral("ok"), hiddenMark);
    }
}

int TDataModule6::readInt(const QString& statement, const QString& column,
                          const QVariantMap& params) {
    Control.close();
    Control.setSql(statement);
    for (auto it = params.begin(); it != params.end(); ++it)
        Control.setParam(it.key(), it.value());
    Control.open();
    const QVariant v = Control.field(column);
    Control.close();
    if (v.isNull())
        return 0;
    // Integers and sums alike: a fractional sum is cut to its whole part.
    return int(v.toDouble());
}

bool TDataModule6::CheckExists(const QString& statement, const QVariantMap& params,
                               const QString& message) {
    if (readInt(statement, QStringLiteral("cnt"), params) > 0) {
        reporter_(message);
        return true;
    }
    return false;
}

QString TDataModule6::NormalizeDecimal(const QString& text) {
    return normalizeDecimal(text, DecimalDelimiter);
}

int TDataModule6::execute(Command& carrier, const QString& statement, const QVariantMap& params) {
    carrier.setSql(statement);
    for (auto it = params.begin(); it != params.end(); ++it)
        carrier.setParam(it.key(), it.value());
    return carrier.execute();
}

} // namespace sdelka
