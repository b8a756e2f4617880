// The client data set over packets built in memory: cursor, fields, binding rules, default
// order, display texts and data link events.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "tests/TestUtil.h"
#include "db/ClientDataSet.h"
#include "db/DataSource.h"
#include "db/FloatFormat.h"
#include "platform/Exceptions.h"

namespace {

struct Row {
  const char* id;  // nullptr = null
  const char* name;
  double amount;
  bool amountNull;
};

TDataPacket MakePacket(const std::vector<Row>& rows, std::vector<TSortKey> order = {},
                       TFieldType amountType = ftFloat) {
  TDataPacket pk;
  pk.AddColumn({QStringLiteral("MASTERBILLID"), ftString, 20, 0, 0, 4, true});
  pk.AddColumn({QStringLiteral("ACC_NAME"), ftString, 25, 0, 0, 4, false});
  pk.AddColumn({QStringLiteral("AMOUNT"), amountType, 0, 15, amountType == ftFMTBcd ? 2 : 0, 0, false});
  pk.SetDefaultOrder(std::move(order));
  for (const Row& r : rows) {
    pk.BeginRow();
    if (r.id) pk.PutText(r.id, strlen(r.id)); else pk.PutNullText();
    if (r.name) pk.PutText(r.name, strlen(r.name)); else pk.PutNullText();
    if (amountType == ftFloat) pk.PutDouble(0, r.amount, r.amountNull);
    else pk.PutNumber(0, static_cast<uint64_t>(static_cast<int64_t>(r.amount * 100)), r.amountNull);
    pk.EndRow();
  }
  pk.Finish();
  return pk;
}

class Recorder : public TDataLink {
 public:
  std::vector<QString> log;

 protected:
  void ActiveChanged() override { log.push_back(QStringLiteral("active %1").arg(Active())); }
  void DataSetChanged() override { log.push_back(QStringLiteral("changed")); }
  void DataSetScrolled(int d) override { log.push_back(QStringLiteral("scrolled %1 ar %2").arg(d).arg(ActiveRecord())); }
};

TEST(ClientDataSet, CursorFieldsAndDisplayText) {
  SetDecimalSeparator(u'.');
  TComponent form(nullptr);
  auto* cds = new TClientDataSet(&form);
  cds->SetName(QStringLiteral("ClientDataSet2"));
  cds->SetData(MakePacket({{"A1", "現金", 1234.5, false}, {"A2", nullptr, 0, false}, {"A3", "銀行存款", 0, true}}));
  cds->Open();
  ASSERT_TRUE(cds->Active());
  EXPECT_EQ(cds->RecordCount(), 3);
  EXPECT_EQ(cds->RecNo(), 1);
  EXPECT_TRUE(cds->Bof());
  EXPECT_FALSE(cds->Eof());
  ASSERT_EQ(cds->FieldCount(), 3);  // default fields
  TField* amount = cds->FieldByName(QStringLiteral("amount"));
  EXPECT_EQ(amount->ClassName(), QStringLiteral("TFloatField"));
  EXPECT_EQ(amount->Alignment(), taRightJustify);
  EXPECT_EQ(amount->DisplayWidth(), 10);
  EXPECT_EQ(amount->DisplayText(), QStringLiteral("1234.5"));
  EXPECT_EQ(cds->Fields(1)->AsString(), QStringLiteral("現金"));
  EXPECT_EQ(cds->Fields(1)->DisplayWidth(), 25);

  cds->Next();
  EXPECT_EQ(cds->RecNo(), 2);
  EXPECT_EQ(amount->DisplayText(), QStringLiteral("0"));
  EXPECT_TRUE(cds->Fields(1)->IsNull());
  EXPECT_EQ(cds->Fields(1)->DisplayText(), QString());
  EXPECT_EQ(cds->MoveBy(5), 1);
  EXPECT_TRUE(cds->Eof());
  EXPECT_TRUE(amount->IsNull());
  EXPECT_EQ(amount->DisplayText(), QString());
  cds->Prior();
  EXPECT_EQ(cds->RecNo(), 2);
  EXPECT_FALSE(cds->Eof());
  cds->SetRecNo(1);
  EXPECT_EQ(cds->Fields(0)->AsString(), QStringLiteral("A1"));

  // Random access does not move the cursor.
  EXPECT_EQ(cds->DisplayText(2, 1), QStringLiteral("銀行存款"));
  EXPECT_EQ(cds->DisplayText(0, 2), QStringLiteral("1234.5"));
  EXPECT_EQ(cds->DisplayText(3, 0), QString());
  EXPECT_EQ(cds->RecNo(), 1);
  EXPECT_THROW(cds->FieldByName(QStringLiteral("NOPE")), EDatabaseError);

  cds->Close();
  EXPECT_FALSE(cds->Active());
  EXPECT_EQ(cds->FieldCount(), 0);  // default fields go with the rows
  EXPECT_EQ(cds->RecordCount(), 0);
  // A given packet is used once.
  try {
    cds->Open();
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("ClientDataSet2: Missing data provider or data packet"));
  }
}

