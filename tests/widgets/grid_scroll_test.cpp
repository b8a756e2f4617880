// The striped grid over an in-memory client data set: what the window shows after scrolls
// (stripes, current-record marker, focus frame, highlight), rows whose data changed, the
// record window when the grid grows at the end of the result, the scroll bar, and keys on
// empty and closed data sets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QWidget>
#include <memory>
#include <string>

#include "db/ClientDataSet.h"
#include "db/DataSource.h"
#include "grid/GridDataLink.h"
#include "grid/zebdbgrid.h"
#include "platform/Colors.h"
#include "platform/Forms.h"
#include "support/GridPixels.h"
#include "tests/TestUtil.h"

namespace {

const QColor kPale(206, 249, 208);
const QColor kWhite(255, 255, 255);
const QColor kHighlight(10, 36, 106);

// Rows "R<n>" / "<prefix> <n>"; `prefix` tells one result from another.
TDataPacket MakeRows(int rows, const std::string& prefix) {
  TDataPacket p;
  for (const char* name : {"MASTERBILLID", "HLP_NAME"}) {
    TColumnDesc d;
    d.name = QString::fromLatin1(name);
    d.dataType = ftString;
    d.size = 20;
    d.charSet = 4;
    p.AddColumn(d);
  }
  for (int i = 0; i < rows; ++i) {
    p.BeginRow();
    std::string id = "R";  // appended, not "R" + ...: g++ 12 warns wrongly on that at -O2
    id += std::to_string(i);
    const std::string text = prefix + " " + std::to_string(i);
    p.PutText(id.data(), id.size());
    p.PutText(text.data(), text.size());
    p.EndRow();
  }
  p.Finish();
  return p;
}

void SendKey(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, mods);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, mods);
  QApplication::sendEvent(w, &release);
}

void Mouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButtons held) {
  QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), Qt::LeftButton, held, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

void Click(QWidget* w, QPoint p) {
  QMouseEvent down(QEvent::MouseButtonPress, QPointF(p), QPointF(w->mapToGlobal(p)), Qt::LeftButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(w, &down);
  QMouseEvent up(QEvent::MouseButtonRelease, QPointF(p), QPointF(w->mapToGlobal(p)), Qt::LeftButton, Qt::NoButton,
                 Qt::NoModifier);
  QApplication::sendEvent(w, &up);
}

// True when both images are equal; otherwise both are saved beside the test for a look.
bool Same(const QImage& shown, const QImage& fresh, const char* what) {
  if (shown == fresh) return true;
  const QString base = QDir::tempPath() + QStringLiteral("/grid_scroll_") + QString::fromLatin1(what);
  shown.save(base + QStringLiteral("_shown.png"));
  fresh.save(base + QStringLiteral("_fresh.png"));
  return false;
}

bool HasInk(const QImage& img, const QRect& area) {
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (qGray(img.pixel(x, y)) < 128) return true;
  return false;
}

class ScrollGrid : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<TForm>(nullptr);
    form_->SetBounds(0, 0, 700, 600);
    ds_ = new TClientDataSet(form_.get());
    source_ = new TDataSource(form_.get());
    source_->SetDataSet(ds_);
    Open(500, "first");
    grid_ = new Tzebdbgrid(form_.get());
    grid_->SetParent(form_.get());
    grid_->SetBounds(0, 0, 600, 300);
    grid_->SetColor(RGBColor(206, 249, 208));
    grid_->SetReadOnly(true);
    grid_->SetZebra(true);
    grid_->SetZebraColor(clWindow);
    grid_->SetZebraFontColor(clWindowText);
    for (const char* c : {"MASTERBILLID", "HLP_NAME"}) grid_->Columns().Add()->SetFieldName(QString::fromLatin1(c));
    grid_->SetDataSource(source_);
    form_->Show();
    form_->Handle()->activateWindow();
    grid_->SetFocus();
    QApplication::processEvents();
  }
  void TearDown() override { form_.reset(); }

  void Open(int rows, const std::string& prefix) {
    ds_->SetData(MakeRows(rows, prefix));
    ds_->Open();
  }

  TGridDataLink* Link() const { return grid_->DataLink(); }

  // Scrolls the window by `distance` rows (either way): the current record goes to the
  // edge row first, then past it.
  void ScrollBy(int distance) {
    const int edge = distance > 0 ? Link()->BufferCount() - 1 : 0;
    ds_->MoveBy(edge - Link()->ActiveRecord());
    const int first = Link()->FirstRecord();
    ds_->MoveBy(distance);
    ASSERT_EQ(Link()->FirstRecord(), first + distance);
  }

  QColor RowBackground(const QImage& img, int dataRow) const {
    const TRect r = grid_->CellRect(grid_->IndicatorOffset(), grid_->TitleOffset() + dataRow);
    return img.pixelColor(r.Right - 2, r.Top + 1);
  }
  QRect Cell(int dataCol, int dataRow) const {
    const TRect r = grid_->CellRect(grid_->IndicatorOffset() + dataCol, grid_->TitleOffset() + dataRow);
    return QRect(r.Left, r.Top, r.Width(), r.Height());
  }

  // Plain rows on even screen rows, stripes on odd ones; the current record's marker in
  // its row of the indicator column and nowhere else; every row with its text.
  void ExpectRows(const QImage& img, bool zebra) {
    const int rows = Link()->RecordCount();
    ASSERT_GT(rows, 4);
    const int active = Link()->ActiveRecord();
    for (int r = 0; r < rows; ++r) {
      SCOPED_TRACE(r);
      const QColor plain = zebra && (r & 1) ? kWhite : kPale;
      // With stripes on the current row keeps its stripe; without, its selected cell is
      // highlighted while the grid has the focus.
      EXPECT_EQ(RowBackground(img, r), !zebra && r == active ? kHighlight : plain);
      const TRect ind = grid_->CellRect(0, grid_->TitleOffset() + r);
      EXPECT_EQ(HasInk(img, QRect(ind.Left + 1, ind.Top + 1, ind.Width() - 2, ind.Height() - 2)), r == active);
      if (zebra || r != active) {
        EXPECT_TRUE(HasInk(img, Cell(1, r).adjusted(1, 1, -1, -1)));
      }
    }
  }

  std::unique_ptr<TForm> form_;
  TClientDataSet* ds_ = nullptr;
  TDataSource* source_ = nullptr;
  Tzebdbgrid* grid_ = nullptr;
};

