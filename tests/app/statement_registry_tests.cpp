#include "app/statement_registry.h"
#include "data/placeholders.h"
#include "support/db_fixture.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <set>

using namespace sdelka;
using namespace sdelka::test;

using StatementRegistryTest = DbTest;

// Each statement is prepared on the server, which checks every table, column and type it names.
TEST_F(StatementRegistryTest, EveryStatementPreparesAgainstTheSchema) {
    const auto statements = allStatements();
    ASSERT_GT(statements.size(), 80u);
    for (const RegisteredStatement& s : statements) {
        EXPECT_NO_THROW(db_->prepared(toPositional(s.text).sql)) << s.name;
    }
    // A statement naming a column the schema lacks is caught the same way.
    EXPECT_THROW(db_->prepared(toPositional("select no_such_column from accounts_dep.smena").sql),
                 DatabaseError);
}

// The registry holds every constant of every statements header, so none is left unchecked.
TEST_F(StatementRegistryTest, TheRegistryListsEveryStatementConstant) {
    std::set<QString> registered;
    for (const RegisteredStatement& s : allStatements())
        registered.insert(QString::fromLatin1(s.name));
    // A fragment that only ever goes into another statement.
    const std::set<QString> fragments = {"LedgerLockColumns"};
    const QRegularExpression constant(QStringLiteral("inline const QString (\\w+)\\s*="));
    int found = 0;
    const QDir src(QStringLiteral(SDELKA_SOURCE_DIR "/src"));
    for (const QString& folder : src.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QDir dir(src.filePath(folder));
        for (const QString& header : dir.entryList({QStringLiteral("*statements.h")})) {
            QFile file(dir.filePath(header));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(file.readAll());
            for (auto it = constant.globalMatch(text); it.hasNext();) {
                const QString name = it.next().captured(1);
                ++found;
                if (!fragments.count(name))
                    EXPECT_TRUE(registered.count(name))
                        << name.toStdString() << " in " << header.toStdString();
            }
        }
    }
    EXPECT_GT(found, 80);
}
