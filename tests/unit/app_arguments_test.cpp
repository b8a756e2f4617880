#include <gtest/gtest.h>

#include "app/FailureText.h"
#include "app/LaunchArguments.h"
#include "app/RegionalDate.h"
#include "tests/TestUtil.h"

namespace {
const QDate kToday(2026, 12, 9);
}

TEST(RegionalDate, OrderAndSeparatorFromLocalePatterns) {
  const TShortDateFormat tw = LocaleShortDateFormat(QLocale("zh_TW"));
  EXPECT_EQ(QLocale("zh_TW").dateFormat(QLocale::ShortFormat), "yyyy/M/d");
  EXPECT_EQ(tw.Order, TDateOrder::doYMD);
  EXPECT_EQ(tw.Separator, "/");
  const TShortDateFormat de = LocaleShortDateFormat(QLocale("de_DE"));
  EXPECT_EQ(de.Order, TDateOrder::doDMY);
  EXPECT_EQ(de.Separator, ".");
  const TShortDateFormat c = LocaleShortDateFormat(QLocale::c());
  EXPECT_EQ(c.Order, TDateOrder::doDMY);
  EXPECT_EQ(c.Separator, "");
  const TShortDateFormat us = ShortDateFormatOf("M/d/yy");
  EXPECT_EQ(us.Order, TDateOrder::doMDY);
  EXPECT_EQ(us.Separator, "/");
  // Blanks around the separator and quoted literals do not count.
  EXPECT_EQ(ShortDateFormatOf("d. M. yyyy").Separator, ".");
  EXPECT_EQ(ShortDateFormatOf("'x-'yyyy-MM-dd").Separator, "-");
  EXPECT_EQ(ShortDateFormatOf("'x-'yyyy-MM-dd").Order, TDateOrder::doYMD);
}

TEST(RegionalDate, ReadsDatesInTheRegionalOrder) {
  const QLocale tw("zh_TW"), de("de_DE"), c = QLocale::c();
  EXPECT_EQ(TryStrToDate("2006/3/3", tw, kToday), QDate(2006, 3, 3));
  EXPECT_EQ(TryStrToDate(" 2005/08/12 ", tw, kToday), QDate(2005, 8, 12));
  EXPECT_EQ(TryStrToDate("12.08.2005", de, kToday), QDate(2005, 8, 12));
  EXPECT_EQ(TryStrToDate("12.8.05", de, kToday), QDate(2005, 8, 12));
  EXPECT_EQ(TryStrToDate("1.2.99", de, kToday), QDate(1999, 2, 1));  // two-digit years stay near today
  EXPECT_EQ(TryStrToDate("3/4", tw, kToday), QDate(2026, 3, 4));       // no year: this year
  EXPECT_EQ(TryStrToDate("3.4", de, kToday), QDate(2026, 4, 3));
  // The C locale has no separator: numbers split by blanks, or its own pattern with month names.
  EXPECT_EQ(TryStrToDate("12 8 2005", c, kToday), QDate(2005, 8, 12));
  EXPECT_EQ(TryStrToDate("12 Aug 2005", c, kToday), QDate(2005, 8, 12));
  // Wrong separator, wrong order, impossible dates, junk: no date.
  for (const char* bad : {"2005.08.12", "abc", "", "2005/13/01", "2005/2/30", "2005/1/1x", "2005//1", "1/2/3/4",
                          "99999999999999/1/1", "2005/0/1"})
    EXPECT_FALSE(TryStrToDate(bad, tw, kToday).has_value()) << bad;
  EXPECT_FALSE(TryStrToDate("2005/08/12", de, kToday).has_value());
  EXPECT_FALSE(TryStrToDate("31.02.2005", de, kToday).has_value());
}

TEST(LaunchArguments, VoucherAndDateFromTheCommandLine) {
  const QLocale tw("zh_TW");
  TLaunchArguments none = ParseLaunchArguments({"ledgerly"}, tw, kToday);
  EXPECT_EQ(none.Voucher, "");
  EXPECT_EQ(none.Date, kToday);
  TLaunchArguments one = ParseLaunchArguments({"ledgerly", "V0001"}, tw, kToday);
  EXPECT_EQ(one.Voucher, "V0001");
  EXPECT_EQ(one.Date, kToday);
  TLaunchArguments two = ParseLaunchArguments({"ledgerly", "O'1", "2006/3/3", "ignored"}, tw, kToday);
  EXPECT_EQ(two.Voucher, "O'1");
  EXPECT_EQ(two.Date, QDate(2006, 3, 3));
  // A second argument that is not a date gives today, silently.
  EXPECT_EQ(ParseLaunchArguments({"ledgerly", "V", "abc"}, tw, kToday).Date, kToday);
  EXPECT_EQ(ParseLaunchArguments({"ledgerly", "V", "3.3.2006"}, QLocale("de_DE"), kToday).Date, QDate(2006, 3, 3));
}

TEST(FailureText, TitlesAndFullStops) {
  EXPECT_EQ(ApplicationTitleFromPath("/opt/x/LEDGERLY.EXE"), "Ledgerly");
  EXPECT_EQ(ApplicationTitleFromPath("/usr/bin/ledgerly"), "ledgerly");
  EXPECT_EQ(ApplicationTitleFromPath("bin/MyApp.v2.bin"), "Myapp.v2");
  // A full stop follows a last character that sorts after "."; not after "!", ")" or ".".
  EXPECT_EQ(ActionFailureText("Field 'X' not found"), "Field 'X' not found.");
  EXPECT_EQ(ActionFailureText("Error 42"), "Error 42.");
  EXPECT_EQ(ActionFailureText("Done."), "Done.");
  EXPECT_EQ(ActionFailureText("Stop!"), "Stop!");
  EXPECT_EQ(ActionFailureText("(x)"), "(x)");
  EXPECT_EQ(ActionFailureText("a/"), "a/.");
  EXPECT_EQ(ActionFailureText(""), "");
  EXPECT_EQ(ActionFailureText("查詢"), "查詢.");
  const QString box = StartupFailureText("EDatabaseError", "ledgerly", 0x4A2F10, "Missing DriverName property");
  const QString addr = QString(int(sizeof(void*) * 2) - 6, QLatin1Char('0')) + "4A2F10";
  EXPECT_EQ(box, "Exception EDatabaseError in module ledgerly at " + addr + ".\nMissing DriverName property.");
  // The start-up box appends a full stop only when the message lacks one (even after "!").
  EXPECT_TRUE(StartupFailureText("E", "m", 1, "Stop!").endsWith("\nStop!."));
  EXPECT_TRUE(StartupFailureText("E", "m", 1, "Done.").endsWith("\nDone."));
}
