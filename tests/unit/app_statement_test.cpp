#include <gtest/gtest.h>

#include "app/QueryStatement.h"
#include "tests/TestUtil.h"

namespace {
TQueryRange Numbers(const QString& lo, const QString& hi) {
  TQueryRange r;
  r.LowNumber = lo;
  r.HighNumber = hi;
  r.LowDate = QDate(1999, 1, 1);
  r.HighDate = QDate(1999, 12, 31);
  return r;
}
}  // namespace

TEST(QueryStatement, NumberPageBuildsBothTablesByteForByte) {
  const TQueryRange r = Numbers("A001", "A009");
  EXPECT_EQ(BuildRangeStatement("ACC_MAIN_TEMP", kNumberPage, r, "/"),
            "SELECT * FROM ACC_MAIN_TEMP \r\nwhere MASTERBILLID BETWEEN 'A001' AND 'A009'\r\n");
  EXPECT_EQ(BuildRangeStatement("ACC_MAST_TEMP", kNumberPage, r, "/"),
            "SELECT * FROM ACC_MAST_TEMP \r\nwhere MASTERBILLID BETWEEN 'A001' AND 'A009'\r\n");
  // The number page ignores the dates, whatever they hold.
  EXPECT_FALSE(BuildRangeStatement("ACC_MAIN_TEMP", kNumberPage, r, "/").contains("1999"));
}

TEST(QueryStatement, EditTextsGoInUnchangedWithQuotesDoubled) {
  // Empty bounds give empty literals; blanks are kept; reversed bounds are sent as they are.
  EXPECT_EQ(RangeCondition(kNumberPage, Numbers("", ""), "/"), "where MASTERBILLID BETWEEN '' AND ''");
  EXPECT_EQ(RangeCondition(kNumberPage, Numbers(" A1 ", "A0"), "/"), "where MASTERBILLID BETWEEN ' A1 ' AND 'A0'");
  EXPECT_EQ(RangeCondition(kNumberPage, Numbers("O'Neil", "x''y"), "/"),
            "where MASTERBILLID BETWEEN 'O''Neil' AND 'x''''y'");
  EXPECT_EQ(RangeCondition(kNumberPage, Numbers("'", "傳票"), "/"), "where MASTERBILLID BETWEEN '''' AND '傳票'");
  EXPECT_EQ(QuotedStr("' OR 1=1 --"), "''' OR 1=1 --'");
}

TEST(QueryStatement, DatePageUsesPickersAndRegionalSeparator) {
  TQueryRange r = Numbers("A001", "A009");
  r.LowDate = QDate(2006, 3, 3);
  r.HighDate = QDate(2006, 3, 3);
  EXPECT_EQ(BuildRangeStatement("ACC_MAST_TEMP", kDatePage, r, "/"),
            "SELECT * FROM ACC_MAST_TEMP \r\nwhere ACC_DATE BETWEEN '2006/03/03' AND '2006/03/03'\r\n");
  r.HighDate = QDate(2012, 11, 28);
  EXPECT_EQ(RangeCondition(kDatePage, r, "."), "where ACC_DATE BETWEEN '2006.03.03' AND '2012.11.28'");
  EXPECT_EQ(RangeCondition(kDatePage, r, "-"), "where ACC_DATE BETWEEN '2006-03-03' AND '2012-11-28'");
  // No separator at all: the fields run together.
  EXPECT_EQ(RangeCondition(kDatePage, r, ""), "where ACC_DATE BETWEEN '20060303' AND '20121128'");
  EXPECT_EQ(FormatDateText(QDate(987, 1, 9), "/"), "0987/01/09");
}

TEST(QueryStatement, NoActivePageGivesNoConditionLine) {
  const TQueryRange r = Numbers("A", "B");
  EXPECT_EQ(BuildRangeStatement("ACC_MAIN_TEMP", -1, r, "/"), "SELECT * FROM ACC_MAIN_TEMP \r\n");
  EXPECT_EQ(BuildRangeStatement("ACC_MAIN_TEMP", 2, r, "/"), "SELECT * FROM ACC_MAIN_TEMP \r\n");
  // Every statement ends with CR LF after its last line, and has no bare LF.
  for (int page : {-1, 0, 1}) {
    const QString s = BuildRangeStatement("ACC_MAST_TEMP", page, r, "/");
    EXPECT_TRUE(s.endsWith("\r\n"));
    EXPECT_EQ(s.count("\n"), s.count("\r\n"));
  }
}
