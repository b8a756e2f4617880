// Sections: window glue | properties | layout | data link callbacks | painting | input.
#include "grid/DBGrid.h"

#include <QPaintEngine>
#include <QPainter>
#include <QScrollBar>
#include <QWidget>
#include <algorithm>

#include "grid/GridAccessible.h"
#include "grid/GridDataLink.h"
#include "platform/Colors.h"
#include "platform/Forms.h"
#include "platform/Menus.h"
#include "platform/WidgetBridge.h"

// --- window glue ---------------------------------------------------------------------------

TCustomDBGrid::TCustomDBGrid(TComponent* owner) : TCustomControl(owner), fixedColor_(clBtnFace) {
  color_ = clWindow;
  tabStop_ = true;
  link_ = std::make_unique<TGridDataLink>(this);
  LayoutChanged();
}

TCustomDBGrid::~TCustomDBGrid() {
  // The link goes first so that no data event reaches a half-destroyed grid.
  link_.reset();
  DestroyHandle();
}

void TCustomDBGrid::InitWidget(QWidget* w) {
  TCustomControl::InitWidget(w);
  vscroll_ = new QScrollBar(Qt::Vertical, w);
  vscroll_->setFocusPolicy(Qt::NoFocus);
  vscroll_->setCursor(Qt::ArrowCursor);
  vscroll_->hide();
  QObject::connect(vscroll_, &QScrollBar::actionTriggered, vscroll_, [this](int action) {
    ScrollBarAction(action, vscroll_->sliderPosition());
  });
  RegisterGridAccessible(this, w);
  UpdateScrollBar();
}

void TCustomDBGrid::DestroyHandle() {
  if (HandleAllocated()) UnregisterGridAccessible(Handle());
  vscroll_ = nullptr;  // goes with the widget
  TCustomControl::DestroyHandle();
}

TRect TCustomDBGrid::ClientRect() const {
  const int bar = vscroll_ && !vscroll_->isHidden() ? vscroll_->width() : 0;
  return TRect(0, 0, std::max(0, width_ - bar), height_);
}

bool TCustomDBGrid::IsActiveControl() const {
  for (TWinControl* p = parent_; p; p = p->Parent())
    if (auto* form = dynamic_cast<TCustomForm*>(p)) return form->ActiveControl() == this;
  return Focused();
}

void TCustomDBGrid::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      // Every pixel is painted by Paint; erasing first would only cost time.
      m.Result = 1;
      return;
    case WM_MOUSEWHEEL: {
      wheelRest_ += static_cast<int16_t>(HiWord(m.WParam));
      const int notches = wheelRest_ / 120;
      wheelRest_ -= notches * 120;
      if (notches) MouseWheel(notches);
      return;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRow(link_ ? link_->ActiveRecord() : 0);
      break;
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
      LookChanged();
      Invalidate();
      break;
    case CM_FONTCHANGED:
    case CM_PARENTFONTCHANGED:
      TCustomControl::WndProc(m);
      LayoutChanged();
      return;
    default:
      break;
  }
  TCustomControl::WndProc(m);
}

void TCustomDBGrid::Paint() {
  TCanvas& c = Canvas();
  QPainter* p = c.Painter();
  if (!p) return;
  // Only the part Qt asks for is painted.
  TRect clip(0, 0, ClientWidth(), ClientHeight());
  if (QPaintEngine* engine = p->paintEngine()) {
    const QRect sys = engine->systemClip().boundingRect();
    if (!sys.isEmpty()) {
      const QPoint o = p->deviceTransform().map(QPoint(0, 0));
      clip = TRect(sys.left() - o.x(), sys.top() - o.y(), sys.left() - o.x() + sys.width(), sys.top() - o.y() + sys.height());
    }
  }
  PaintCells(c, clip);
}

// --- properties ----------------------------------------------------------------------------

TDataSource* TCustomDBGrid::DataSource() const { return link_->DataSource(); }
void TCustomDBGrid::SetDataSource(TDataSource* ds) { link_->SetDataSource(ds); }
TDataSet* TCustomDBGrid::DataSet() const { return link_->DataSet(); }

void TCustomDBGrid::SetOptions(TDBGridOptions o) {
  if (o & dgRowSelect) o &= ~(dgEditing | dgAlwaysShowEditor);
  if (o == options_) return;
  options_ = o;
  LayoutChanged();
}

void TCustomDBGrid::SetFixedColor(TColor c) {
  fixedColor_ = c;
  LookChanged();
  Invalidate();
}

void TCustomDBGrid::SetTitleFont(const TFont& f) {
  titleFont_ = f;
  LayoutChanged();
}

void TCustomDBGrid::SetPopupMenu(TPopupMenu* menu) {
  if (menu == popupMenu_) return;
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = menu;
  if (menu) menu->FreeNotification(this);
}

void TCustomDBGrid::Notification(TComponent* c, TOperation op) {
  TCustomControl::Notification(c, op);
  if (op == TOperation::opRemove && c == popupMenu_) popupMenu_ = nullptr;
}