TEST(ClientDataSet, PersistentFieldsBindByNameAndCheckKinds) {
  TComponent form(nullptr);
  auto* cds = new TClientDataSet(&form);
  cds->SetName(QStringLiteral("ClientDataSet2"));
  auto* id = new TStringField(&form);
  id->SetFieldName(QStringLiteral("MASTERBILLID"));
  id->SetDisplayLabel(QStringLiteral("傳票編號"));
  id->SetSize(30);  // wider than the column: narrowed to 20
  id->SetDataSet(cds);
  auto* amount = new TFloatField(&form);
  amount->SetFieldName(QStringLiteral("AMOUNT"));
  amount->SetDisplayLabel(QStringLiteral("金額"));
  amount->SetDataSet(cds);

  cds->SetData(MakePacket({{"B", "x", 2.25, false}}));
  cds->Open();
  EXPECT_EQ(cds->FieldCount(), 2);  // ACC_NAME is held but has no field
  EXPECT_EQ(id->Size(), 20);
  EXPECT_EQ(id->Index(), 0);
  EXPECT_EQ(amount->Index(), 1);
  EXPECT_EQ(cds->DisplayText(0, 1), QStringLiteral("2.25"));
  EXPECT_DOUBLE_EQ(amount->AsFloat(), 2.25);
  cds->Close();
  EXPECT_EQ(cds->FieldCount(), 2);  // persistent fields stay

  // A fixed-point column cannot feed a floating-point field.
  cds->SetData(MakePacket({{"B", "x", 2.25, false}}, {}, ftFMTBcd));
  try {
    cds->Open();
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("ClientDataSet2: Type mismatch for field '金額', expecting: Float actual: FMTBcd"));
  }
  EXPECT_FALSE(cds->Active());

  // A field without its column.
  auto* missing = new TStringField(&form);
  missing->SetFieldName(QStringLiteral("KEYINTIME"));
  missing->SetDataSet(cds);
  cds->SetData(MakePacket({{"B", "x", 1, false}}));
  try {
    cds->Open();
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("ClientDataSet2: Field 'KEYINTIME' not found"));
  }
  EXPECT_FALSE(cds->Active());
  delete missing;
  EXPECT_EQ(cds->FieldCount(), 2);
}

TEST(ClientDataSet, DefaultOrderSortsThroughThePermutation) {
  TComponent form(nullptr);
  auto* cds = new TClientDataSet(&form);
  // Rows out of order, a null key, equal keys (kept in arrival order), a long shared prefix.
  std::vector<Row> rows = {{"B0000002", "1", 1, false}, {"B0000001", "2", 2, false}, {nullptr, "3", 3, false},
                           {"A", "4", 4, false},       {"B0000001", "5", 5, false}, {"B00000019", "6", 6, false},
                           {"B0000001Z", "7", 7, false}, {"AB", "8", 8, false},
                           {"LONG-SHARED-PREFIX-2", "9", 9, false}, {"LONG-SHARED-PREFIX-1", "10", 10, false},
                           {"LONG-SHARED-PREFI", "11", 11, false}};
  cds->SetData(MakePacket(rows, {{0, false}}));
  cds->Open();
  QStringList got;
  for (int r = 0; r < cds->RecordCount(); ++r) got << cds->DisplayText(r, 1);
  EXPECT_EQ(got.join(u','), QStringLiteral("3,4,8,2,5,6,7,1,11,10,9"));
  cds->Close();

  cds->SetData(MakePacket(rows, {{2, true}}));
  cds->Open();
  got.clear();
  for (int r = 0; r < cds->RecordCount(); ++r) got << cds->DisplayText(r, 2);
  EXPECT_EQ(got.join(u','), QStringLiteral("11,10,9,8,7,6,5,4,3,2,1"));
}

