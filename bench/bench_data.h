#pragma once

#include "data/data_module.h"

#include <QDate>
#include <QString>

#include <functional>
#include <memory>

namespace sdelka::bench {

// A benchmark's own database, cloned from the schema template and filled by SQL on the server.
class BenchDatabase {
public:
    // Creates the database (dropping an old one of the same name) and connects to it.
    explicit BenchDatabase(const QString& name);
    ~BenchDatabase();

    // Runs statements as the superuser.
    void exec(const QString& sql);

    Database& db() { return *db_; }
    TDataModule6& dm() { return *dm_; }

    // Catalog rows: workers 1..workers, one group, products, types and operations with norms.
    void seedCatalog(int workers);
    // Positions of `perDay` per day, spread over the four shifts, on `days` consecutive days
    // ending with `lastDay`.
    void addDays(const QDate& lastDay, int days, int perDay);
    // One position per worker, shift and working day of the month.
    void addMonth(int month, int year, int workers);

private:
    QString name_;
    std::unique_ptr<Database> db_;
    std::unique_ptr<TDataModule6> dm_;
};

QString benchHost();

// The benchmark database of that name, made and filled by `fill` on first use; all of them
// are dropped by releaseBenchDatabases() before the program ends.
BenchDatabase& benchDatabase(const QString& name, const std::function<void(BenchDatabase&)>& fill);
void releaseBenchDatabases();

} // namespace sdelka::bench
