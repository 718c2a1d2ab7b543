#pragma once

#include <QString>

// Statements of the position editor and its helper workers.
namespace sdelka::sql {

inline const QString PositionExists = QStringLiteral(
    "select count(id) as cnt from accounts_dep.SMENA where w_id=:w_id and o_id=:o_id and "
    "i_id=:i_id and data=to_date(:date, 'DD.MM.YYYY') and smena=:smena and color=:color");
inline const QString OtherPositionExists = QStringLiteral(
    "select count(id) as cnt from accounts_dep.SMENA where w_id=:w_id and o_id=:o_id and "
    "i_id=:i_id and data=to_date(:date, 'DD.MM.YYYY') and smena=:smena and id<>:id and "
    "color=:color");
inline const QString InsertPosition = QStringLiteral(
    "insert into accounts_dep.SMENA(w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, "
    "time, vvod,ok, prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use) "
    "values(:w_id, :i_id, :o_id, :cena,:kol_vo, :brak, to_date(:date, 'DD.MM.YYYY HH24:MI:SS'), "
    ":smena, :color, :time, to_date(:today, 'DD.MM.YYYY'), 'no', 0, 0, 0, 0, 0, 0) "
    "returning id as cur_id");
inline const QString UpdatePosition = QStringLiteral(
    "update accounts_dep.SMENA set w_id=:w_id, i_id=:i_id, o_id=:o_id, cena=:cena, "
    "kol_vo=:kol_vo, brak=:brak, data=to_date(:date, 'DD.MM.YYYY'), smena=:smena, color=:color, "
    "time=:time, vvod=to_date(:today, 'DD.MM.YYYY'), prize=0, id_doc=0, id_doc_item=0, "
    "f_gds_qty_use=0, id_gds_use=0, id_cons_use=0 where id=:id");
// Where the position stands before a change or a deletion, so the day it leaves is recomputed.
// The row is locked, so no other workstation moves it between this read and the write.
inline const QString PositionPlace =
    QStringLiteral("select w_id, smena, data from accounts_dep.smena where id=:id for update");
inline const QString ProductMark =
    QStringLiteral("select marka from accounts_dep.izdel where id=:i_id");

// Helper workers of a position.
inline const QString HelperList = QStringLiteral(
    "select pt.id as pt_id, pt.f_time, pt.f_time*pt.f_count as f_count,  p.* from "
    "accounts_dep.person p, accounts_dep.person_temp pt where p.id=pt.id_person and pt.id_smena "
    "=:s_id order by pt.id");
inline const QString InsertHelper = QStringLiteral(
    "insert into accounts_dep.person_temp(id_smena, id_person, f_count, f_time, type) "
    "values(:id_smena,:id_person, :f_count, :f_time,1)");
inline const QString DeleteHelper =
    QStringLiteral("DELETE FROM accounts_dep.person_temp WHERE id=:pt_id");
inline const QString DiscardHelpers =
    QStringLiteral("DELETE FROM accounts_dep.person_temp WHERE id_smena=:id_smena");
inline const QString InsertHelperPosition = QStringLiteral(
    "insert into accounts_dep.SMENA(w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, "
    "time, vvod,ok, prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use) "
    "values(:w_id, :i_id, 7779, :cena,1,0, to_date(:date, 'DD.MM.YYYY HH24:MI:SS'), :smena, "
    ":color, :time, Now(), 'no', 0, 0, 0, 0, 0, 0)");

// The base price of an operation: its lowest norm price, as the operations list gives it.
inline const QString OperationBasePrice =
    QStringLiteral("select min(price)::numeric cena from accounts_dep.norm where o_id=:o_id");

// The acceptance mark of a position.
inline const QString UpdateMark =
    QStringLiteral("update accounts_dep.smena set ok=:ok where id=:id");
inline const QString DeletePosition = QStringLiteral("delete from accounts_dep.smena where id=:id");

// The places (worker, shift, day) of a product's positions, and the positions themselves.
inline const QString ProductPositionPlaces = QStringLiteral(
    "select distinct w_id, smena, data from accounts_dep.smena where i_id=:id and smena between 1 "
    "and 4 order by w_id, smena, data");
inline const QString DeleteProductPositions =
    QStringLiteral("delete from accounts_dep.smena s where s.i_id =:id");

// The operator's position: one piece at the total, his hours, not accepted, with the reserved
// code as product, operation and colour.
inline const QString PaintingInsertPosition = QStringLiteral(
    "insert into accounts_dep.SMENA(w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, "
    "time, vvod,ok, prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use) "
    "values(:w_id, :code, :code, :cena,1,0, to_date(:date, 'DD.MM.YYYY HH24:MI:SS'), :smena, "
    ":code,:time, :today, 'no', 0, 0, 0, 0, 0, 0)");

} // namespace sdelka::sql
