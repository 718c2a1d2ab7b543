#pragma once

#include <QString>
#include <QStringList>

// The statements of the shared data module, as the screens and the other software of the
// enterprise expect them. Values go in as bound parameters of the names given.
// A person's personnel code read as a worker id. Other software of the enterprise also writes
// codes that are not numbers; such a code matches no worker instead of failing the statement.
// The index person_code_id_idx of db/indexes.sql is built on this same expression (without the
// table name), so that the lists find a position's worker through it.
#define SDELKA_PERSON_CODE_ID                                                                      \
    "(case when person.s_code ~ '^[0-9]{1,15}$' then person.s_code::t_id end)"

namespace sdelka::sql {

// Positions of shift 1 on :data, without the mark :ok; by worker, product, type, kind, colour.
inline const QString Smena1 = QStringLiteral(
    "select smena.id, smena.data, smena.smena, smena.i_id, smena.o_id, smena.w_id, \n"
    "smena.cena,person.s_caption fio, izdel.marka, vid_oper.vid, (SELECT (CASE naimen WHEN 0 THEN "
    "'Готовая продукция' ELSE 'Заготовки' END)) as nmn, oper.naimen,  smena.brak, "
    "smena.kol_vo::numeric,\n"
    "round((kol_vo-brak)*smena.cena::numeric, 2) as summa, smena.prize, color,time, smena.ok, "
    "vvod, smena.id_doc, smena.id_doc_item, smena.f_gds_qty_use, smena.id_gds_use, "
    "smena.id_cons_use\n"
    "from cmn_contractor.person person, "
    "accounts_dep.izdel,accounts_dep.oper,accounts_dep.smena,accounts_dep.vid_oper \n"
    "where smena.i_id=izdel.id and smena.o_id=oper.id and (w_id=person.id or " SDELKA_PERSON_CODE_ID
    "=w_id) "
    "and \n"
    "oper.vid=vid_oper.id and smena.smena=1 and smena.data=:data and ok!=:ok order by \n"
    "fio, izdel.marka, vid_oper.vid, oper.naimen, color");

// Positions of shift 2 on :data, without the mark :ok; by worker.
inline const QString Smena2 = QStringLiteral(
    "select smena.data, smena.smena, smena.i_id, smena.o_id, smena.w_id, \n"
    "smena.cena, s_caption fio, izdel.marka, vid_oper.vid, (SELECT (CASE naimen WHEN 0 THEN "
    "'Готовая продукция' ELSE 'Заготовки' END)) as nmn, oper.naimen, smena.kol_vo::numeric, "
    "smena.brak, \n"
    "round((kol_vo-brak)*smena.cena::numeric, 2) as summa, smena.prize, smena.id, "
    "color,time,smena.ok,vvod, smena.id_doc, smena.id_doc_item, smena.f_gds_qty_use, "
    "smena.id_gds_use, smena.id_cons_use  \n"
    "from cmn_contractor.person "
    "person,accounts_dep.izdel,accounts_dep.oper,accounts_dep.smena,accounts_dep.vid_oper \n"
    "where smena.i_id=izdel.id and smena.o_id=oper.id and (w_id=person.id or " SDELKA_PERSON_CODE_ID
    "=w_id) "
    "and \n"
    "oper.vid=vid_oper.id and smena.smena=2 and smena.data=:data and ok<>:ok order by fio");

// Positions of shift 3 on :data, without the mark :ok; by worker.
inline const QString Smena3 = QStringLiteral(
    "select smena.data, smena.smena, smena.i_id, smena.o_id, smena.w_id, \n"
    "smena.cena,s_caption fio, izdel.marka, vid_oper.vid, (SELECT (CASE naimen WHEN 0 THEN "
    "'Готовая продукция' ELSE 'Заготовки' END)) as nmn,  oper.naimen, smena.kol_vo::numeric, "
    "smena.brak, \n"
    "round((kol_vo-brak)*smena.cena::numeric, 2) as summa, smena.prize, smena.id, "
    "color,time,smena.ok,vvod, smena.id_doc, smena.id_doc_item, smena.f_gds_qty_use, "
    "smena.id_gds_use, smena.id_cons_use\n"
    "from cmn_contractor.person "
    "person,accounts_dep.izdel,accounts_dep.oper,accounts_dep.smena,accounts_dep.vid_oper \n"
    "where smena.i_id=izdel.id and smena.o_id=oper.id and (w_id=person.id or " SDELKA_PERSON_CODE_ID
    "=w_id) "
    "and \n"
    "oper.vid=vid_oper.id and smena.smena=3 and smena.data=:data and ok<>:ok order by fio");

// Overtime positions on :data, without the mark :ok; by worker.
inline const QString Smena4 = QStringLiteral(
    "select smena.data, smena.smena, smena.i_id, smena.o_id, smena.w_id, \n"
    "smena.cena,person.s_caption fio, izdel.marka, vid_oper.vid, (SELECT (CASE naimen WHEN 0 THEN "
    "'Готовая продукция' ELSE 'Заготовки' END)) as nmn,  oper.naimen, smena.kol_vo::numeric, "
    "smena.brak, \n"
    "round((kol_vo-brak)*smena.cena::numeric, 2) as summa, smena.prize, smena.id , "
    "color,time,smena.ok,vvod, smena.id_doc, smena.id_doc_item, smena.f_gds_qty_use, "
    "smena.id_gds_use, smena.id_cons_use \n"
    "from cmn_contractor.person person, accounts_dep.izdel, "
    "accounts_dep.oper,accounts_dep.smena,accounts_dep.vid_oper \n"
    "where smena.i_id=izdel.id and smena.o_id=oper.id and (w_id=person.id or " SDELKA_PERSON_CODE_ID
    "=w_id) "
    "and \n"
    "oper.vid=vid_oper.id and smena.smena=4 and smena.data=:data and ok<>:ok order by fio");

// Workers by name.
inline const QString Workers = QStringLiteral("select * from accounts_dep.person order by fio");

// Products by mark.
inline const QString Izdel = QStringLiteral("select *  from accounts_dep.IZDEL order by marka");

// Operations that have norms, with their lowest norm price.
inline const QString Oper = QStringLiteral(
    "select izdel.MARKA, vid_oper.VID, oper.NAIMEN, i.s_caption  , (SELECT (CASE naimen WHEN 0 "
    "THEN 'Готовая продукция' ELSE 'Заготовки' END)) as nmn,\n"
    "count(o_id) norma, min(price)::numeric cena, oper.id, oper.i_id, oper.VID as oper_vid \n"
    "from accounts_dep.norm,accounts_dep.OPER,accounts_dep.IZDEL,accounts_dep.VID_OPER, "
    "cmn_classifier.item i\n"
    "where OPER.i_id=IZDEL.id and norm.o_id=oper.id and oper.vid=vid_oper.id and i.id "
    "=izdel.id_class_item\n"
    "group by izdel.MARKA, vid_oper.VID, oper.NAIMEN, oper.id, oper.i_id, oper.VID, i.s_caption  \n"
    "order by izdel.marka, vid_oper.vid, oper.naimen");

// Operation types by name.
inline const QString Vid_oper = QStringLiteral("select * from accounts_dep.VID_OPER order by vid");

namespace detail {
// The ledger of one shift for :mnth/:yea, with the money of the period :date1 to :date2; the
// lists of the three shifts differ in the shift and in the empty lines that end them.
inline QString hoursLedgerOfShift(int shift, int trailingEmptyLines) {
    QStringList days;
    for (int d = 1; d <= 31; ++d)
        days << QStringLiteral("coalesce(d%1,0)").arg(d);
    // The day sum, broken into lines of ten days.
    const QString sum = days.mid(0, 10).join(QLatin1Char('+')) + QStringLiteral("+\n") +
                        days.mid(10, 10).join(QLatin1Char('+')) + QStringLiteral("+\n") +
                        days.mid(20, 10).join(QLatin1Char('+')) + QStringLiteral("+\n") +
                        days.at(30);
    return QStringLiteral("select person.s_caption fio, \n(") + sum +
           QStringLiteral(") as summ, \ncase when (") + sum +
           QStringLiteral(")=0 then 0 else\n(sum(s.cena*(kol_vo-brak))/(") + sum +
           QStringLiteral(
               ")) end ::numeric(10,2) as average_price, sum(s.cena*(kol_vo-brak))::numeric(10,2) "
               "as cena_all,\nh_tabel.*\nfrom accounts_dep.h_tabel, cmn_contractor.person, "
               "accounts_dep.smena s where \nh_tabel.w_id=" SDELKA_PERSON_CODE_ID " and "
               "h_tabel.smena=%1 and month=:mnth and s.w_id = h_tabel.w_id and\nh_tabel.year=:yea "
               "and s.data >=:date1 and s.data <:date2\ngroup by person.s_caption,h_tabel.w_id,"
               "h_tabel.month,h_tabel.year,h_tabel.smena,h_tabel.id \norder by fio")
               .arg(shift) +
           QString(trailingEmptyLines, QLatin1Char('\n'));
}
} // namespace detail

// Hours ledger of shifts 1 to 3 for :mnth/:yea with the money of :date1 to :date2.
inline const QString H_Tabel_1 = detail::hoursLedgerOfShift(1, 1);
inline const QString H_Tabel_2 = detail::hoursLedgerOfShift(2, 3);
inline const QString H_Tabel_3 = detail::hoursLedgerOfShift(3, 1);

// An operation removed.
inline const QString Oper_del = QStringLiteral("delete from accounts_dep.oper where id=:id");

} // namespace sdelka::sql