TEST_F(ScrollGrid, ScrollsRepaintEveryRowAsAFreshPaintWould) {
  ASSERT_TRUE(grid_->Focused());
  // Odd and even distances both ways, repeated so that rows come back to screen rows of
  // either stripe after having been shown in the other.
  for (int distance : {1, 1, 2, 3, 1, -1, -2, -1, -3, 4, 1}) {
    SCOPED_TRACE(distance);
    ScrollBy(distance);
    const QImage shown = OnScreen(grid_);
    ExpectRows(shown, true);
    // The focus frame marks the current record's selected cell.
    const QRect sel = Cell(grid_->SelectedIndex(), Link()->ActiveRecord());
    const QColor dot = QColor(255 - 206, 255 - 249, 255 - 208);
    const QColor dotOnWhite(0, 0, 0);
    const QColor c0 = shown.pixelColor(sel.left(), sel.top()), c1 = shown.pixelColor(sel.left() + 1, sel.top());
    EXPECT_TRUE(c0 == dot || c1 == dot || c0 == dotOnWhite || c1 == dotOnWhite);
    EXPECT_TRUE(Same(shown, FreshPaint(grid_), "zebra"));
  }
  // Without stripes the rows are moved on screen and the rows that change are painted when
  // the window next paints.
  grid_->SetZebra(false);
  for (int distance : {1, 2, -1, -3}) {
    SCOPED_TRACE(distance);
    ScrollBy(distance);
    QApplication::processEvents();
    const QImage shown = OnScreen(grid_);
    ExpectRows(shown, false);
    EXPECT_TRUE(Same(shown, FreshPaint(grid_), "plain"));
  }
  // Moves inside the window repaint the rows that lose and gain the current record.
  ds_->MoveBy(-3);
  QApplication::processEvents();
  ExpectRows(OnScreen(grid_), false);
  grid_->SetZebra(true);
  ds_->MoveBy(2);
  ExpectRows(OnScreen(grid_), true);
  EXPECT_TRUE(OnScreen(grid_) == FreshPaint(grid_));
}

