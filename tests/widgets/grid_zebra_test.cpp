// The striped data grid over real client data sets on an embedded Firebird database:
// stripe colours by screen row across scrolls, highlight rules, a closed data set, column
// titles and widths, input, repaint rules and the accessible table.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>

#include "db/FloatFormat.h"
#include "grid/GridDataLink.h"
#include "grid/GridRegistry.h"
#include "grid/zebdbgrid.h"
#include "platform/Colors.h"
#include "platform/Forms.h"
#include "platform/Streaming.h"
#include "support/Chain.h"
#include "support/Firebird.h"
#include "support/GridPixels.h"
#include "tests/TestUtil.h"

namespace {

const QColor kPale(206, 249, 208);  // the grids' Color 13695438
const QColor kWhite(255, 255, 255);  // clWindow
const QColor kHighlight(10, 36, 106);

const char* const kLineColumns[] = {"MASTERBILLID", "ACC_DATE", "ACC_NO", "ACC_NAME", "HLP_NO", "HLP_NAME", "CHG_TIMESTAMP"};
const char* const kHeaderColumns[] = {"BILL_TYPE", "MASTERBILLID", "ACC_DATE",    "C_AMT",     "R_AMT",
                                      "CHG_DATE",  "CHG_USER",     "DEP_NO",      "SOURCE_FLAG", "SOURCE_MEMO",
                                      "SOURCE_ID", "CHG_TIMESTAMP", "REMARK"};

TFont SansSerif11() {
  TFont f;
  f.Name = QStringLiteral("MS Sans Serif");
  f.Height = -11;
  f.Color = clWindowText;
  return f;
}

// A grid set up as the query form sets up its two grids.
template <size_t N>
Tzebdbgrid* MakeGrid(TForm& form, TDataSource* source, const char* const (&columns)[N]) {
  auto* g = new Tzebdbgrid(&form);
  g->SetParent(&form);
  g->SetColor(RGBColor(206, 249, 208));
  g->SetReadOnly(true);
  g->SetTitleFont(SansSerif11());
  g->SetZebra(true);
  g->SetZebraColor(clWindow);
  g->SetZebraFontColor(clWindowText);
  for (const char* c : columns) g->Columns().Add()->SetFieldName(QString::fromLatin1(c));
  g->SetDataSource(source);
  return g;
}

void SendMouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButtons held = Qt::LeftButton) {
  QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), Qt::LeftButton, held, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

void SendKey(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, mods);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, mods);
  QApplication::sendEvent(w, &release);
}


// Background of a data row: a pixel inside the first data column clear of text and lines.
QColor RowBackground(const QImage& img, TCustomDBGrid* g, int dataRow) {
  const TRect r = g->CellRect(g->IndicatorOffset(), g->TitleOffset() + dataRow);
  return img.pixelColor(r.Right - 2, r.Top + 1);
}

// True when the area holds a pixel darker than mid-grey (text; grid lines are lighter).
bool HasInk(const QImage& img, const QRect& area) {
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (qGray(img.pixel(x, y)) < 128) return true;
  return false;
}