bool TCustomDBGrid::ShowPopupMenu(const TPoint& screen) {
  if (!popupMenu_) return false;
  popupMenu_->Popup(screen.X, screen.Y);
  return true;
}

TColumn* TCustomDBGrid::SelectedColumn() const {
  return selectedIndex_ >= 0 && selectedIndex_ < columns_.Count() ? columns_.Items(selectedIndex_) : nullptr;
}

void TCustomDBGrid::SetSelectedIndex(int dataCol) { MoveCol(dataCol); }

void TCustomDBGrid::SetLeftCol(int dataCol) {
  const int old = geom_.LeftCol;
  geom_.LeftCol = std::clamp(dataCol, 0, std::max(0, columns_.Count() - 1));
  if (old != geom_.LeftCol) {
    LookChanged();
    Invalidate();
  }
}

void TCustomDBGrid::EndUpdate() {
  if (updateLock_ > 0 && --updateLock_ == 0) Invalidate();
}

QString TCustomDBGrid::CellText(int record, const TColumn* column) const {
  if (!column || !link_->Active()) return QString();
  TField* f = column->Field();
  return f ? link_->DisplayText(record, f) : QString();
}

int TCustomDBGrid::DataRowCount() const { return link_->RecordCount(); }

// --- range of rows -------------------------------------------------------------------------

bool TCustomDBGrid::HasRowRange() const {
  return link_->Active() && rangeAnchor_ >= 0 && rangeAnchor_ < link_->DataSetRecordCount() &&
         rangeAnchor_ != link_->CurrentRecord();
}

bool TCustomDBGrid::SelectedRows(int& first, int& last) const {
  if (!link_->Active() || link_->DataSetRecordCount() == 0) return false;
  const int current = link_->CurrentRecord();
  first = last = current;
  if (HasRowRange()) {
    first = std::min(rangeAnchor_, current);
    last = std::max(rangeAnchor_, current);
  }
  return true;
}

void TCustomDBGrid::SetRowRangeAnchor(int anchor) {
  int oldFirst = 0, oldLast = 0;
  const bool had = HasRowRange() && SelectedRows(oldFirst, oldLast);
  rangeAnchor_ = anchor < 0 ? -1 : anchor;
  RowRangeMoved(oldFirst, oldLast, had);
}

bool TCustomDBGrid::RowInRange(int dataRow) const {
  if (rangeAnchor_ < 0 || !HasRowRange()) return false;
  const int record = link_->FirstRecord() + dataRow;
  const int current = link_->CurrentRecord();
  return record >= std::min(rangeAnchor_, current) && record <= std::max(rangeAnchor_, current);
}

void TCustomDBGrid::PrepareRowMove(TShiftState shift) {
  if (!(shift & ssShift)) rangeAnchor_ = -1;
  else if (rangeAnchor_ < 0 && link_->Active()) rangeAnchor_ = link_->CurrentRecord();
}

void TCustomDBGrid::RowRangeMoved(int oldFirst, int oldLast, bool hadRange) {
  int first = 0, last = 0;
  const bool has = HasRowRange() && SelectedRows(first, last);
  if (has != hadRange || (has && (first != oldFirst || last != oldLast))) InvalidateRect(RowsArea());
}

// --- layout --------------------------------------------------------------------------------

void TCustomDBGrid::RebuildColumnsIfDefault() {
  if (columns_.State() != TDBGridColumnsState::csDefault) return;
  // Default columns follow the data set's fields; they vanish when it closes.
  std::vector<QString> names = link_->Active() ? link_->VisibleFieldNames() : std::vector<QString>();
  bool same = static_cast<int>(names.size()) == columns_.Count();
  for (int i = 0; same && i < columns_.Count(); ++i) same = columns_.Items(i)->FieldName() == names[static_cast<size_t>(i)];
  if (!same) columns_.RebuildDefault(names);
}

void TCustomDBGrid::LayoutChanged() {
  if (IsLoading() || IsDestroying()) return;
  if (layoutBusy_) return;
  layoutBusy_ = true;
  RebuildColumnsIfDefault();
  titleCellFont_ = std::make_unique<TCellFont>(titleFont_);
  fonts_.clear();
  geom_.Indicator = options_ & dgIndicator;
  geom_.Titles = options_ & dgTitles;
  geom_.ColLineWidth = (options_ & dgColLines) ? 1 : 0;
  geom_.RowLineWidth = (options_ & dgRowLines) ? 1 : 0;
  const TCellFont gridFont(font_);
  int rowHeight = DataRowHeight(gridFont);
  int titleHeight = TitleRowHeight(*titleCellFont_);
  geom_.ColWidths.clear();
  for (int i = 0; i < columns_.Count(); ++i) {
    TColumn* c = columns_.Items(i);
    fonts_.push_back(std::make_unique<TCellFont>(c->Font()));
    rowHeight = std::max(rowHeight, DataRowHeight(*fonts_.back()));
    titleHeight = std::max(titleHeight, TitleRowHeight(TCellFont(c->Title().Font())));
    geom_.ColWidths.push_back(c->Visible() ? c->Width() : 0);
  }
  geom_.RowHeight = rowHeight;
  geom_.TitleHeight = titleHeight;
  textCache_.Clear();
  LookChanged();
  if (selectedIndex_ >= columns_.Count()) selectedIndex_ = std::max(0, columns_.Count() - 1);
  layoutBusy_ = false;
  Resize();
  Invalidate();
  NotifyGridAccessibleReset(this, HandleAllocated() ? Handle() : nullptr);
}

