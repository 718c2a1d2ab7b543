#pragma once

#include <QString>

// Statements of the products and nomenclature groups catalogs. Names, numbers and ids go in as
// bound parameters.
namespace sdelka::sql {

// Products.

// Positions of a product dated :dt or later.
inline const QString ProductPositions = QStringLiteral(
    "select count(*) as cnt from accounts_dep.smena s where s.i_id =:id_ii and s.\"data\">=:dt");
// Prices (operations) of a product.
inline const QString ProductPrices =
    QStringLiteral("select count(*) as cnt from accounts_dep.oper o where o.i_id =:id_ii");
// The groups a product can be put into: nomenclature groups still in use.
inline const QString ProductGroups = QStringLiteral(
    "select id_classifier, id_level, s_code, s_caption, s_description, d_excluded_date, "
    "id_parent, id, b_excluded from cmn_classifier.item where id_level=2 and b_excluded=0 "
    "order by s_caption");
// Products named :marka (upper-cased by the caller), and the same but for product :id.
inline const QString ProductNameTaken =
    QStringLiteral("select count(*) as cnt from accounts_dep.izdel where upper(marka)=:marka");
inline const QString ProductNameTakenByOther = QStringLiteral(
    "select count(*) as cnt from accounts_dep.izdel where upper(marka)=:marka and id<>:id");
// :massa is the typed text; the server reads it as a number.
inline const QString InsertProduct =
    QStringLiteral("INSERT INTO cmn_gds_and_srv.gds_and_srv(s_caption, s_description, id_msm_bs, "
                   "massa, id_class_item)VALUES(:name, '', 6, :massa::numeric,:group)");
inline const QString UpdateProduct = QStringLiteral(
    "UPDATE cmn_gds_and_srv.gds_and_srv SET s_caption=:name, s_description='', id_msm_bs=6, "
    "massa=:massa::numeric, id_class_item=:group where id=:id");
inline const QString DeleteProductPrices =
    QStringLiteral("delete from accounts_dep.oper o where o.i_id =:id");
inline const QString DeleteProduct =
    QStringLiteral("delete from cmn_gds_and_srv.gds_and_srv  where id=:id");

// Nomenclature groups.

// The group list: every nomenclature group, "V" marking those no longer used.
inline const QString Groups = QStringLiteral(
    "select *, case when b_excluded=1  then 'V' else '' end as s_excl from cmn_classifier.item "
    "where id_level=2 order by s_caption");
// What refers to a group: its products, its household-works entries, the positions on its
// products.
inline const QString GroupUse = QStringLiteral(
    "select (select count(gds.*) cnt_gds from cmn_gds_and_srv.gds_and_srv gds where "
    "gds.id_class_item = :id_nom3),\n"
    "(select count(f.*) cnt_f from accounts_dep.fatigue f where f.id_nom = :id_nom1),\n"
    "(select count(s.*) cnt_s from accounts_dep.smena s,cmn_gds_and_srv.gds_and_srv gds where "
    "gds.id = s.i_id and gds.id_class_item = :id_nom2)");
inline const QString InsertGroup = QStringLiteral(
    "INSERT INTO cmn_classifier.item(s_caption, b_excluded) VALUES(:name, :excluded)");
inline const QString UpdateGroup = QStringLiteral(
    "UPDATE cmn_classifier.item SET s_caption=:name, b_excluded=:excluded where id=:id");
inline const QString DeleteGroup = QStringLiteral("DELETE FROM cmn_classifier.item WHERE id=:id");

} // namespace sdelka::sql