class ZebraGrid : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new QTemporaryDir;
    db_ = dir_->path() + QStringLiteral("/grid.fdb");
    MakeDatabase(db_, {
        "CREATE TABLE ACC_MAIN_TEMP (MASTERBILLID VARCHAR(20) NOT NULL, ACC_DATE VARCHAR(10), CARD_NO VARCHAR(5),"
        " BILL_TYPE VARCHAR(10), DEP_NO VARCHAR(10), SOURCE_FLAG VARCHAR(1), SOURCE_MEMO VARCHAR(10),"
        " SOURCE_ID VARCHAR(20), C_AMT DOUBLE PRECISION, R_AMT DOUBLE PRECISION, ACC_CLASS VARCHAR(1),"
        " CHECK_USER VARCHAR(10), CHG_USER VARCHAR(10), CHG_DATE VARCHAR(10), REMARK VARCHAR(20),"
        " CHG_TIMESTAMP VARCHAR(20), CONSTRAINT PK_MAIN PRIMARY KEY (MASTERBILLID))",
        "INSERT INTO ACC_MAIN_TEMP (MASTERBILLID, ACC_DATE, BILL_TYPE, SOURCE_FLAG, C_AMT, R_AMT)"
        " VALUES ('A001', '2006/03/03', '轉帳', 'Y', 1234.5, 0)",
        "CREATE TABLE ACC_MAST_TEMP (MASTERBILLID VARCHAR(20) NOT NULL, KEYINTIME VARCHAR(20), ITEM VARCHAR(2) NOT NULL,"
        " PROC_CODE VARCHAR(1), CORD VARCHAR(2), ACC_NO VARCHAR(10), ACC_NAME VARCHAR(25), HLP_NO VARCHAR(5),"
        " HLP_NAME VARCHAR(80), AMOUNT DOUBLE PRECISION, R_AMOUNT DOUBLE PRECISION, YY VARCHAR(4), MM VARCHAR(2),"
        " DD VARCHAR(2), CODE1 VARCHAR(1), CODE2 VARCHAR(1), CODE3 VARCHAR(6), ACC_DATE VARCHAR(10),"
        " CARD_NO VARCHAR(5), DEP_NO VARCHAR(10), ACC_CLASS VARCHAR(1), CHG_TIMESTAMP VARCHAR(20),"
        " CONSTRAINT PK_MAST PRIMARY KEY (MASTERBILLID, ITEM))",
        "EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < 100) DO BEGIN"
        " INSERT INTO ACC_MAST_TEMP (MASTERBILLID, ITEM, ACC_DATE, CARD_NO, ACC_NO, ACC_NAME, HLP_NO, HLP_NAME,"
        " AMOUNT, CHG_TIMESTAMP) VALUES ('V' || LPAD(:I, 4, '0'), '01', '2006/03/03', 'C1', '1101', '現金', 'H1',"
        " '摘要 ' || :I, :I * 1.5, '2006-03-03 10:00'); I = I + 1; END END",
    });
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }

  void SetUp() override {
    SetDecimalSeparator(u'.');
    files_.WriteConnections(ConnectionFiles::KestrelParams(db_));
    files_.WriteDrivers();
    chain_ = std::make_unique<Chain>();
    Chain::Run(chain_->cds1, QStringLiteral("SELECT * FROM ACC_MAIN_TEMP \r\n"));
    Chain::Run(chain_->cds2, QStringLiteral("SELECT * FROM ACC_MAST_TEMP \r\n"));
    form_ = std::make_unique<TForm>(nullptr);
    form_->SetBounds(0, 0, 900, 400);
    lower_ = MakeGrid(*form_, chain_->source2, kLineColumns);
    lower_->SetBounds(0, 0, 860, 300);
    form_->Show();
    form_->Handle()->activateWindow();
    QApplication::processEvents();
  }

  void TearDown() override {
    form_.reset();
    chain_.reset();
  }

  // Moves the current record to the bottom row, then `distance` rows further.
  void ScrollBy(int distance) {
    TGridDataLink* link = lower_->DataLink();
    chain_->cds2->MoveBy(link->BufferCount() - 1 - link->ActiveRecord());
    const int first = link->FirstRecord();
    chain_->cds2->MoveBy(distance);
    ASSERT_EQ(link->FirstRecord(), first + distance);
  }

  void ExpectStripes(const QImage& img) {
    const int rows = lower_->DataLink()->RecordCount();
    ASSERT_GT(rows, 4);
    for (int r = 0; r < rows; ++r)
      EXPECT_EQ(RowBackground(img, lower_, r), (r & 1) ? kWhite : kPale) << "screen row " << r;
  }

  ConnectionFiles files_;
  std::unique_ptr<Chain> chain_;
  std::unique_ptr<TForm> form_;
  Tzebdbgrid* lower_ = nullptr;
  static QTemporaryDir* dir_;
  static QString db_;
};
QTemporaryDir* ZebraGrid::dir_ = nullptr;
QString ZebraGrid::db_;

