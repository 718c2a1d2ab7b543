#include "app/statement_registry.h"

#include "app/app_statements.h"
#include "catalogs/catalog_statements.h"
#include "catalogs/operation_statements.h"
#include "catalogs/product_group_statements.h"
#include "data/statements.h"
#include "positions/ledger_statements.h"
#include "positions/position_statements.h"
#include "register/distribution_statements.h"

#include <QStringList>

namespace sdelka {

std::vector<RegisteredStatement> allStatements() {
    // The assembled ones with the parts the program puts in: day 5 of a 31-day month.
    QStringList otherDays, columns, arrays;
    for (int d = 1; d <= 31; ++d) {
        if (d != 5)
            otherDays << QStringLiteral("d%1").arg(d);
        columns << QStringLiteral("d%1").arg(d);
        arrays << QStringLiteral(":a%1::int[]").arg(d);
    }
    return {
        {"ReadVersion", sql::ReadVersion},
        {"WriteStamp", sql::WriteStamp},
        {"InsertStamp", sql::InsertStamp},
        {"InsertWorker", sql::InsertWorker},
        {"UpdateWorker", sql::UpdateWorker},
        {"DeleteWorker", sql::DeleteWorker},
        {"WorkerUsed", sql::WorkerUsed},
        {"Departments", sql::Departments},
        {"StaffPositions", sql::StaffPositions},
        {"Roles", sql::Roles},
        {"TypeExists", sql::TypeExists},
        {"OtherTypeExists", sql::OtherTypeExists},
        {"InsertType", sql::InsertType},
        {"UpdateType", sql::UpdateType},
        {"DeleteType", sql::DeleteType},
        {"TypeUsed", sql::TypeUsed},
        {"OperationExists", sql::OperationExists},
        {"OtherOperationExists", sql::OtherOperationExists},
        {"InsertOperation", sql::InsertOperation},
        {"UpdateOperation", sql::UpdateOperation},
        {"OperationsReport", sql::OperationsReport},
        {"NormsOf", sql::NormsOf},
        {"InsertNorm", sql::InsertNorm},
        {"UpdateNorm", sql::UpdateNorm},
        {"DeleteNorm", sql::DeleteNorm},
        {"OperationUsed", sql::OperationUsed},
        {"ProductPositions", sql::ProductPositions},
        {"ProductPrices", sql::ProductPrices},
        {"ProductGroups", sql::ProductGroups},
        {"ProductNameTaken", sql::ProductNameTaken},
        {"ProductNameTakenByOther", sql::ProductNameTakenByOther},
        {"InsertProduct", sql::InsertProduct},
        {"UpdateProduct", sql::UpdateProduct},
        {"DeleteProductPrices", sql::DeleteProductPrices},
        {"DeleteProduct", sql::DeleteProduct},
        {"Groups", sql::Groups},
        {"GroupUse", sql::GroupUse},
        {"InsertGroup", sql::InsertGroup},
        {"UpdateGroup", sql::UpdateGroup},
        {"DeleteGroup", sql::DeleteGroup},
        {"Smena1", sql::Smena1},
        {"Smena2", sql::Smena2},
        {"Smena3", sql::Smena3},
        {"Smena4", sql::Smena4},
        {"Workers", sql::Workers},
        {"Izdel", sql::Izdel},
        {"Oper", sql::Oper},
        {"Vid_oper", sql::Vid_oper},
        {"H_Tabel_1", sql::H_Tabel_1},
        {"H_Tabel_2", sql::H_Tabel_2},
        {"H_Tabel_3", sql::H_Tabel_3},
        {"Oper_del", sql::Oper_del},
        {"LedgerLockRow", sql::LedgerLockRow},
        {"LedgerLockMonth", sql::LedgerLockMonth},
        {"LedgerDeleteMonth", sql::LedgerDeleteMonth},
        {"LedgerDayHours", sql::LedgerDayHours},
        {"PositionExists", sql::PositionExists},
        {"OtherPositionExists", sql::OtherPositionExists},
        {"InsertPosition", sql::InsertPosition},
        {"UpdatePosition", sql::UpdatePosition},
        {"PositionPlace", sql::PositionPlace},
        {"ProductMark", sql::ProductMark},
        {"HelperList", sql::HelperList},
        {"InsertHelper", sql::InsertHelper},
        {"DeleteHelper", sql::DeleteHelper},
        {"DiscardHelpers", sql::DiscardHelpers},
        {"InsertHelperPosition", sql::InsertHelperPosition},
        {"OperationBasePrice", sql::OperationBasePrice},
        {"UpdateMark", sql::UpdateMark},
        {"DeletePosition", sql::DeletePosition},
        {"ProductPositionPlaces", sql::ProductPositionPlaces},
        {"DeleteProductPositions", sql::DeleteProductPositions},
        {"PaintingInsertPosition", sql::PaintingInsertPosition},
        {"PaintingTemp", sql::PaintingTemp},
        {"PaintingTempSum", sql::PaintingTempSum},
        {"Painting", sql::Painting},
        {"PaintingInsertGroup", sql::PaintingInsertGroup},
        {"PaintingGroupTaken", sql::PaintingGroupTaken},
        {"PaintingDeleteGroup", sql::PaintingDeleteGroup},
        {"PaintingDeleteOperator", sql::PaintingDeleteOperator},
        {"LedgerDay", sql::LedgerDay.arg(5).arg(otherDays.join(QLatin1Char(','))).arg(30)},
        {"LedgerInsertMonth", sql::LedgerInsertMonth.arg(columns.join(QStringLiteral(", ")),
                                                         arrays.join(QStringLiteral(", ")))},
    };
}

} // namespace sdelka
