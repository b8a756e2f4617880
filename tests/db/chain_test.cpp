// The data chain on real embedded Firebird databases: connecting from the files, rows in
// primary key order, persistent fields, display texts and the failures of a statement.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "db/FloatFormat.h"
#include "platform/Exceptions.h"
#include "support/Chain.h"
#include "support/Firebird.h"
#include "tests/TestUtil.h"

namespace {

class ChainTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new QTemporaryDir;
    demo_ = dir_->path() + QStringLiteral("/demo.fdb");
    MakeDemoDatabase(demo_, 60, 300);
    // Tables for the edge cases.
    other_ = dir_->path() + QStringLiteral("/other.fdb");
    MakeDatabase(other_, {
        "CREATE TABLE ACC_MAST_TEMP (MASTERBILLID VARCHAR(20), KEYINTIME VARCHAR(20), ITEM VARCHAR(2),"
        " PROC_CODE VARCHAR(1), CORD VARCHAR(2), ACC_NO VARCHAR(10), ACC_NAME VARCHAR(25), HLP_NO VARCHAR(5),"
        " HLP_NAME VARCHAR(80), AMOUNT NUMERIC(15,2), R_AMOUNT DOUBLE PRECISION, YY VARCHAR(4), MM VARCHAR(2),"
        " DD VARCHAR(2), CODE1 VARCHAR(1), CODE2 VARCHAR(1), CODE3 VARCHAR(6), ACC_DATE VARCHAR(10),"
        " CARD_NO VARCHAR(5), DEP_NO VARCHAR(10), ACC_CLASS VARCHAR(1), CHG_TIMESTAMP VARCHAR(20))",
        "INSERT INTO ACC_MAST_TEMP (MASTERBILLID, AMOUNT) VALUES ('X1', 12.5)",
        // No primary key: rows keep the server's order.
        "CREATE TABLE NOKEY (K VARCHAR(10), V DOUBLE PRECISION)",
        "INSERT INTO NOKEY VALUES ('c', 1)", "INSERT INTO NOKEY VALUES ('a', 2)", "INSERT INTO NOKEY VALUES ('b', 3)",
        // A key of two columns, the second descending in value; a CHAR column in UTF8.
        "CREATE TABLE KEYED (A INTEGER NOT NULL, B VARCHAR(4) NOT NULL, C CHAR(3), D VARCHAR(6),"
        " CONSTRAINT PK_KEYED PRIMARY KEY (A, B))",
        "INSERT INTO KEYED VALUES (2, 'b', '甲', '甲乙丙')", "INSERT INTO KEYED VALUES (1, 'z', 'ab', NULL)",
        "INSERT INTO KEYED VALUES (2, 'a', NULL, 'x')", "INSERT INTO KEYED VALUES (-5, 'q', 'c', 'y')",
    });
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }

  void UseDatabase(const QString& path, const QStringList& extra = {}) {
    files_.WriteConnections(ConnectionFiles::KestrelParams(path, extra));
    files_.WriteDrivers();
  }

  ConnectionFiles files_;
  static QTemporaryDir* dir_;
  static QString demo_, other_;
};
QTemporaryDir* ChainTest::dir_ = nullptr;
QString ChainTest::demo_, ChainTest::other_;

QStringList Column(TDataSet* ds, const QString& field) {
  QStringList out;
  const int idx = ds->FieldByName(field)->Index();
  for (int r = 0; r < ds->RecordCount(); ++r) out << ds->DisplayText(r, idx);
  return out;
}