TEST_F(ZebraGrid, StripesBelongToScreenRowsAcrossScrolls) {
  ASSERT_EQ(chain_->cds2->RecordCount(), 100);
  ExpectStripes(OnScreen(lower_));
  for (int distance : {1, 2, 3, 1}) {
    SCOPED_TRACE(distance);
    ScrollBy(distance);
    // The window shows exactly what a complete paint shows: no row kept its old stripe.
    const QImage shown = OnScreen(lower_);
    ExpectStripes(shown);
    EXPECT_TRUE(shown == FreshPaint(lower_));
  }
  // A page down moves every record by a whole screen, odd or even.
  SendKey(lower_->Handle(), Qt::Key_PageDown);
  ExpectStripes(OnScreen(lower_));
  EXPECT_TRUE(OnScreen(lower_) == FreshPaint(lower_));
}

TEST_F(ZebraGrid, StripesOffShowOnlyTheGridColour) {
  lower_->SetZebra(false);
  // The setter repaints at once, without waiting for the event loop. The current record's
  // selected cell in the focused grid is highlighted, the other rows take the grid colour.
  const QImage img = OnScreen(lower_);
  EXPECT_EQ(RowBackground(img, lower_, 0), kHighlight);
  for (int r = 1; r < 6; ++r) EXPECT_EQ(RowBackground(img, lower_, r), kPale) << r;
  // Another stripe colour shows on odd rows only.
  lower_->SetZebra(true);
  lower_->SetZebraColor(RGBColor(255, 255, 0));
  const QImage yellow = OnScreen(lower_);
  EXPECT_EQ(RowBackground(yellow, lower_, 0), kPale);
  EXPECT_EQ(RowBackground(yellow, lower_, 1), QColor(255, 255, 0));
}

TEST_F(ZebraGrid, SettingAStripePropertyRepaintsEvenWhenUnchanged) {
  int paints = 0;
  TWndMethod old = lower_->WindowProc;
  lower_->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_PAINT) ++paints;
    old(m);
  };
  lower_->SetZebraColor(lower_->ZebraColor());
  EXPECT_EQ(paints, 1);
  lower_->SetZebraFontColor(lower_->ZebraFontColor());
  lower_->SetZebra(lower_->Zebra());
  EXPECT_EQ(paints, 3);
  lower_->WindowProc = old;
}

TEST_F(ZebraGrid, HighlightFollowsTheStripeSwitch) {
  ASSERT_TRUE(lower_->Focused());
  // Click the second column of the third row.
  const TRect cell = lower_->CellRect(lower_->IndicatorOffset() + 1, lower_->TitleOffset() + 2);
  SendMouse(lower_->Handle(), QEvent::MouseButtonPress, QPoint(cell.Left + 5, cell.Top + 5));
  SendMouse(lower_->Handle(), QEvent::MouseButtonRelease, QPoint(cell.Left + 5, cell.Top + 5), Qt::NoButton);
  EXPECT_EQ(chain_->cds2->RecNo(), 3);
  EXPECT_EQ(lower_->SelectedIndex(), 1);
  QApplication::processEvents();

  // Stripes on: the cell keeps its row colour; a dotted focus frame marks it.
  QImage img = OnScreen(lower_);
  EXPECT_EQ(img.pixelColor(cell.Right - 2, cell.Top + 1), kPale);
  const QColor dot(255 - 206, 255 - 249, 255 - 208);
  auto framed = [&](const QImage& i) {
    return i.pixelColor(cell.Left, cell.Top) == dot || i.pixelColor(cell.Left + 1, cell.Top) == dot;
  };
  EXPECT_TRUE(framed(img));

  // Stripes off: the selected cell of the focused grid takes the highlight colours.
  lower_->SetZebra(false);
  img = OnScreen(lower_);
  EXPECT_EQ(img.pixelColor(cell.Right - 2, cell.Top + 1), kHighlight);
  bool lightText = false;
  for (int x = cell.Left + 2; x < cell.Right - 2 && !lightText; ++x)
    for (int y = cell.Top + 2; y < cell.Bottom - 1 && !lightText; ++y) lightText = qGray(img.pixel(x, y)) > 200;
  EXPECT_TRUE(lightText);

  // Once another control is active the grid shows neither highlight nor focus frame.
  auto* other = new Tzebdbgrid(form_.get());
  other->SetParent(form_.get());
  other->SetBounds(0, 310, 200, 60);
  other->SetFocus();
  QApplication::processEvents();
  ASSERT_FALSE(lower_->Focused());
  img = OnScreen(lower_);
  EXPECT_EQ(img.pixelColor(cell.Right - 2, cell.Top + 1), kPale);
  lower_->SetZebra(true);
  EXPECT_FALSE(framed(OnScreen(lower_)));
}