TEST(DataLink, FollowsOpenScrollAndClose) {
  TComponent form(nullptr);
  auto* cds = new TClientDataSet(&form);
  auto* src = new TDataSource(&form);
  src->SetDataSet(cds);
  Recorder link;
  link.SetBufferCount(2);
  link.SetDataSource(src);
  std::vector<Row> rows;
  for (int i = 0; i < 5; ++i) rows.push_back({"x", "y", static_cast<double>(i), false});
  cds->SetData(MakePacket(rows));
  cds->Open();
  cds->Next();      // inside the window
  cds->Next();      // window moves by one
  cds->MoveBy(-2);  // back to the top
  cds->Last();
  EXPECT_EQ(link.TopRow(), 3);
  EXPECT_EQ(link.ActiveRecord(), 1);
  cds->Close();
  const std::vector<QString> want = {QStringLiteral("active 1"), QStringLiteral("scrolled 0 ar 1"),
                                     QStringLiteral("scrolled 1 ar 1"), QStringLiteral("scrolled -1 ar 0"),
                                     QStringLiteral("changed"), QStringLiteral("active 0")};
  EXPECT_EQ(link.log, want);
  // The data source going away leaves the link inactive, not dangling.
  delete src;
  EXPECT_EQ(link.DataSource(), nullptr);
  EXPECT_FALSE(link.Active());
}

TEST(FloatFormat, GeneralFifteenDigits) {
  EXPECT_EQ(FloatToStrGeneral(1234.5, 15, u'.'), QStringLiteral("1234.5"));
  EXPECT_EQ(FloatToStrGeneral(0.0, 15, u'.'), QStringLiteral("0"));
  EXPECT_EQ(FloatToStrGeneral(-0.0, 15, u'.'), QStringLiteral("0"));
  EXPECT_EQ(FloatToStrGeneral(1234.5, 15, u','), QStringLiteral("1234,5"));
  EXPECT_EQ(FloatToStrGeneral(1234567.0, 15, u'.'), QStringLiteral("1234567"));
  EXPECT_EQ(FloatToStrGeneral(0.1 + 0.2, 15, u'.'), QStringLiteral("0.3"));
  EXPECT_EQ(FloatToStrGeneral(-0.00001, 15, u'.'), QStringLiteral("-0.00001"));
  EXPECT_EQ(FloatToStrGeneral(0.000001, 15, u'.'), QStringLiteral("1E-6"));
  EXPECT_EQ(FloatToStrGeneral(123456789012345.0, 15, u'.'), QStringLiteral("123456789012345"));
  EXPECT_EQ(FloatToStrGeneral(1234567890123456.0, 15, u'.'), QStringLiteral("1.23456789012346E15"));
  EXPECT_EQ(FloatToStrGeneral(1e20, 15, u'.'), QStringLiteral("1E20"));
  EXPECT_EQ(FloatToStrGeneral(-2.5e-7, 15, u','), QStringLiteral("-2,5E-7"));
  EXPECT_EQ(FloatToStrGeneral(999999999999999.9, 15, u'.'), QStringLiteral("1E15"));
}

TEST(DataPacket, RoundTripsAndRejectsDamage) {
  TDataPacket pk = MakePacket({{"甲", nullptr, 1.5, false}, {nullptr, "乙", 0, true}}, {{1, true}});
  pk.SetLcid(0x0404);
  const std::vector<uint8_t> bytes = pk.Save();
  TDataPacket back = TDataPacket::Load(bytes.data(), bytes.size());
  EXPECT_EQ(back.Save(), bytes);
  EXPECT_EQ(back.Lcid(), 0x0404);
  EXPECT_EQ(back.DefaultOrder(), (std::vector<TSortKey>{{1, true}}));
  std::string_view v;
  ASSERT_TRUE(back.TextCell(0, 0, v));
  EXPECT_EQ(v, "甲");
  EXPECT_FALSE(back.TextCell(0, 1, v));
  EXPECT_TRUE(back.NumberIsNull(1, 0));
  // Every truncation fails cleanly; a text length running past the rows fails too.
  for (size_t n = 0; n < bytes.size(); ++n)
    EXPECT_THROW(TDataPacket::Load(bytes.data(), n), EReadError) << n;
  std::vector<uint8_t> bad = bytes;
  const std::vector<uint8_t> needle = {0x04, 0xe7, 0x94, 0xb2};  // varint 4 then 甲
  auto it = std::search(bad.begin(), bad.end(), needle.begin(), needle.end());
  ASSERT_NE(it, bad.end());
  *it = 0x40;
  EXPECT_THROW(TDataPacket::Load(bad.data(), bad.size()), EReadError);
}

}  // namespace
