#pragma once

#include "data/data_module.h"
#include "support/printers.h"

#include <QSqlDatabase>
#include <QVariant>

#include <gtest/gtest.h>

#include <memory>

namespace sdelka::test {

// Gives each test a fresh database cloned from the template that scripts/test builds from the
// schema, the program's own connection to it (as the program's login role) and a superuser
// connection for setting up and checking data.
class DbTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs statements as the superuser on the test database; fails the test on an error.
    void exec(const QString& sql);
    // The first column of the first row, as the superuser sees it.
    QVariant scalar(const QString& sql);
    // Rows of a query, each as its columns joined by "|".
    QStringList rows(const QString& sql);

    // Where the piecework ledger and the positions disagree: a day whose cell is not the sum of
    // that day's hours, twin rows of one key, rows without any day. Empty when in step.
    QStringList ledgerFaults();

    // Connection settings of the test database.
    ConnectionSettings settings() const;

    QString dbName_;
    std::unique_ptr<Database> db_;
    std::unique_ptr<TDataModule6> dm_;

    // Basic catalog rows most tests need: two workers, one product with an operation of type
    // 10 (plain) and one of type 2 (painting).
    void seedCatalog();
    void addPosition(int id, int worker, int shift, const QString& date, const QString& ok,
                     int hours = 8, int product = 100, int operation = 1000);

private:
    QSqlDatabase fixture_;
};

QString testHost();
QString testTemplate();

} // namespace sdelka::test
