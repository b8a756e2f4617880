// Column widths from fields: a field declared wider than any screen gives a bounded column,
// and a grid over such a result still lays out, paints and exports.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>

#include "db/ClientDataSet.h"
#include "db/DataSource.h"
#include "grid/DBGrid.h"
#include "grid/GridLayout.h"
#include "grid/GridText.h"
#include "platform/Font.h"

TEST(GridLayout, HugeDeclaredWidthsAreCut) {
  const TCellFont font{TFont()};
  const int normal = DefaultColumnWidth(10, font, QStringLiteral("A"), font, true);
  EXPECT_EQ(normal, 10 * font.TextWidth(QStringLiteral("0")) + 4);
  EXPECT_EQ(DefaultColumnWidth(2046820372, font, QStringLiteral("A"), font, true), kMaxColumnWidth);
  EXPECT_EQ(DefaultColumnWidth(-5, font, QString(), font, false), 4);
}

TEST(GridLayout, ResultWithAHugeColumnLaysOutAndExports) {
  // A data packet whose text column claims two billion characters.
  QFile f(qEnvironmentVariable("LEDGERLY_SOURCE_DIR") + QStringLiteral("/fuzz/corpus/grid_csv/huge_column_size.bin"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray bytes = f.readAll();
  TComponent owner(nullptr);
  auto* ds = new TClientDataSet(&owner);
  ds->SetData(TDataPacket::Load(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size())));
  ds->Open();
  auto* source = new TDataSource(&owner);
  source->SetDataSet(ds);
  auto* grid = new TDBGrid(&owner);
  grid->SetBounds(0, 0, 400, 200);
  grid->SetDataSource(source);
  ASSERT_GT(grid->Columns().Count(), 0);
  for (int c = 0; c < grid->Columns().Count(); ++c) EXPECT_LE(grid->Columns().Items(c)->Width(), kMaxColumnWidth);
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  WriteGridCsv(*grid, out);
  EXPECT_EQ(out.data().count("\r\n"), ds->RecordCount() + 1);
}