void TCustomDBGrid::Loaded() {
  TCustomControl::Loaded();
  LayoutChanged();
  link_->DataSetStateChanged();
}

void TCustomDBGrid::Resize() {
  TCustomControl::Resize();
  LookChanged();
  geom_.Height = ClientHeight();
  UpdateBufferCount();
  UpdateScrollBar();
  geom_.Width = ClientWidth();
  ClampLeftCol();
}

void TCustomDBGrid::UpdateBufferCount() {
  link_->SetBufferCount(geom_.FullyVisibleRows());
}

void TCustomDBGrid::ClampLeftCol() {
  const int maxLeft = geom_.MaxLeftCol();
  if (geom_.LeftCol > maxLeft) geom_.LeftCol = maxLeft;
  if (geom_.LeftCol < 0) geom_.LeftCol = 0;
}

void TCustomDBGrid::UpdateScrollBar() {
  if (!vscroll_) return;
  const int count = link_->Active() ? link_->DataSetRecordCount() : 0;
  const QSignalBlocker block(vscroll_);
  const int page = std::max(1, geom_.FullyVisibleRows());
  vscroll_->setRange(0, std::max(0, count - 1));
  vscroll_->setPageStep(page);
  vscroll_->setSingleStep(1);
  vscroll_->setValue(link_->Active() ? link_->CurrentRecord() : 0);
  const int w = vscroll_->sizeHint().width();
  const QRect g(width_ - w, 0, w, height_);
  if (vscroll_->geometry() != g) vscroll_->setGeometry(g);
  const bool show = link_->Active() && count > page;
  if (vscroll_->isHidden() == show) {
    vscroll_->setVisible(show);
    // The client area changed width.
    geom_.Width = ClientWidth();
    ClampLeftCol();
    LookChanged();
    Invalidate();
  }
}

void TCustomDBGrid::UpdateScrollBarPosition() {
  if (!vscroll_) return;
  const QSignalBlocker block(vscroll_);
  vscroll_->setValue(link_->Active() ? link_->CurrentRecord() : 0);
}

// --- data link callbacks -------------------------------------------------------------------

void TCustomDBGrid::LinkActive(bool active) {
  rangeAnchor_ = -1;
  textCache_.Clear();
  LookChanged();
  LayoutChanged();
  UpdateScrollBar();
  Invalidate();
  NotifyGridAccessibleReset(this, HandleAllocated() ? Handle() : nullptr);
}

void TCustomDBGrid::DataChanged() {
  // First and Last keep the range; a result without the anchor record ends it.
  if (rangeAnchor_ >= link_->DataSetRecordCount()) rangeAnchor_ = -1;
  textCache_.Clear();
  LookChanged();
  RebuildColumnsIfDefault();
  UpdateScrollBar();
  Invalidate();
  NotifyGridAccessibleReset(this, HandleAllocated() ? Handle() : nullptr);
}

void TCustomDBGrid::Scroll(int distance) { ScrollData(distance, true); }

void TCustomDBGrid::ScrollData(int distance, bool moveBits) {
  UpdateScrollBarPosition();
  NotifyGridAccessibleFocus(this, HandleAllocated() ? Handle() : nullptr);
  if (distance == 0 || !moveBits || !Showing()) {
    InvalidateRect(RowsArea());
    return;
  }
  const int top = geom_.DataTop();
  const int pitch = geom_.RowPitch();
  const int rows = link_->RecordCount();  // rows that hold a record
  if (std::abs(distance) >= rows) {
    InvalidateRect(RowsArea());
    return;
  }
  // Move the rows that stay on screen; repaint the rows that come in, both marker rows and
  // whatever lies below the last record (the partly visible row stays empty).
  const int right = CellsRight();
  Handle()->scroll(0, -distance * pitch, QRect(0, top, right, rows * pitch));
  InvalidateIndicator();
  InvalidateRow(link_->ActiveRecord());
  InvalidateRow(link_->PreviousActiveRecord() - distance);
  InvalidateRect(TRect(0, top + rows * pitch, right, ClientHeight()));
}

void TCustomDBGrid::RecordChanged(TField*) {
  LookChanged();
  InvalidateRow(link_->ActiveRecord());
}

void TCustomDBGrid::InvalidateRect(const TRect& r) {
  if (HandleAllocated() && r.Width() > 0 && r.Height() > 0) Handle()->update(ToQRect(r));
}