TEST_F(ScrollGrid, RowsOfANewResultNeverComeFromImagesOfTheOldOne) {
  // Show the same records under both stripes, so that images of both looks exist.
  ScrollBy(1);
  ScrollBy(1);
  ScrollBy(1);
  const int recNo = ds_->RecNo();
  const int first = Link()->FirstRecord();
  const QImage before = OnScreen(grid_);
  // The same number of rows with other texts, at the same place.
  Open(500, "second");
  ds_->SetRecNo(recNo);
  QApplication::processEvents();
  ASSERT_EQ(Link()->FirstRecord(), first);
  const QImage after = OnScreen(grid_);
  EXPECT_TRUE(after == FreshPaint(grid_));
  EXPECT_FALSE(after == before);
  // Scrolling back and forth over the new rows shows them fresh as well.
  ScrollBy(-1);
  ScrollBy(2);
  EXPECT_TRUE(OnScreen(grid_) == FreshPaint(grid_));
  EXPECT_EQ(grid_->CellText(first, grid_->Columns()[1]), QStringLiteral("second %1").arg(first));
}

TEST_F(ScrollGrid, GrowingAtTheEndShowsEarlierRecordsInsteadOfEmptyRows) {
  SendKey(grid_->Handle(), Qt::Key_End, Qt::ControlModifier);
  ASSERT_EQ(ds_->RecNo(), 500);
  const int before = Link()->BufferCount();
  ASSERT_EQ(Link()->FirstRecord(), 500 - before);
  // The grid is made taller, as dragging a splitter does.
  grid_->SetBounds(0, 0, 600, 560);
  QApplication::processEvents();
  const int rows = Link()->BufferCount();
  ASSERT_GT(rows, before + 10);
  EXPECT_EQ(Link()->FirstRecord(), 500 - rows);
  EXPECT_EQ(Link()->RecordCount(), rows);
  EXPECT_EQ(Link()->ActiveRecord(), rows - 1);
  EXPECT_EQ(ds_->RecNo(), 500);
  const QImage shown = OnScreen(grid_);
  ExpectRows(shown, true);
  EXPECT_TRUE(shown == FreshPaint(grid_));
  // Up from there moves inside the window; the window moves only at its top.
  SendKey(grid_->Handle(), Qt::Key_Up);
  EXPECT_EQ(Link()->FirstRecord(), 500 - rows);

  // A result shorter than the grown grid is shown whole, from its first record.
  Open(6, "short");
  grid_->SetBounds(0, 0, 600, 60);
  QApplication::processEvents();
  ds_->Last();
  ASSERT_GT(Link()->FirstRecord(), 0);
  grid_->SetBounds(0, 0, 600, 300);
  QApplication::processEvents();
  EXPECT_EQ(Link()->FirstRecord(), 0);
  EXPECT_EQ(Link()->RecordCount(), 6);
  EXPECT_EQ(Link()->ActiveRecord(), 5);
  ExpectRows(OnScreen(grid_), true);
}

TEST_F(ScrollGrid, ScrollBarFollowsTheCurrentRecordAndShowsItsPlace) {
  Open(20000, "many");
  QApplication::processEvents();
  QScrollBar* bar = grid_->Handle()->findChild<QScrollBar*>();
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(bar->isVisible());
  for (int i = 0; i < 30; ++i) {
    ds_->MoveBy(1);
    QApplication::processEvents();
    ASSERT_EQ(bar->value(), ds_->RecNo() - 1);
  }
  // What the window shows, the bar included, is what a complete paint gives.
  EXPECT_TRUE(OnScreen(grid_) == FreshPaint(grid_));
  // A jump to the end moves the handle.
  const QImage barBefore = bar->grab().toImage();
  SendKey(grid_->Handle(), Qt::Key_End, Qt::ControlModifier);
  QApplication::processEvents();
  EXPECT_EQ(bar->value(), 19999);
  EXPECT_TRUE(OnScreen(grid_) == FreshPaint(grid_));
  EXPECT_FALSE(bar->grab().toImage() == barBefore);
}

