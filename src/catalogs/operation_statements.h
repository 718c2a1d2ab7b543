#pragma once

#include <QString>

namespace sdelka::sql {

// Operations and their norms. Ids and numbers go in as bound parameters.
inline const QString OperationExists = QStringLiteral(
    "select count(ID) as cnt from accounts_dep.OPER where vid=:vid and naimen=:naimen and "
    "i_id=:i_id");
inline const QString OtherOperationExists = QStringLiteral(
    "select count(*) as cnt from accounts_dep.OPER where vid=:vid and naimen=:naimen and "
    "i_id=:i_id and id<>:id");
inline const QString InsertOperation = QStringLiteral(
    "insert into accounts_dep.oper(vid, naimen, i_id, cena_new)values (:vid, :naimen, :i_id, 0) "
    "returning id");
inline const QString UpdateOperation = QStringLiteral(
    "update accounts_dep.oper set vid=:vid, naimen=:naimen,  i_id=:i_id where id=:id");

// All operations with their own price, for the spreadsheet.
inline const QString OperationsReport = QStringLiteral(
    "select izdel.MARKA, vid_oper.VID, oper.NAIMEN,(SELECT (CASE naimen WHEN 0 THEN 'Готовая "
    "продукция' ELSE 'Заготовки' END)) as nmn, oper.CENA_new as cena, oper.id, oper.i_id,\n"
    " oper.VID as oper_vid from accounts_dep.OPER,accounts_dep.IZDEL,accounts_dep.VID_OPER where "
    "OPER.i_id=IZDEL.id \n"
    "and oper.vid=vid_oper.id order by izdel.marka, vid_oper.vid, oper.naimen");

inline const QString NormsOf = QStringLiteral(
    "select id, o_id, norma, price, prize from accounts_dep.norm where o_id=:o_id order by norma");
inline const QString InsertNorm =
    QStringLiteral("insert into accounts_dep.norm(o_id, norma, price, prize) values (:o_id, "
                   ":norma, :price, :prize)");
inline const QString UpdateNorm = QStringLiteral(
    "update accounts_dep.norm set norma=:norma, price=:price, prize=:prize where id=:id");
inline const QString DeleteNorm = QStringLiteral("delete from accounts_dep.norm where id=:id");

// Positions of an operation: an operation with positions stays, so that they keep showing.
inline const QString OperationUsed =
    QStringLiteral("select count(*) as cnt from accounts_dep.smena where o_id=:id");

} // namespace sdelka::sql