void TCustomDBGrid::RepaintRect(const TRect& r) {
  if (HandleAllocated() && r.Width() > 0 && r.Height() > 0) Handle()->repaint(ToQRect(r));
}

void TCustomDBGrid::InvalidateRow(int dataRow) {
  if (dataRow < 0) return;
  const int top = geom_.DataTop() + dataRow * geom_.RowPitch();
  InvalidateRect(TRect(0, top, ClientWidth(), top + geom_.RowPitch()));
}

int TCustomDBGrid::CellsRight() const {
  const int width = ClientWidth();
  int right = geom_.FixedWidth();
  for (int c = geom_.LeftCol; c < static_cast<int>(geom_.ColWidths.size()) && right < width; ++c)
    right += geom_.ColWidths[static_cast<size_t>(c)] + geom_.ColLineWidth;
  return std::min(right, width);
}

TRect TCustomDBGrid::RowsArea() const { return TRect(0, geom_.DataTop(), CellsRight(), ClientHeight()); }

void TCustomDBGrid::InvalidateIndicator() {
  if (geom_.Indicator) InvalidateRect(TRect(0, geom_.DataTop(), geom_.FixedWidth(), ClientHeight()));
}

// --- painting ------------------------------------------------------------------------------

TCellFont& TCustomDBGrid::CellFontFor(int dataCol) {
  if (dataCol < 0 || dataCol >= static_cast<int>(fonts_.size())) {
    static thread_local std::unique_ptr<TCellFont> fallback;
    fallback = std::make_unique<TCellFont>(font_);
    return *fallback;
  }
  return *fonts_[static_cast<size_t>(dataCol)];
}

