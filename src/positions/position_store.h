#pragma once

#include "core/money.h"
#include "data/data_module.h"

#include <QDate>

#include <functional>

namespace sdelka {

// A save refused because the same worker, operation, product, day, shift and colour is
// entered already (another position, for a change).
class DuplicatePosition : public DatabaseError {
public:
    DuplicatePosition()
        : DatabaseError(QStringLiteral("Позиция с такими параметрами уже заведена!")) {}
};

// A position as it is written.
struct PositionValues {
    int workerId = 0;
    int productId = 0;
    int operationId = 0;
    Price price;
    // As the database keeps them: other software writes fractions of a piece.
    Quantity pieces;
    int rejects = 0;
    QDate day;
    int shift = 1;
    int colour = 0;
    int hours = 0;
};

// Writes positions and their helpers. Each action is one transaction with the hours ledger of
// every day it touches, so the ledger never holds hours of a position that is not there.
class PositionStore {
public:
    explicit PositionStore(TDataModule6& dm) : dm_(dm) {}

    // The parameters of the duplicate check of a position (another row than exceptId).
    static QVariantMap duplicateParams(const PositionValues& p, int exceptId);

    // A new position, not accepted yet; returns its id. The duplicate check runs under the
    // ledger row's lock, inside the save, so two workstations cannot both enter the same
    // position: the second gets DuplicatePosition and nothing is written.
    int insert(const PositionValues& p);
    // A changed position keeps its mark; the day it left is recomputed too. DuplicatePosition
    // as for insert.
    void update(int id, const PositionValues& p);
    void remove(int id);
    // The acceptance mark ("ok" accepted, "no" not yet).
    void setMark(int id, const QString& mark);
    // A painting operator's or brigade helper's share of a day's output: a position of its own
    // under the share's code (7780 or 7781), worth `total`, with his hours, kept in the ledger.
    // `alsoInTransaction` runs inside the same transaction (the end of his scratch list).
    void insertShare(int operatorId, int code, Money total, const QDate& day, int shift, int hours,
                     const std::function<void()>& alsoInTransaction = {});
    // Every position of a product goes, and the ledger days they leave are written anew.
    // `alsoInTransaction` runs inside the same transaction (the product's own removal).
    void removeProductPositions(int productId, const std::function<void()>& alsoInTransaction = {});

    void addHelper(int positionId, int helperId, Money rate, int hours);
    void removeHelper(int scratchId);
    // Turns the listed helpers of a position into positions of their own. `beforeEach` is
    // called before each helper is written (for tests that stop the program in the middle).
    void saveHelpers(int positionId, const PositionValues& position,
                     const std::function<void(int done)>& beforeEach = {});
    void discardHelpers(int positionId);

private:
    TDataModule6& dm_;
};

} // namespace sdelka
