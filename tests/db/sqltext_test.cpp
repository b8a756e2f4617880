// Reading the table and the ORDER BY fields out of statement texts.
#include <gtest/gtest.h>

#include "db/SqlText.h"
#include "tests/TestUtil.h"

namespace {

TEST(SqlText, TableOfTheStatement) {
  EXPECT_EQ(TableNameOfStatement(QStringLiteral("select * from acc_main_temp where X = 1")), QStringLiteral("ACC_MAIN_TEMP"));
  EXPECT_EQ(TableNameOfStatement(QStringLiteral("SELECT a FROM \"Mixed Case\" t")), QStringLiteral("Mixed Case"));
  // FROM inside literals, comments and sub-selects does not count.
  EXPECT_EQ(TableNameOfStatement(QStringLiteral("select 'from x', (select max(a) from inner_t) -- from c\n"
                                                " /* from d */ from OUTER_T")),
            QStringLiteral("OUTER_T"));
  EXPECT_EQ(TableNameOfStatement(QStringLiteral("select * from (select 1 from rdb$database)")), QString());
  EXPECT_EQ(TableNameOfStatement(QStringLiteral("select 1")), QString());
  EXPECT_EQ(TableNameOfStatement(QStringLiteral("select 'it''s from here' from T2")), QStringLiteral("T2"));
}

TEST(SqlText, OrderByFields) {
  EXPECT_FALSE(OrderByOfStatement(QStringLiteral("select * from T where A = 'order by B'")).has_value());
  auto o = OrderByOfStatement(QStringLiteral("select * from T order by t.acc_date desc, \"Item\" asc, 3 rows 10"));
  ASSERT_TRUE(o.has_value());
  ASSERT_EQ(o->size(), 3u);
  EXPECT_EQ((*o)[0].field, QStringLiteral("ACC_DATE"));
  EXPECT_TRUE((*o)[0].descending);
  EXPECT_EQ((*o)[1].field, QStringLiteral("Item"));
  EXPECT_FALSE((*o)[1].descending);
  EXPECT_EQ((*o)[2].position, 3);
  // An expression cannot be followed in memory: known to be there, but no fields.
  o = OrderByOfStatement(QStringLiteral("select * from T order by upper(NAME)"));
  ASSERT_TRUE(o.has_value());
  EXPECT_TRUE(o->empty());
  o = OrderByOfStatement(QStringLiteral("select * from T order by A + B"));
  ASSERT_TRUE(o.has_value());
  EXPECT_TRUE(o->empty());
  // Only the outer statement's clause counts.
  EXPECT_FALSE(OrderByOfStatement(QStringLiteral("select * from (select * from T order by A) x")).has_value());
}

}  // namespace
