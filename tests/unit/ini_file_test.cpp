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

TEST(IniFile, LookupsAfterWritesAndOnLargeFiles) {
  // Many sections and keys: every one is found in any letter case, the first occurrence wins.
  QString text;
  for (int s = 0; s < 300; ++s) {
    text += QStringLiteral("[Sect%1]\n").arg(s);
    for (int k = 0; k < 20; ++k) text += QStringLiteral("Key%1=%2\n").arg(k).arg(s * 100 + k);
    text += QStringLiteral("key0=duplicate\n");
  }
  text += QStringLiteral("[SECT7]\nkey1=later section\n[\u00c4rger]\n\u00dcber=umlaut\n");
  TMemIniFile ini(text);
  for (int s = 0; s < 300; s += 37)
    for (int k = 0; k < 20; k += 7)
      EXPECT_EQ(ini.ReadInteger(QStringLiteral("sEcT%1").arg(s), QStringLiteral("KEY%1").arg(k), -1), s * 100 + k);
  EXPECT_EQ(ini.ReadInteger(QStringLiteral("sect7"), QStringLiteral("key0"), -1), 700);
  EXPECT_EQ(ini.ReadString(QStringLiteral("sect7"), QStringLiteral("key1"), QString()), QStringLiteral("701"));
  EXPECT_EQ(ini.ReadString(QStringLiteral("\u00e4RGER"), QStringLiteral("\u00fcBER"), QString()), QStringLiteral("umlaut"));
  EXPECT_FALSE(ini.ValueExists(QStringLiteral("sect300"), QStringLiteral("key0")));
  EXPECT_FALSE(ini.ValueExists(QStringLiteral("sect1"), QStringLiteral("key20")));
  QStringView view;
  ASSERT_TRUE(ini.ReadView(QStringLiteral("SECT2"), QStringLiteral(" key3 "), view));
  EXPECT_EQ(view, QStringLiteral("203"));
  EXPECT_FALSE(ini.ReadView(QStringLiteral("SECT2"), QStringLiteral("nokey"), view));
  EXPECT_EQ(ini.ReadSection(QStringLiteral("sect5")).size(), 20);

  // Writes after reads: replaced values, new keys and new sections are found at once; values
  // read as views before a write keep their text.
  ini.WriteString(QStringLiteral("SECT2"), QStringLiteral("KEY3"), QStringLiteral("changed"));
  EXPECT_EQ(view, QStringLiteral("203"));
  EXPECT_EQ(ini.ReadString(QStringLiteral("sect2"), QStringLiteral("key3"), QString()), QStringLiteral("changed"));
  ini.WriteInteger(QStringLiteral("sect2"), QStringLiteral("added"), 42);
  ini.WriteString(QStringLiteral("Fresh"), QStringLiteral("a"), QStringLiteral("b"));
  EXPECT_EQ(ini.ReadInteger(QStringLiteral("SECT2"), QStringLiteral("ADDED"), 0), 42);
  EXPECT_EQ(ini.ReadString(QStringLiteral("fresh"), QStringLiteral("A"), QString()), QStringLiteral("b"));
  EXPECT_EQ(ini.ReadInteger(QStringLiteral("sect299"), QStringLiteral("key19"), -1), 29919);
  ini.EraseSection(QStringLiteral("sect7"));
  EXPECT_FALSE(ini.SectionExists(QStringLiteral("Sect7")));  // both occurrences went
  EXPECT_EQ(ini.ReadInteger(QStringLiteral("sect8"), QStringLiteral("key0"), -1), 800);
  // A copy reads the same.
  const TMemIniFile copy = ini;
  EXPECT_EQ(copy.ReadString(QStringLiteral("fresh"), QStringLiteral("a"), QString()), QStringLiteral("b"));
  EXPECT_EQ(copy.ReadInteger(QStringLiteral("sect2"), QStringLiteral("key4"), -1), 204);
}