void TCustomDBGrid::PaintCells(TCanvas& canvas, const TRect& clip) {
  QPainter* p = canvas.Painter();
  if (!p) return;
  struct Restore {
    TCanvas*& slot;
    TCanvas* saved;
    ~Restore() { slot = saved; }
  } restore{paintCanvas_, paintCanvas_};
  paintCanvas_ = &canvas;

  const int width = ClientWidth();
  const int height = ClientHeight();
  // Room for a few screens of cells, so that scrolling back and forth finds them laid out.
  const int partRows = geom_.PartlyVisibleRows();
  textCache_.SetCapacity(static_cast<size_t>(4 * partRows * std::max(1, columns_.Count())));
  rowCache_.SetCapacity(static_cast<size_t>(2 * partRows));
  const QColor lineColor = ToQColor(clSilver);
  const QColor fixedLineColor = ToQColor(clWindowFrame);
  const QColor back = ToQColor(color_);
  const int shownRows = std::min(DataRowCount(), partRows);
  const int active = link_->Active() ? link_->ActiveRecord() : -1;
  const bool focused = Focused();
  const int fixedCols = geom_.FixedCols();
  const int colCount = geom_.ColCount();
  const int rightEdge = CellsRight();
  // Right of the columns each row takes the grid's colour, where the clip reaches.
  const bool fillRight = rightEdge < width && clip.Right > rightEdge;

  // One row of cells with their lines, on `painter` (which `cellCanvas` draws through).
  // With `plain` the current record's row is painted as any other row (no selection, no
  // marker), for an image that serves it in either role.
  auto paintRow = [&](QPainter* painter, int gridRow, int top, int cellHeight, const TRect& area, bool plain) {
    const int rowActive = plain ? -1 : active;
    struct PlainScope {
      bool& slot;
      bool saved;
      ~PlainScope() { slot = saved; }
    } plainScope{plainRow_, plainRow_};
    plainRow_ = plain;
    const bool fixedRow = gridRow < geom_.FixedRows();
    for (int gc = 0; gc < colCount; ++gc) {
      int left, cellWidth;
      if (gc < fixedCols) {
        left = 0;
        cellWidth = kIndicatorWidth;
      } else {
        const int dc = gc - fixedCols;
        if (dc < geom_.LeftCol) continue;
        left = geom_.DataColLeft(dc);
        cellWidth = geom_.ColWidths[static_cast<size_t>(dc)];
      }
      if (left >= width) break;
      const int lineW = geom_.ColLineWidth;
      if (left >= area.Right || left + cellWidth + lineW <= area.Left) continue;
      const TRect rect(left, top, left + cellWidth, top + cellHeight);
      TGridDrawState state = 0;
      const bool fixed = fixedRow || gc < fixedCols;
      if (fixed) {
        state |= gdFixed;
      } else {
        const int dr = gridRow - geom_.FixedRows();
        const bool selected = dr == rowActive && ((options_ & dgRowSelect) || gc - fixedCols == selectedIndex_);
        if (selected) state |= gdSelected;
        if (selected && focused) state |= gdFocused;
      }
      DrawCell(gc, gridRow, rect, state);
      // Lines right of and below the cell.
      const QColor& lc = fixed ? fixedLineColor : lineColor;
      if (lineW) painter->fillRect(rect.Right, top, lineW, cellHeight + geom_.RowLineWidth, lc);
      if (geom_.RowLineWidth) painter->fillRect(left, rect.Bottom, cellWidth, geom_.RowLineWidth, lc);
    }
    // Right of the last column the row takes the grid's colour.
    if (fillRight) painter->fillRect(QRect(rightEdge, top, width - rightEdge, cellHeight + geom_.RowLineWidth), back);
  };

  const bool cacheRows = RowCacheUsable();
  // A row drawn once into an image and copied on later paints.
  auto paintCachedRow = [&](const TRowImageCache::Key& key, int gridRow, int top, int cellHeight, bool plain) {
    const int h = cellHeight + geom_.RowLineWidth;
    const QImage* img = rowCache_.Find(key);
    if (!img) {
      // Only the columns: the rest of the row is plain colour, filled below.
      QImage row(std::max(1, rightEdge), h, QImage::Format_RGB32);
      {
        QPainter rp(&row);
        rp.translate(0, -top);
        TCanvas rowCanvas;
        rowCanvas.Attach(&rp);
        paintCanvas_ = &rowCanvas;
        paintRow(&rp, gridRow, top, cellHeight, TRect(0, top, width, top + h), plain);
        paintCanvas_ = &canvas;
        rowCanvas.Detach();
      }
      img = rowCache_.Insert(key, std::move(row));
    }
    p = canvas.Painter();
    p->drawImage(0, top, *img);
    if (fillRight) p->fillRect(QRect(rightEdge, top, width - rightEdge, h), back);
  };

  if (geom_.Titles && clip.Top < geom_.DataTop()) {
    if (cacheRows) paintCachedRow(TRowImageCache::Key{-1, 0}, 0, 0, geom_.TitleHeight, false);
    else paintRow(p, 0, 0, geom_.TitleHeight, clip, false);
  }
  const int top0 = geom_.DataTop();
  const int pitch = geom_.RowPitch();
  // Only the rows that meet the clip rectangle are visited.
  const int firstRow = pitch > 0 ? std::max(0, (clip.Top - top0) / pitch) : 0;
  const int lastRow = pitch > 0 ? std::min(shownRows - 1, (clip.Bottom - top0) / pitch) : shownRows - 1;
  const int firstRecord = link_->FirstRecord();
  const int records = link_->RecordCount();
  // The current record's row is its plain image with the cells that show it as current
  // (the indicator and the selected cell) painted again on top, each within its own
  // rectangle; a whole selected row is painted in full.
  const bool overlayActive = cacheRows && !(options_ & dgRowSelect);
  auto paintActiveCells = [&](int gridRow, int top) {
    p = canvas.Painter();
    auto cell = [&](int gc, const TRect& rect, TGridDrawState state) {
      if (rect.Left >= width || rect.Width() <= 0) return;
      p->save();
      p->setClipRect(ToQRect(rect), Qt::IntersectClip);
      DrawCell(gc, gridRow, rect, state);
      p->restore();
    };
    if (fixedCols) cell(0, TRect(0, top, kIndicatorWidth, top + geom_.RowHeight), gdFixed);
    if (selectedIndex_ >= geom_.LeftCol && selectedIndex_ < static_cast<int>(geom_.ColWidths.size())) {
      const int left = geom_.DataColLeft(selectedIndex_);
      const TRect rect(left, top, left + geom_.ColWidths[static_cast<size_t>(selectedIndex_)], top + geom_.RowHeight);
      const TGridDrawState state = focused ? TGridDrawState(gdSelected | gdFocused) : TGridDrawState(gdSelected);
      cell(fixedCols + selectedIndex_, rect, state);
    }
  };
  for (int r = firstRow; r <= lastRow; ++r) {
    const int top = top0 + r * pitch;
    // Rows look the same every time they stand at a screen row of the same look class.
    if (cacheRows && r < records && (r != active || overlayActive)) {
      const int look = RowLookClass(r) | (RowInRange(r) ? 0x80 : 0);
      paintCachedRow(TRowImageCache::Key{firstRecord + r, look}, geom_.FixedRows() + r, top,
                     geom_.RowHeight, true);
      if (r == active) paintActiveCells(geom_.FixedRows() + r, top);
      continue;
    }
    p = canvas.Painter();
    paintRow(p, geom_.FixedRows() + r, top, geom_.RowHeight, clip, false);
  }

  // Below the rows the grid's colour.
  p = canvas.Painter();
  const int bottom = top0 + shownRows * pitch;
  if (bottom < height) p->fillRect(QRect(0, bottom, width, height - bottom), back);
}

bool TCustomDBGrid::RowCacheUsable() const {
  return link_->Active() && defaultDrawing_ && !OnDrawColumnCell && !OnDrawDataCell && !(options_ & dgMultiSelect) &&
         !IsLoading() && !IsDesigning() && updateLock_ == 0;
}

void TCustomDBGrid::LookChanged() { rowCache_.Clear(); }