TEST_F(ScrollGrid, KeysAndClicksOnEmptyAndClosedDataSetsDoNothing) {
  QWidget* w = grid_->Handle();
  for (bool closed : {false, true}) {
    SCOPED_TRACE(closed);
    if (closed)
      ds_->Close();
    else
      Open(0, "none");
    QApplication::processEvents();
    for (int key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Tab, Qt::Key_Backtab})
      SendKey(w, key);
    SendKey(w, Qt::Key_End, Qt::ControlModifier);
    SendKey(w, Qt::Key_Home, Qt::ControlModifier);
    SendKey(w, Qt::Key_End);
    SendKey(w, Qt::Key_Home);
    Click(w, Cell(0, 2).center());
    Click(w, Cell(1, 0).center());
    QApplication::processEvents();
    EXPECT_EQ(ds_->RecNo(), 0);
    EXPECT_EQ(Link()->FirstRecord(), 0);
    const QImage shown = OnScreen(grid_);
    EXPECT_TRUE(Same(shown, FreshPaint(grid_), closed ? "closed" : "empty"));
    // No text in the cells and nothing below the first row; it keeps the plain colour.
    EXPECT_FALSE(HasInk(shown, Cell(0, 0).adjusted(2, 2, -2, -2)));
    EXPECT_FALSE(HasInk(shown, Cell(1, 0).adjusted(2, 2, -2, -2)));
    const int below = Cell(0, 1).top();
    EXPECT_FALSE(HasInk(shown, QRect(0, below, shown.width() - 30, shown.height() - below)));
    EXPECT_EQ(RowBackground(shown, 0), kPale);
  }
  // Rows again: the keys work from the first record.
  Open(50, "back");
  QApplication::processEvents();
  SendKey(w, Qt::Key_Down);
  SendKey(w, Qt::Key_Down);
  EXPECT_EQ(ds_->RecNo(), 3);
  SendKey(w, Qt::Key_Up);
  SendKey(w, Qt::Key_Up);
  SendKey(w, Qt::Key_Up);
  EXPECT_EQ(ds_->RecNo(), 1);
  SendKey(w, Qt::Key_End, Qt::ControlModifier);
  SendKey(w, Qt::Key_Down);
  EXPECT_EQ(ds_->RecNo(), 50);
  EXPECT_EQ(Link()->FirstRecord(), 50 - Link()->BufferCount());
}

TEST_F(ScrollGrid, SizingAColumnWithTheMouseRepaintsTheRowsAtTheNewWidth) {
  QWidget* w = grid_->Handle();
  ScrollBy(3);  // row images exist for what is shown
  auto drag = [&](int fromX, int toX) {
    Mouse(w, QEvent::MouseButtonPress, QPoint(fromX, 5), Qt::LeftButton);
    Mouse(w, QEvent::MouseMove, QPoint(toX, 5), Qt::LeftButton);
    Mouse(w, QEvent::MouseButtonRelease, QPoint(toX, 5), Qt::NoButton);
    QApplication::processEvents();
  };
  const int w0 = grid_->Columns()[0]->Width();
  const int w1 = grid_->Columns()[1]->Width();
  int edge = grid_->CellRect(grid_->IndicatorOffset(), 0).Right;
  drag(edge, edge + 25);
  EXPECT_EQ(grid_->Columns()[0]->Width(), w0 + 25);
  EXPECT_EQ(grid_->Columns()[1]->Width(), w1);
  EXPECT_TRUE(Same(OnScreen(grid_), FreshPaint(grid_), "wider"));
  ExpectRows(OnScreen(grid_), true);
  // Dragged left past its own left edge the column keeps one pixel.
  edge = grid_->CellRect(grid_->IndicatorOffset(), 0).Right;
  drag(edge, 2);
  EXPECT_EQ(grid_->Columns()[0]->Width(), 1);
  EXPECT_TRUE(Same(OnScreen(grid_), FreshPaint(grid_), "narrow"));
  // The second column's edge is found where it now stands.
  edge = grid_->CellRect(grid_->IndicatorOffset() + 1, 0).Right;
  drag(edge, edge - 40);
  EXPECT_EQ(grid_->Columns()[1]->Width(), w1 - 40);
  EXPECT_TRUE(Same(OnScreen(grid_), FreshPaint(grid_), "second"));
  // Scrolling afterwards shows the rows at the new widths.
  ScrollBy(1);
  EXPECT_TRUE(Same(OnScreen(grid_), FreshPaint(grid_), "scrolled"));
}

}  // namespace