TEST_F(ZebraGrid, ClosedDataSetPaintsBackgroundsWithoutText) {
  chain_->cds2->Close();
  QApplication::processEvents();
  const QImage img = OnScreen(lower_);
  // The titles stay; the data rows hold no text.
  const int top = lower_->Geometry().DataTop();
  EXPECT_TRUE(HasInk(img, QRect(lower_->Geometry().FixedWidth(), 0, 200, top - 1)));
  EXPECT_FALSE(HasInk(img, QRect(lower_->Geometry().FixedWidth(), top, 800, img.height() - top)));
  EXPECT_EQ(RowBackground(img, lower_, 0), kPale);
  EXPECT_TRUE(img == FreshPaint(lower_));
  // Opening again brings the rows back.
  chain_->cds2->Open();
  QApplication::processEvents();
  EXPECT_TRUE(HasInk(OnScreen(lower_), QRect(lower_->Geometry().FixedWidth(), top, 800, 40)));
}

TEST_F(ZebraGrid, ColumnsTakeTitlesWidthsAndAlignmentFromTheirFields) {
  Tzebdbgrid* upper = MakeGrid(*form_, chain_->source1, kHeaderColumns);
  upper->SetBounds(0, 0, 880, 113);
  QApplication::processEvents();
  ASSERT_EQ(upper->Columns().Count(), 13);
  const QFontMetrics title(SansSerif11().ToQFont());
  const int zero = title.horizontalAdvance(QStringLiteral("0"));
  auto column = [&](const char* name) {
    for (int i = 0; i < upper->Columns().Count(); ++i)
      if (upper->Columns()[i]->FieldName() == QLatin1String(name)) return upper->Columns()[i];
    return static_cast<TColumn*>(nullptr);
  };
  EXPECT_EQ(column("SOURCE_FLAG")->Title().Caption(), QStringLiteral("轉入單別"));
  EXPECT_EQ(column("SOURCE_MEMO")->Title().Caption(), QStringLiteral("轉入單別"));
  // A one-character field as wide as its title plus 4; a wide field by its characters.
  EXPECT_EQ(column("SOURCE_FLAG")->Width(), title.horizontalAdvance(QStringLiteral("轉入單別")) + 4);
  EXPECT_EQ(column("MASTERBILLID")->Width(), 20 * zero + 4);
  EXPECT_EQ(column("C_AMT")->Width(), 10 * zero + 4);
  EXPECT_EQ(column("C_AMT")->Alignment(), taRightJustify);
  EXPECT_EQ(column("BILL_TYPE")->Alignment(), taLeftJustify);
  EXPECT_EQ(upper->Geometry().ColWidths[8], column("SOURCE_FLAG")->Width());

  // The amount ends 3 pixels left of its cell's right edge.
  const QImage img = OnScreen(upper);
  const TRect amount = upper->CellRect(upper->IndicatorOffset() + 3, upper->TitleOffset());
  int right = -1;
  for (int x = amount.Left; x < amount.Right; ++x)
    for (int y = amount.Top; y < amount.Bottom; ++y)
      if (qGray(img.pixel(x, y)) < 128) right = std::max(right, x);
  EXPECT_GE(right, amount.Right - 5);
  EXPECT_LE(right, amount.Right - 4);
  EXPECT_EQ(upper->CellText(0, column("C_AMT")), QStringLiteral("1234.5"));
  EXPECT_EQ(upper->CellText(0, column("R_AMT")), QStringLiteral("0"));
}