void TCustomDBGrid::DrawFixedCell(int gridCol, int gridRow, const TRect& rect) {
  TCanvas& c = CellCanvas();
  if (gridRow < geom_.FixedRows()) {
    const int dc = gridCol - geom_.FixedCols();
    if (dc < 0 || dc >= columns_.Count()) {
      PaintFixedCell(c, rect, fixedColor_);
      return;
    }
    TColumn* col = columns_.Items(dc);
    const QString caption = col->Title().Caption();
    const QStaticText* prepared = caption.isEmpty() ? nullptr : &textCache_.Get(-1, dc, caption, titleCellFont_->Qt);
    WriteCellText(c, rect, caption, col->Title().Alignment(), *titleCellFont_, col->Title().Color(),
                  titleCellFont_->Color, prepared, true);
    TRect edge = rect;
    c.Frame3D(edge, clBtnHighlight, clBtnShadow, 1);
    return;
  }
  PaintFixedCell(c, rect, fixedColor_);
  const int dr = gridRow - geom_.FixedRows();
  if (link_->Active() && dr == link_->ActiveRecord() && !plainRow_) PaintCurrentRecordMarker(c, rect, clWindowText);
}

bool TCustomDBGrid::HighlightCell(int dataCol, int dataRow, TGridDrawState state) const {
  if (options_ & dgMultiSelect) return link_->Active() && link_->IsRecordSelected(link_->FirstRecord() + dataRow);
  return (state & gdSelected) && ((options_ & dgAlwaysShowSelection) || Focused()) &&
         (updateLock_ == 0 || (options_ & dgRowSelect));
}

void TCustomDBGrid::DefaultDrawColumnCell(const TRect& rect, int dataCol, TColumn* column, TGridDrawState state,
                                          TColor brush, TColor text) {
  QString s;
  const int record = link_->FirstRecord() + link_->ActiveRecord();
  if (link_->Active() && column) s = CellText(record, column);
  const TCellFont& font = CellFontFor(dataCol);
  const QStaticText* prepared = s.isEmpty() ? nullptr : &textCache_.Get(record, dataCol, s, font.Qt);
  WriteCellText(CellCanvas(), rect, s, column ? column->Alignment() : taLeftJustify, font, brush, text, prepared, true);
}

void TCustomDBGrid::DrawCell(int gridCol, int gridRow, const TRect& rect, TGridDrawState state) {
  if (IsLoading()) {
    CellCanvas().Brush.Color = color_;
    CellCanvas().FillRect(rect);
    return;
  }
  if (gridCol < geom_.FixedCols() || gridRow < geom_.FixedRows()) {
    DrawFixedCell(gridCol, gridRow, rect);
    return;
  }
  const int dr = gridRow - geom_.FixedRows();
  const int dc = gridCol - geom_.FixedCols();
  TColumn* column = dc < columns_.Count() ? columns_.Items(dc) : nullptr;
  TColor brush = column ? column->Color() : color_;
  TColor text = CellFontFor(dc).Color;
  if (!link_->Active()) {
    CellCanvas().Brush.Color = brush;
    CellCanvas().FillRect(rect);
    return;
  }
  TGridActiveRecordGuard guard(*link_, dr);
  if (HighlightCell(dc, dr, state) || RowInRange(dr)) {
    brush = clHighlight;
    text = clHighlightText;
  }
  if (!Enabled()) text = clGrayText;
  if (defaultDrawing_) DefaultDrawColumnCell(rect, dc, column, state, brush, text);
  if (columns_.State() == TDBGridColumnsState::csDefault && OnDrawDataCell)
    OnDrawDataCell(this, rect, column ? column->Field() : nullptr, state);
  if (OnDrawColumnCell) OnDrawColumnCell(this, rect, dc, column, state);
  if (defaultDrawing_ && (state & gdSelected) && ((options_ & dgAlwaysShowSelection) || Focused()) &&
      !IsDesigning() && !(options_ & dgRowSelect) && updateLock_ == 0 && IsActiveControl())
    PaintFocusRect(CellCanvas(), rect, brush);
}

// --- input ---------------------------------------------------------------------------------

void TCustomDBGrid::MoveCol(int dataCol) {
  if (columns_.Count() == 0) return;
  dataCol = std::clamp(dataCol, 0, columns_.Count() - 1);
  if (dataCol != selectedIndex_) {
    if (OnColExit) OnColExit(this);
    InvalidateRow(link_->ActiveRecord());
    selectedIndex_ = dataCol;
    if (OnColEnter) OnColEnter(this);
  }
  // Keep the selected column in view.
  if (selectedIndex_ < geom_.LeftCol) {
    SetLeftCol(selectedIndex_);
  } else {
    while (geom_.LeftCol < selectedIndex_ &&
           geom_.DataColLeft(selectedIndex_) + geom_.ColWidths[static_cast<size_t>(selectedIndex_)] > geom_.Width)
      SetLeftCol(geom_.LeftCol + 1);
  }
  InvalidateRow(link_->ActiveRecord());
}