TEST_F(ChainTest, OpensTheDemoTablesInPrimaryKeyOrder) {
  UseDatabase(demo_);
  SetDecimalSeparator(u'.');
  Chain chain;
  ASSERT_TRUE(chain.connection->Connected());
  EXPECT_EQ(chain.connection->QuoteChar(), QStringLiteral("\""));
  EXPECT_TRUE(chain.connection->TransactionsSupported());

  Chain::Run(chain.cds1, QStringLiteral("select * from ACC_MAIN_TEMP"));
  ASSERT_EQ(chain.cds1->RecordCount(), 60);
  EXPECT_EQ(chain.cds1->FieldCount(), 16);
  Chain::Run(chain.cds2, QStringLiteral("select * from ACC_MAST_TEMP"));
  ASSERT_EQ(chain.cds2->RecordCount(), 300);
  EXPECT_EQ(chain.cds2->FieldCount(), 22);

  // Ordered by the key (MASTERBILLID, CHG_TIMESTAMP, ITEM) of the lines.
  const QStringList ids = Column(chain.cds2, QStringLiteral("MASTERBILLID"));
  const QStringList stamps = Column(chain.cds2, QStringLiteral("CHG_TIMESTAMP"));
  const QStringList items = Column(chain.cds2, QStringLiteral("ITEM"));
  for (int r = 1; r < ids.size(); ++r) {
    const QString a = ids[r - 1] + u'|' + stamps[r - 1] + u'|' + items[r - 1];
    const QString b = ids[r] + u'|' + stamps[r] + u'|' + items[r];
    ASSERT_LT(a, b) << r;
  }
  // The server itself returns them in the order the changes were logged, which differs.
  chain.provider2->SetOptions(poAllowCommandText | poRetainServerOrder);
  Chain::Run(chain.cds2, QStringLiteral("select * from ACC_MAST_TEMP"));
  EXPECT_NE(Column(chain.cds2, QStringLiteral("MASTERBILLID")), ids);
  chain.provider2->SetOptions(poAllowCommandText);

  // Texts as stored, Chinese included; amounts in general format; labels as titles.
  Chain::Run(chain.cds2, QStringLiteral("select * from ACC_MAST_TEMP where ITEM = '01'"));
  TField* name = chain.cds2->FieldByName(QStringLiteral("ACC_NAME"));
  TField* amount = chain.cds2->FieldByName(QStringLiteral("AMOUNT"));
  EXPECT_EQ(name->DisplayName(), QStringLiteral("科目名稱"));
  EXPECT_FALSE(name->AsString().isEmpty());
  EXPECT_TRUE(name->AsString().at(0).unicode() >= 0x4e00) << name->AsString().toStdString();
  EXPECT_EQ(amount->Alignment(), taRightJustify);
  EXPECT_EQ(amount->DisplayText(), FloatToStrGeneral(amount->AsFloat(), 15, u'.'));
  EXPECT_GT(amount->AsFloat(), 0);
  EXPECT_EQ(chain.cds2->FieldByName(QStringLiteral("R_AMOUNT"))->DisplayName(), QStringLiteral("R_AMOUNT"));
  EXPECT_EQ(chain.cds1->FieldByName(QStringLiteral("SOURCE_FLAG"))->DisplayName(),
            chain.cds1->FieldByName(QStringLiteral("SOURCE_MEMO"))->DisplayName());

  // A second statement replaces the first result completely; no rows is an empty table.
  Chain::Run(chain.cds1, QStringLiteral("select * from ACC_MAIN_TEMP where MASTERBILLID = '%1'").arg(ids.first()));
  EXPECT_EQ(chain.cds1->RecordCount(), 1);
  EXPECT_EQ(chain.cds1->FieldByName(QStringLiteral("MASTERBILLID"))->AsString(), ids.first());
  Chain::Run(chain.cds1, QStringLiteral("select * from ACC_MAIN_TEMP where MASTERBILLID = 'none'"));
  EXPECT_TRUE(chain.cds1->Active());
  EXPECT_EQ(chain.cds1->RecordCount(), 0);
  EXPECT_TRUE(chain.cds1->Eof());
  EXPECT_EQ(chain.cds1->DisplayText(0, 0), QString());

  // ORDER BY decides over the key.
  Chain::Run(chain.cds2, QStringLiteral("select * from ACC_MAST_TEMP order by AMOUNT desc"));
  const TField* amt = chain.cds2->FieldByName(QStringLiteral("AMOUNT"));
  for (int r = 1; r < chain.cds2->RecordCount(); ++r) {
    chain.cds2->SetRecNo(r);
    const double prev = amt->AsFloat();
    chain.cds2->SetRecNo(r + 1);
    ASSERT_GE(prev, amt->AsFloat());
  }
  // Closing releases the rows; the connection stays.
  chain.cds2->Close();
  EXPECT_EQ(chain.cds2->RecordCount(), 0);
  EXPECT_TRUE(chain.connection->Connected());
}