TEST_F(ZebraGrid, KeysAndMouseNavigateSizeAndMoveColumns) {
  QWidget* w = lower_->Handle();
  SendKey(w, Qt::Key_Down);
  SendKey(w, Qt::Key_Down);
  EXPECT_EQ(chain_->cds2->RecNo(), 3);
  SendKey(w, Qt::Key_Up);
  EXPECT_EQ(chain_->cds2->RecNo(), 2);
  SendKey(w, Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(chain_->cds2->RecNo(), 100);
  EXPECT_EQ(lower_->DataLink()->FirstRecord(), 100 - lower_->DataLink()->BufferCount());
  SendKey(w, Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(chain_->cds2->RecNo(), 1);
  SendKey(w, Qt::Key_Tab);
  SendKey(w, Qt::Key_Right);
  EXPECT_EQ(lower_->SelectedIndex(), 2);
  EXPECT_TRUE(lower_->Focused());  // Tab moved between columns, not away from the grid

  // Dragging the right edge of the first title widens the column by the distance dragged.
  const TRect t0 = lower_->CellRect(lower_->IndicatorOffset(), 0);
  const int before = lower_->Columns()[0]->Width();
  SendMouse(w, QEvent::MouseButtonPress, QPoint(t0.Right, 5));
  SendMouse(w, QEvent::MouseMove, QPoint(t0.Right + 30, 5));
  SendMouse(w, QEvent::MouseButtonRelease, QPoint(t0.Right + 30, 5), Qt::NoButton);
  EXPECT_EQ(lower_->Columns()[0]->Width(), before + 30);
  EXPECT_EQ(lower_->CellRect(lower_->IndicatorOffset(), 0).Right, t0.Right + 30);

  // Dragging a title onto the third column moves it there.
  int from = -1, to = -1;
  lower_->OnColumnMoved = [&](TComponent*, int f, int t) { from = f, to = t; };
  const TRect t2 = lower_->CellRect(lower_->IndicatorOffset() + 2, 0);
  SendMouse(w, QEvent::MouseButtonPress, QPoint(t0.Left + 10, 5));
  SendMouse(w, QEvent::MouseMove, QPoint(t2.Left + 10, 5));
  SendMouse(w, QEvent::MouseButtonRelease, QPoint(t2.Left + 10, 5), Qt::NoButton);
  EXPECT_EQ(from, 0);
  EXPECT_EQ(to, 2);
  EXPECT_EQ(lower_->Columns()[2]->FieldName(), QStringLiteral("MASTERBILLID"));
  EXPECT_EQ(lower_->Columns()[0]->FieldName(), QStringLiteral("ACC_DATE"));

  // The wheel moves the current record.
  QWheelEvent wheel(QPointF(50, 50), QPointF(w->mapToGlobal(QPoint(50, 50))), QPoint(), QPoint(0, -240),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(w, &wheel);
  EXPECT_EQ(chain_->cds2->RecNo(), 3);
}

TEST_F(ZebraGrid, AccessibleTableHoldsTheWholeResultInGridOrder) {
  QAccessibleInterface* table = QAccessible::queryAccessibleInterface(lower_->Handle());
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->role(), QAccessible::Table);
  QAccessibleTableInterface* t = table->tableInterface();
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->rowCount(), 100);
  EXPECT_EQ(t->columnCount(), 7);
  EXPECT_EQ(t->columnDescription(0), QStringLiteral("傳票編號"));
  EXPECT_EQ(t->columnDescription(5), QStringLiteral("摘要"));
  // Rows far below the screen are there as well.
  EXPECT_EQ(t->cellAt(99, 0)->text(QAccessible::Name), QStringLiteral("V0099"));
  EXPECT_EQ(t->cellAt(42, 5)->text(QAccessible::Name), QStringLiteral("摘要 42"));
  // Children: the column headers first, then the cells row by row.
  EXPECT_EQ(table->childCount(), 7 * 101);
  EXPECT_EQ(table->child(2)->role(), QAccessible::ColumnHeader);
  EXPECT_EQ(table->child(2)->text(QAccessible::Name), QStringLiteral("科目代號"));
  QAccessibleInterface* cell = table->child(7 + 5 * 7 + 1);
  EXPECT_EQ(cell->text(QAccessible::Name), QStringLiteral("2006/03/03"));
  EXPECT_EQ(table->indexOfChild(cell), 7 + 5 * 7 + 1);
  QAccessibleTableCellInterface* ci = cell->tableCellInterface();
  ASSERT_NE(ci, nullptr);
  EXPECT_EQ(ci->rowIndex(), 5);
  EXPECT_EQ(ci->columnIndex(), 1);
  ASSERT_EQ(ci->columnHeaderCells().size(), 1);
  EXPECT_EQ(ci->columnHeaderCells()[0]->text(QAccessible::Name), QStringLiteral("傳票日期"));
  // A new result replaces the rows.
  Chain::Run(chain_->cds2, QStringLiteral("SELECT * FROM ACC_MAST_TEMP WHERE MASTERBILLID BETWEEN 'V0010' AND 'V0012'"));
  EXPECT_EQ(t->rowCount(), 3);
  EXPECT_EQ(t->cellAt(0, 0)->text(QAccessible::Name), QStringLiteral("V0010"));
  EXPECT_EQ(t->cellAt(3, 0), nullptr);
}

TEST_F(ZebraGrid, LoadsFromAStoredDefinition) {
  RegisterGridClasses();
  // The grid as the query form stores it, bound to a data source of the same form.
  const QString text = QStringLiteral(R"(object GridForm: TForm
  ClientHeight = 300
  ClientWidth = 600
  object zebdbgrid2: Tzebdbgrid
    Left = 1
    Top = 1
    Width = 580
    Height = 280
    Color = 13695438
    DataSource = DataSource2
    ReadOnly = True
    TabOrder = 0
    TitleFont.Charset = DEFAULT_CHARSET
    TitleFont.Color = clWindowText
    TitleFont.Height = -11
    TitleFont.Name = 'MS Sans Serif'
    TitleFont.Style = []
    Zebra = True
    ZebraColor = clWindow
    ZebraFontColor = clWindowText
    Columns = <
      item
        Expanded = False
        FieldName = 'MASTERBILLID'
        Visible = True
      end
      item
        Expanded = False
        FieldName = 'HLP_NAME'
        Visible = True
      end>
  end
end
)");
  TForm form(nullptr);
  auto* source = new TDataSource(&form);
  source->SetName(QStringLiteral("DataSource2"));
  source->SetDataSet(chain_->cds2);
  ReadComponentFromText(text, &form);
  auto* g = dynamic_cast<Tzebdbgrid*>(form.FindComponent(QStringLiteral("zebdbgrid2")));
  ASSERT_NE(g, nullptr);
  EXPECT_TRUE(g->Zebra());
  EXPECT_EQ(g->ZebraColor(), clWindow);
  EXPECT_EQ(g->Color(), RGBColor(206, 249, 208));
  EXPECT_TRUE(g->ReadOnly());
  EXPECT_EQ(g->DataSource(), source);
  ASSERT_EQ(g->Columns().Count(), 2);
  EXPECT_EQ(g->Columns().State(), TDBGridColumnsState::csCustomized);
  EXPECT_EQ(g->Columns()[1]->Title().Caption(), QStringLiteral("摘要"));
  EXPECT_EQ(g->Options(), kDefaultDBGridOptions);
  // A grid left at its defaults keeps the stripe defaults.
  Tzebdbgrid plain(nullptr);
  EXPECT_FALSE(plain.Zebra());
  EXPECT_EQ(plain.ZebraColor(), clAqua);
  EXPECT_EQ(plain.ZebraFontColor(), clWindowText);
}

}  // namespace
