#include "positions/position_store.h"

#include "positions/hours_ledger.h"
#include "positions/ledger_statements.h"
#include "positions/position_statements.h"

#include <tuple>

namespace sdelka {

namespace {

const QString DateText = QStringLiteral("dd.MM.yyyy");

QVariantMap valuesOf(const PositionValues& p) {
    return {{QStringLiteral("w_id"), p.workerId},
            {QStringLiteral("o_id"), p.operationId},
            {QStringLiteral("i_id"), p.productId},
            {QStringLiteral("date"), p.day.toString(DateText)},
            {QStringLiteral("smena"), p.shift},
            {QStringLiteral("color"), p.colour},
            {QStringLiteral("cena"), p.price.toDatabase()},
            // Pieces as other software writes them: "12", "2.5", no trailing zeros.
            {QStringLiteral("kol_vo"), p.pieces.toShortString(QLocale::c())},
            {QStringLiteral("brak"), p.rejects},
            {QStringLiteral("time"), p.hours},
            {QStringLiteral("today"), QDate::currentDate().toString(DateText)}};
}

struct Place {
    bool found = false;
    int worker = 0;
    int shift = 0;
    QDate day;
};

Place placeOf(TDataModule6& dm, int id) {
    DataSet& place = dm.Control;
    place.close();
    place.setSql(sql::PositionPlace);
    place.setParam(QStringLiteral("id"), id);
    place.open();
    const Place p{!place.isEmpty(), place.field(QStringLiteral("w_id")).toInt(),
                  place.field(QStringLiteral("smena")).toInt(),
                  place.field(QStringLiteral("data")).toDate()};
    place.close();
    return p;
}

} // namespace

QVariantMap PositionStore::duplicateParams(const PositionValues& p, int exceptId) {
    return {
        {QStringLiteral("w_id"), p.workerId},  {QStringLiteral("o_id"), p.operationId},
        {QStringLiteral("i_id"), p.productId}, {QStringLiteral("date"), p.day.toString(DateText)},
        {QStringLiteral("smena"), p.shift},    {QStringLiteral("color"), p.colour},
        {QStringLiteral("id"), exceptId}};
}

int PositionStore::insert(const PositionValues& p) {
    Transaction tx(dm_.ADO_DB);
    HoursLedger ledger(dm_);
    ledger.lock(p.workerId, p.shift, p.day);
    if (dm_.readInt(sql::PositionExists, QStringLiteral("cnt"), duplicateParams(p, 0)) > 0)
        throw DuplicatePosition();
    Command& insert = dm_.DelSmena;
    insert.setSql(sql::InsertPosition);
    const QVariantMap values = valuesOf(p);
    for (auto it = values.begin(); it != values.end(); ++it)
        insert.setParam(it.key(), it.value());
    const int id = insert.executeReturning(QStringLiteral("cur_id")).toInt();
    ledger.writeDayLocked(p.workerId, p.shift, p.day);
    tx.commit();
    return id;
}

void PositionStore::update(int id, const PositionValues& p) {
    Transaction tx(dm_.ADO_DB);
    const Place before = placeOf(dm_, id);
    if (!before.found)
        throw DatabaseError(QStringLiteral("Позиция удалена на другом рабочем месте."));
    QVariantMap values = valuesOf(p);
    values.insert(QStringLiteral("id"), id);
    dm_.execute(dm_.DelSmena, sql::UpdatePosition, values);
    HoursLedger ledger(dm_);
    const bool moved =
        before.worker != p.workerId || before.shift != p.shift || before.day != p.day;
    // Both rows are locked in one fixed order, so two workstations moving positions between
    // the same rows cannot lock each other out.
    auto key = [](int worker, int shift, const QDate& day) {
        return std::make_tuple(worker, shift, day.year(), day.month());
    };
    const bool leftFirst =
        moved && key(before.worker, before.shift, before.day) < key(p.workerId, p.shift, p.day);
    if (leftFirst)
        ledger.lock(before.worker, before.shift, before.day);
    ledger.lock(p.workerId, p.shift, p.day);
    if (moved && !leftFirst)
        ledger.lock(before.worker, before.shift, before.day);
    if (dm_.readInt(sql::OtherPositionExists, QStringLiteral("cnt"), duplicateParams(p, id)) > 0)
        throw DuplicatePosition();
    if (moved)
        ledger.writeDayLocked(before.worker, before.shift, before.day);
    ledger.writeDayLocked(p.workerId, p.shift, p.day);
    tx.commit();
}

void PositionStore::remove(int id) {
    Transaction tx(dm_.ADO_DB);
    const Place before = placeOf(dm_, id);
    dm_.execute(dm_.DelSmena, sql::DeletePosition, {{QStringLiteral("id"), id}});
    if (before.found) {
        HoursLedger ledger(dm_);
        ledger.lock(before.worker, before.shift, before.day);
        ledger.writeDayLocked(before.worker, before.shift, before.day);
    }
    tx.commit();
}

void PositionStore::setMark(int id, const QString& mark) {
    dm_.execute(dm_.DelSmena, sql::UpdateMark,
                {{QStringLiteral("ok"), mark}, {QStringLiteral("id"), id}});
}

void PositionStore::insertShare(int operatorId, int code, Money total, const QDate& day, int shift,
                                int hours, const std::function<void()>& alsoInTransaction) {
    // The position, the operator's day in the hours ledger and the end of his list stand or
    // fall together.
    Transaction tx(dm_.ADO_DB);
    dm_.execute(dm_.SQL_exec, sql::PaintingInsertPosition,
                {{QStringLiteral("w_id"), operatorId},
                 {QStringLiteral("code"), code},
                 {QStringLiteral("cena"), total.toDatabase()},
                 {QStringLiteral("date"), day.toString(DateText)},
                 {QStringLiteral("smena"), shift},
                 {QStringLiteral("time"), hours},
                 {QStringLiteral("today"), QDate::currentDate()}});
    HoursLedger(dm_).updateDay(operatorId, shift, day);
    if (alsoInTransaction)
        alsoInTransaction();
    tx.commit();
}

void PositionStore::removeProductPositions(int productId,
                                           const std::function<void()>& alsoInTransaction) {
    Transaction tx(dm_.ADO_DB);
    const QVariantMap product{{QStringLiteral("id"), productId}};
    DataSet places(dm_.ADO_DB, QStringLiteral("places"), sql::ProductPositionPlaces);
    places.setParam(QStringLiteral("id"), productId);
    places.open();
    HoursLedger ledger(dm_);
    // The rows are locked in the statement's fixed order before anything is written.
    for (int r = 0; r < places.recordCount(); ++r)
        ledger.lock(places.value(r, QStringLiteral("w_id")).toInt(),
                    places.value(r, QStringLiteral("smena")).toInt(),
                    places.value(r, QStringLiteral("data")).toDate());
    dm_.execute(dm_.DelSmena, sql::DeleteProductPositions, product);
    for (int r = 0; r < places.recordCount(); ++r)
        ledger.writeDayLocked(places.value(r, QStringLiteral("w_id")).toInt(),
                              places.value(r, QStringLiteral("smena")).toInt(),
                              places.value(r, QStringLiteral("data")).toDate());
    if (alsoInTransaction)
        alsoInTransaction();
    tx.commit();
}

void PositionStore::addHelper(int positionId, int helperId, Money rate, int hours) {
    dm_.execute(dm_.SQL_exec, sql::InsertHelper,
                {{QStringLiteral("id_smena"), positionId},
                 {QStringLiteral("id_person"), helperId},
                 {QStringLiteral("f_count"), rate.toDatabase()},
                 {QStringLiteral("f_time"), hours}});
}

void PositionStore::removeHelper(int scratchId) {
    dm_.execute(dm_.SQL_exec, sql::DeleteHelper, {{QStringLiteral("pt_id"), scratchId}});
}

void PositionStore::saveHelpers(int positionId, const PositionValues& position,
                                const std::function<void(int)>& beforeEach) {
    DataSet list(dm_.ADO_DB, QStringLiteral("person"), sql::HelperList);
    Transaction tx(dm_.ADO_DB);
    list.setParam(QStringLiteral("s_id"), positionId);
    list.open();
    HoursLedger ledger(dm_);
    for (int r = 0; r < list.recordCount(); ++r) {
        if (beforeEach)
            beforeEach(r);
        const int helper = list.value(r, QStringLiteral("id")).toInt();
        dm_.execute(
            dm_.SQL_exec, sql::InsertHelperPosition,
            {{QStringLiteral("w_id"), helper},
             {QStringLiteral("i_id"), position.productId},
             {QStringLiteral("cena"), list.decimal<4>(r, QStringLiteral("f_count")).toDatabase()},
             {QStringLiteral("date"), position.day.toString(DateText)},
             {QStringLiteral("smena"), position.shift},
             {QStringLiteral("color"), position.colour},
             {QStringLiteral("time"), qRound(list.value(r, QStringLiteral("f_time")).toDouble())}});
        removeHelper(list.value(r, QStringLiteral("pt_id")).toInt());
        ledger.updateDay(helper, position.shift, position.day);
    }
    tx.commit();
}

void PositionStore::discardHelpers(int positionId) {
    dm_.execute(dm_.DelSmena, sql::DiscardHelpers, {{QStringLiteral("id_smena"), positionId}});
}

} // namespace sdelka