TEST_F(ChainTest, StatementFailuresLeaveTheDataSetClosedAndTheConnectionUsable) {
  UseDatabase(other_);
  Chain chain;
  // Fixed-point AMOUNT for a floating-point field.
  try {
    Chain::Run(chain.cds2, QStringLiteral("select * from ACC_MAST_TEMP"));
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("ClientDataSet2: Type mismatch for field '金額', expecting: Float actual: FMTBcd"));
  }
  EXPECT_FALSE(chain.cds2->Active());
  // A result without a persistent field's column.
  try {
    Chain::Run(chain.cds2, QStringLiteral("select MASTERBILLID from ACC_MAST_TEMP"));
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("ClientDataSet2: Field '登錄時間' not found"));
  }
  EXPECT_FALSE(chain.cds2->Active());
  // An unknown table: the server's text.
  try {
    Chain::Run(chain.cds1, QStringLiteral("select * from NO_SUCH_TABLE"));
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_TRUE(e.Message().startsWith(QStringLiteral("SQL Server Error: "))) << e.what();
    EXPECT_TRUE(e.Message().contains(QStringLiteral("Table unknown"))) << e.what();
    EXPECT_TRUE(e.Message().contains(QStringLiteral("NO_SUCH_TABLE"))) << e.what();
  }
  EXPECT_FALSE(chain.cds1->Active());
  EXPECT_FALSE(chain.sql1->Active());
  // Still usable: the same data set opens the next statement.
  while (chain.cds1->FieldCount() > 0) delete chain.cds1->Fields(0);
  Chain::Run(chain.cds1, QStringLiteral("select * from NOKEY"));
  EXPECT_EQ(chain.cds1->RecordCount(), 0 + 3);
}

TEST_F(ChainTest, DefaultFieldsOrderAndTextRules) {
  UseDatabase(other_, {QStringLiteral("LocaleCode=0404")});
  Chain chain(false);
  // No key: the server's order.
  Chain::Run(chain.cds1, QStringLiteral("select * from NOKEY"));
  EXPECT_EQ(Column(chain.cds1, QStringLiteral("K")), (QStringList{"c", "a", "b"}));
  EXPECT_EQ(chain.cds1->Lcid(), 0x0404);
  // Key (A, B): numbers by value, then text.
  Chain::Run(chain.cds1, QStringLiteral("select d, c, b, a from KEYED"));
  EXPECT_EQ(Column(chain.cds1, QStringLiteral("A")), (QStringList{"-5", "1", "2", "2"}));
  EXPECT_EQ(Column(chain.cds1, QStringLiteral("B")), (QStringList{"q", "z", "a", "b"}));
  // CHAR keeps its padding to its characters, not to the bytes the server sends.
  EXPECT_EQ(Column(chain.cds1, QStringLiteral("C")), (QStringList{"c  ", "ab ", "", "甲  "}));
  EXPECT_EQ(Column(chain.cds1, QStringLiteral("D")), (QStringList{"y", "", "x", "甲乙丙"}));
  TField* c = chain.cds1->FieldByName(QStringLiteral("C"));
  EXPECT_EQ(c->DataType(), ftFixedChar);
  EXPECT_EQ(c->Size(), 3);
  EXPECT_EQ(chain.cds1->FieldByName(QStringLiteral("D"))->Size(), 6);
  EXPECT_EQ(chain.cds1->FieldByName(QStringLiteral("A"))->DataType(), ftInteger);
  // A key column missing from the result: the server's order.
  Chain::Run(chain.cds1, QStringLiteral("select B from KEYED"));
  EXPECT_EQ(Column(chain.cds1, QStringLiteral("B")), (QStringList{"b", "z", "a", "q"}));
  // Without poAllowCommandText the provider refuses the text.
  chain.provider1->SetOptions(0);
  try {
    Chain::Run(chain.cds1, QStringLiteral("select * from KEYED"));
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("CommandText changes are not allowed"));
  }
}

TEST_F(ChainTest, TrimCharAndNarrowing) {
  UseDatabase(other_, {QStringLiteral("Trim Char=True")});
  Chain chain(false);
  auto* d = new TStringField(chain.form.get());
  d->SetFieldName(QStringLiteral("D"));
  d->SetSize(20);
  d->SetDataSet(chain.cds1);
  auto* c = new TStringField(chain.form.get());
  c->SetFieldName(QStringLiteral("C"));
  c->SetDataSet(chain.cds1);
  Chain::Run(chain.cds1, QStringLiteral("select * from KEYED"));
  EXPECT_EQ(chain.cds1->FieldCount(), 2);
  EXPECT_EQ(d->Size(), 6);  // narrowed to the column
  EXPECT_EQ(d->DisplayWidth(), 6);
  EXPECT_EQ(Column(chain.cds1, QStringLiteral("C")), (QStringList{"c", "ab", "", "甲"}));
}

}  // namespace
