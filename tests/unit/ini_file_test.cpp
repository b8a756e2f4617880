#include <gtest/gtest.h>

#include "platform/IniFile.h"
#include "tests/TestUtil.h"

TEST(IniFile, ReadingRules) {
  TMemIniFile ini(QStringLiteral(
      "ignored=1\r\n"
      "  [ Main ]  \r\n"
      "; comment=2\r\n"
      "\r\n"
      "Key = value with blanks  \r"
      "key=second occurrence\n"
      "empty=\n"
      "noequals\r\n"
      "hex=0x1F\r\n"
      "dollar=$ff\r\n"
      "neg=-12\r\n"
      "bad=12a\r\n"
      "big=2147483648\r\n"
      "short=0x\r\n"
      "[main]\r\n"
      "later=1\r\n"
      "[Empty]\r\n"
      "; only a comment\r\n"));
  EXPECT_EQ(ini.ReadString("MAIN", "KEY", "d"), "value with blanks");
  EXPECT_EQ(ini.ReadString("main", "empty", "d"), "");
  EXPECT_EQ(ini.ReadString("main", "noequals", "d"), "d");
  EXPECT_EQ(ini.ReadString("main", "later", "d"), "d");  // second [main] never wins
  EXPECT_EQ(ini.ReadString("none", "key", "d"), "d");
  EXPECT_EQ(ini.ReadString("main", "ignored", "d"), "d");
  EXPECT_EQ(ini.ReadInteger("main", "hex", 0), 31);
  EXPECT_EQ(ini.ReadInteger("main", "dollar", 0), 255);
  EXPECT_EQ(ini.ReadInteger("main", "neg", 0), -12);
  EXPECT_EQ(ini.ReadInteger("main", "bad", 7), 7);
  EXPECT_EQ(ini.ReadInteger("main", "big", 7), 7);
  EXPECT_EQ(ini.ReadInteger("main", "short", 7), 7);
  EXPECT_EQ(ini.ReadInteger("main", "empty", 7), 7);
  EXPECT_TRUE(ini.SectionExists("MAIN"));
  EXPECT_FALSE(ini.SectionExists("Empty"));
  EXPECT_EQ(ini.ReadSection("main"), QStringList({"Key", "empty", "hex", "dollar", "neg", "bad", "big", "short"}));
}

TEST(IniFile, IntegerEdges) {
  int32_t v = 0;
  EXPECT_TRUE(TryParseInt32("-2147483648", v));
  EXPECT_EQ(v, INT32_MIN);
  EXPECT_TRUE(TryParseInt32("2147483647", v));
  EXPECT_EQ(v, INT32_MAX);
  EXPECT_FALSE(TryParseInt32("-2147483649", v));
  EXPECT_TRUE(TryParseInt32("$FFFFFFFF", v));
  EXPECT_EQ(v, -1);
  EXPECT_FALSE(TryParseInt32("$100000000", v));
  EXPECT_FALSE(TryParseInt32("$", v));
  EXPECT_FALSE(TryParseInt32("-", v));
  EXPECT_FALSE(TryParseInt32(" 1", v));
}

TEST(IniFile, WriteThenReadBack) {
  TMemIniFile ini;
  ini.WriteString("A", "x", "1");
  ini.WriteInteger("a", "X", 2);  // replaces, same section
  ini.WriteBool("B", "flag", true);
  TMemIniFile again(ini.Text());
  EXPECT_EQ(again.ReadInteger("A", "x", 0), 2);
  EXPECT_TRUE(again.ReadBool("B", "flag", false));
  EXPECT_EQ(again.ReadSections(), QStringList({"A", "B"}));
  again.EraseSection("a");
  EXPECT_FALSE(again.SectionExists("A"));
  EXPECT_TRUE(again.SectionExists("B"));
}
