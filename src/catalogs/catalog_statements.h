#pragma once

#include <QString>

// Statements of the catalogs. Names and numbers go in as bound parameters.
namespace sdelka::sql {

// Workers.
inline const QString InsertWorker =
    QStringLiteral("INSERT INTO accounts_dep.person (fio, s_staffpos_hl)VALUES(:fio, :staffpos)");
inline const QString UpdateWorker =
    QStringLiteral("UPDATE accounts_dep.person SET fio=:fio, s_staffpos_hl=:staffpos where "
                   "accounts_dep.person.id=:id");
inline const QString DeleteWorker = QStringLiteral("delete from accounts_dep.person where id =:id");
// Positions of a worker: a worker with positions stays, so that they keep showing and are paid.
inline const QString WorkerUsed =
    QStringLiteral("select count(*) as cnt from accounts_dep.smena where w_id=:id");
inline const QString Departments =
    QStringLiteral("select id, id_branch, s_code, s_caption, s_description, id_parent from "
                   "cmn_department.department");
inline const QString StaffPositions = QStringLiteral(
    "select id, id_department, s_code, s_caption, d_begin, d_end, s_description from "
    "hrms_staffpos.staffpos");
inline const QString Roles =
    QStringLiteral("select id, s_name, s_caption, d_begin, d_end, b_active from adm_role.roles");

} // namespace sdelka::sql

namespace sdelka::sql {

// Operation types.
inline const QString TypeExists =
    QStringLiteral("select count(*) as cnt from accounts_dep.vid_oper where upper(vid)=:vid");
inline const QString OtherTypeExists = QStringLiteral(
    "select count(*) as cnt from accounts_dep.vid_oper where upper(vid)=:vid and id<>:id");
inline const QString InsertType =
    QStringLiteral("insert into accounts_dep.vid_oper(vid) values (:vid)");
inline const QString UpdateType =
    QStringLiteral("update accounts_dep.vid_oper set vid=:vid where id=:id");
inline const QString DeleteType = QStringLiteral("delete from accounts_dep.vid_oper where id=:id");
// Operations of a type: a type with operations stays, so that their positions keep showing.
inline const QString TypeUsed =
    QStringLiteral("select count(*) as cnt from accounts_dep.oper where vid=:id");

} // namespace sdelka::sql
