#pragma once

#include "data/statements.h"

#include <QString>

// Statements of the operator distribution: the scratch list of the groups picked for an
// operator, the shift's output by group, and the operator's position. Values go in as bound
// parameters of the names given.
namespace sdelka::sql {

// The operator's picked groups; f_count is the group's earnings (hours times the earnings per
// hour).
inline const QString PaintingTemp = QStringLiteral(
    "SELECT p.s_caption w_fio, pt.id_p, pt.id, vo.vid, pt.color, pt.f_time, "
    "(pt.f_count*pt.f_time)::t_money f_count\n"
    "FROM accounts_dep.painting_temp pt,cmn_contractor.person p, accounts_dep.vid_oper vo\n"
    "where p.id=pt.id_w and vo.id=pt.v_id and pt.id_p =:p_id");

// The sums of the operator's picked groups: earnings and hours.
inline const QString PaintingTempSum = QStringLiteral(
    "SELECT pt.id_p, sum(pt.f_count*pt.f_time)::t_money f_count,sum(pt.f_time)::t_money f_time\n"
    "FROM accounts_dep.painting_temp pt\n"
    "where pt.id_p =:p_id group by pt.id_p;");

// The output of shift :i_smena on :d_date by group: one worker's positions with hours, of the
// same operation type, operation kind and colour; their earnings and hours.
inline const QString Painting = QStringLiteral(
    "select person.s_caption p_fio, s.w_id, sum(s.cena*(s.kol_vo-s.brak))::numeric(100,2) as "
    "f_summ, sum(s.\"time\") as t_time,\n"
    " vid_oper.vid, oper.naimen,  color, s.\"data\", s.smena, vid_oper.id v_id\n"
    "from cmn_contractor.person person, "
    "accounts_dep.izdel,accounts_dep.oper,accounts_dep.smena s,accounts_dep.vid_oper\n"
    "where s.i_id=izdel.id and s.o_id=oper.id and (w_id=person.id or " SDELKA_PERSON_CODE_ID
    "=w_id) and \n"
    "oper.vid=vid_oper.id and s.smena=:i_smena and s.data=:d_date and s.\"time\" >0 \n"
    "group by s.data, s.smena, s.w_id, vid_oper.vid, oper.naimen,  color, "
    "vid_oper.id,person.s_caption\n"
    "order by p_fio, oper.naimen, color");

// A picked group joins the operator's list.
inline const QString PaintingInsertGroup = QStringLiteral(
    "insert into accounts_dep.painting_temp(id_p, id_w, v_id, f_count, f_time, color) "
    "values(:id_p, :id_w, :v_id, :f_count, :f_time, :color)");

// The same group picked for the operator before: his share of it would count twice.
inline const QString PaintingGroupTaken = QStringLiteral(
    "select count(*) as cnt from accounts_dep.painting_temp where id_p=:id_p and id_w=:id_w and "
    "v_id=:v_id and color=:color and f_time=:f_time and f_count=:f_count");

inline const QString PaintingDeleteGroup =
    QStringLiteral("DELETE FROM accounts_dep.painting_temp WHERE id=:id");

// Empties an operator's list.
inline const QString PaintingDeleteOperator =
    QStringLiteral("DELETE FROM accounts_dep.painting_temp WHERE id_p=:id_p");

} // namespace sdelka::sql
