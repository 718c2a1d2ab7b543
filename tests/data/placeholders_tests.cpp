#include "data/placeholders.h"

#include <gtest/gtest.h>

using namespace sdelka;

TEST(Placeholders, NamedBecomePositionalOutsideQuotesAndCasts) {
    struct Case {
        const char* sql;
        const char* positional;
        const char* names;
    };
    const Case cases[] = {
        {"select 1 where a=:A and b=:b", "select 1 where a=? and b=?", "a b"},
        {"select x::numeric, :v::text", "select x::numeric, ?::text", "v"},
        {"select to_date('01.3.2024 10:11:12', 'DD.MM.YYYY HH24:MI:SS') where d=:data",
         "select to_date('01.3.2024 10:11:12', 'DD.MM.YYYY HH24:MI:SS') where d=?", "data"},
        {"select 'it''s :not' from \"odd:name\" where a=:a and c=:a",
         "select 'it''s :not' from \"odd:name\" where a=? and c=?", "a a"},
        {"select s_code::t_id=w_id, :w_id", "select s_code::t_id=w_id, ?", "w_id"},
        {"select a[1:2]", "select a[1:2]", ""},
    };
    for (const Case& c : cases) {
        const PositionalStatement p = toPositional(QString::fromUtf8(c.sql));
        EXPECT_EQ(p.sql, QString::fromUtf8(c.positional)) << c.sql;
        EXPECT_EQ(p.names.join(' '), QString::fromUtf8(c.names)) << c.sql;
    }
}