void TCustomDBGrid::ScrollBarAction(int action, int value) {
  if (!link_->Active()) return;
  if (action != QAbstractSlider::SliderNoAction) SetRowRangeAnchor(-1);
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: link_->MoveBy(1); break;
    case QAbstractSlider::SliderSingleStepSub: link_->MoveBy(-1); break;
    case QAbstractSlider::SliderPageStepAdd: link_->MoveBy(VisibleRowCount()); break;
    case QAbstractSlider::SliderPageStepSub: link_->MoveBy(-VisibleRowCount()); break;
    case QAbstractSlider::SliderToMinimum: link_->First(); break;
    case QAbstractSlider::SliderToMaximum: link_->Last(); break;
    case QAbstractSlider::SliderMove: link_->MoveBy(value - link_->CurrentRecord()); break;
    default: break;
  }
  // The scroll bar shows the current record, not the position the slider asked for.
  const QSignalBlocker block(vscroll_);
  vscroll_->setSliderPosition(link_->CurrentRecord());
}

void TCustomDBGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (CanFocus() && !Focused()) SetFocus();
  TCustomControl::MouseDown(button, shift, x, y);
  if (button == TMouseButton::mbRight) {
    // The menu acts on the clicked cell; a click inside the range of rows keeps the range.
    int gc = 0, gr = 0;
    if (!geom_.CellAt(x, y, gc, gr) || gr < geom_.FixedRows() || gc < geom_.FixedCols()) return;
    const int dr = gr - geom_.FixedRows();
    if (!link_->Active() || dr >= link_->RecordCount()) return;
    int first = 0, last = 0;
    const bool inRange = HasRowRange() && SelectedRows(first, last) && link_->FirstRecord() + dr >= first &&
                         link_->FirstRecord() + dr <= last;
    if (!inRange) {
      SetRowRangeAnchor(-1);
      link_->MoveBy(dr - link_->ActiveRecord());
    }
    MoveCol(gc - geom_.FixedCols());
    return;
  }
  if (button != TMouseButton::mbLeft) return;
  int gc = 0, gr = 0;
  mouseDownX_ = x;
  if (!geom_.CellAt(x, y, gc, gr)) {
    // Right of the last column in the title row a sizing edge may still be near.
    if (!(geom_.Titles && y < geom_.DataTop())) return;
    gc = -1;
    gr = 0;
  }
  const int fixedCols = geom_.FixedCols();
  if (gr < geom_.FixedRows()) {
    const int sizing = (options_ & dgColumnResize) ? geom_.SizingColumnAt(x) : -1;
    if (sizing >= 0) {
      gridState_ = TGridState::gsColSizing;
      sizingCol_ = sizing;
      sizingStartX_ = x;
      sizingStartW_ = geom_.ColWidths[static_cast<size_t>(sizing)];
      return;
    }
    if (gc >= fixedCols) {
      movingFrom_ = movingTo_ = gc - fixedCols;
      gridState_ = TGridState::gsNormal;
    }
    return;
  }
  if (gc < 0) return;
  const int dr = gr - geom_.FixedRows();
  if (link_->Active() && dr < link_->RecordCount()) {
    int oldFirst = 0, oldLast = 0;
    const bool had = HasRowRange() && SelectedRows(oldFirst, oldLast);
    PrepareRowMove(shift);
    link_->MoveBy(dr - link_->ActiveRecord());
    RowRangeMoved(oldFirst, oldLast, had);
  }
  if (gc >= fixedCols) MoveCol(gc - fixedCols);
}

void TCustomDBGrid::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (gridState_ == TGridState::gsColSizing) {
    const int w = std::max(1, sizingStartW_ + x - sizingStartX_);
    if (w != geom_.ColWidths[static_cast<size_t>(sizingCol_)]) columns_.Items(sizingCol_)->SetWidth(w);
    return;
  }
  if (movingFrom_ >= 0 && (shift & ssLeft)) {
    if (gridState_ != TGridState::gsColMoving && std::abs(x - mouseDownX_) >= 4) gridState_ = TGridState::gsColMoving;
    if (gridState_ == TGridState::gsColMoving) {
      int gc = 0, gr = 0;
      const int cx = std::clamp(x, geom_.FixedWidth(), std::max(geom_.FixedWidth(), geom_.Width - 1));
      if (geom_.CellAt(cx, std::min(y, geom_.DataTop()), gc, gr) && gc >= geom_.FixedCols())
        movingTo_ = gc - geom_.FixedCols();
      else if (cx >= geom_.FixedWidth())
        movingTo_ = columns_.Count() - 1;
      ApplyWidgetCursor(crDrag);
    }
    return;
  }
  // The sizing cursor over a title edge.
  const bool overEdge = (options_ & dgColumnResize) && geom_.Titles && y < geom_.DataTop() &&
                        geom_.SizingColumnAt(x) >= 0;
  ApplyWidgetCursor(overEdge ? crHSplit : cursor_);
}

void TCustomDBGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (button == TMouseButton::mbRight) {
    ShowPopupMenu(ClientToScreen(TPoint(x, y)));
    return;
  }
  if (button != TMouseButton::mbLeft) return;
  const TGridState st = gridState_;
  gridState_ = TGridState::gsNormal;
  ApplyWidgetCursor(cursor_);
  if (st == TGridState::gsColSizing) {
    sizingCol_ = -1;
    return;
  }
  const int from = movingFrom_, to = movingTo_;
  movingFrom_ = movingTo_ = -1;
  if (st == TGridState::gsColMoving) {
    if (from >= 0 && to >= 0 && from != to) {
      const bool selectedMoves = selectedIndex_ == from;
      columns_.Move(from, to);
      if (selectedMoves) selectedIndex_ = to;
      if (OnColumnMoved) OnColumnMoved(this, from, to);
    }
    return;
  }
  int gc = 0, gr = 0;
  if (!geom_.CellAt(x, y, gc, gr) || gc < geom_.FixedCols()) return;
  TColumn* col = columns_.Items(gc - geom_.FixedCols());
  if (gr < geom_.FixedRows()) {
    if (from >= 0 && OnTitleClick) OnTitleClick(col);
  } else if (OnCellClick) {
    OnCellClick(col);
  }
}

void TCustomDBGrid::MouseWheel(int notches) {
  if (!link_->Active()) return;
  SetRowRangeAnchor(-1);
  link_->MoveBy(-notches);
}

void TCustomDBGrid::KeyDown(uint16_t& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  const bool ctrlOnly = (shift & (ssCtrl | ssShift | ssAlt)) == ssCtrl;
  if (key != 0 && ctrlOnly && (key == 'C' || key == VK_INSERT)) {
    CopySelection();
    key = 0;
    return;
  }
  // The menu key and Shift+F10 show the menu below the current cell.
  if (popupMenu_ && (key == VK_APPS || (key == VK_F10 && (shift & (ssCtrl | ssShift | ssAlt)) == ssShift))) {
    const int row = link_->Active() ? link_->ActiveRecord() : 0;
    const TRect cell = CellRect(geom_.FixedCols() + selectedIndex_, geom_.FixedRows() + row);
    ShowPopupMenu(ClientToScreen(TPoint(cell.Left + 2, cell.Bottom)));
    key = 0;
    return;
  }
  if (key != 0 && NavigateKey(key, shift)) key = 0;
}

bool TCustomDBGrid::NavigateKey(uint16_t key, TShiftState shift) {
  const bool active = link_->Active();
  const bool ctrl = shift & ssCtrl;
  // Keys that move the current record span a range with Shift and end it without.
  const bool vertical = key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT ||
                        ((key == VK_HOME || key == VK_END) && ctrl);
  if (vertical && active) {
    int oldFirst = 0, oldLast = 0;
    const bool had = HasRowRange() && SelectedRows(oldFirst, oldLast);
    PrepareRowMove(shift);
    const bool used = MoveKey(key, shift);
    RowRangeMoved(oldFirst, oldLast, had);
    return used;
  }
  return MoveKey(key, shift);
}

bool TCustomDBGrid::MoveKey(uint16_t key, TShiftState shift) {
  const bool active = link_->Active();
  const bool ctrl = shift & ssCtrl;
  switch (key) {
    case VK_UP: if (active) link_->MoveBy(-1); return true;
    case VK_DOWN: if (active) link_->MoveBy(1); return true;
    case VK_PRIOR: if (active) link_->MoveBy(-VisibleRowCount()); return true;
    case VK_NEXT: if (active) link_->MoveBy(VisibleRowCount()); return true;
    case VK_HOME:
      if (ctrl) { if (active) link_->First(); }
      else MoveCol(0);
      return true;
    case VK_END:
      if (ctrl) { if (active) link_->Last(); }
      else MoveCol(columns_.Count() - 1);
      return true;
    case VK_LEFT:
      if (options_ & dgRowSelect) SetLeftCol(geom_.LeftCol - 1);
      else MoveCol(selectedIndex_ - 1);
      return true;
    case VK_RIGHT:
      if (options_ & dgRowSelect) { if (geom_.LeftCol < geom_.MaxLeftCol()) SetLeftCol(geom_.LeftCol + 1); }
      else MoveCol(selectedIndex_ + 1);
      return true;
    case VK_TAB:
      if (!(options_ & dgTabs)) return false;
      SetRowRangeAnchor(-1);
      if (shift & ssShift) {
        if (selectedIndex_ > 0) MoveCol(selectedIndex_ - 1);
        else if (active && !link_->Bof()) { link_->MoveBy(-1); MoveCol(columns_.Count() - 1); }
      } else {
        if (selectedIndex_ < columns_.Count() - 1) MoveCol(selectedIndex_ + 1);
        else if (active && !link_->Eof()) { link_->MoveBy(1); MoveCol(0); }
      }
      return true;
    default: return false;
  }
}
