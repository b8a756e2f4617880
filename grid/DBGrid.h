// The base data grid: shows the rows of a data set through a data source, one row per
// record and one column per TColumn, with a title row, an indicator column with the
// current-record marker, column sizing and moving with the mouse, keyboard and mouse
// navigation and a vertical scroll bar over the whole result. It never edits data.
//
// Painting reads only the rows on screen, through the data link's window of records
// (see TGridDataLink), so its cost follows the window size, never the record count.
// GUI thread only.
#pragma once
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "grid/CellTextCache.h"
#include "grid/DBGridColumns.h"
#include "grid/GridLayout.h"
#include "grid/GridPaint.h"
#include "grid/RowImageCache.h"
#include "platform/Canvas.h"
#include "platform/Controls.h"
#include "platform/Font.h"

class TDataSource;
class TDataSet;
class TPopupMenu;
class TField;
class TCustomDBGrid;
class QScrollBar;
class QWidget;

enum TDBGridOption : uint32_t {
  dgEditing = 1u << 0,
  dgAlwaysShowEditor = 1u << 1,
  dgTitles = 1u << 2,
  dgIndicator = 1u << 3,
  dgColumnResize = 1u << 4,
  dgColLines = 1u << 5,
  dgRowLines = 1u << 6,
  dgTabs = 1u << 7,
  dgRowSelect = 1u << 8,
  dgAlwaysShowSelection = 1u << 9,
  dgConfirmDelete = 1u << 10,
  dgCancelOnExit = 1u << 11,
  dgMultiSelect = 1u << 12,
};
using TDBGridOptions = uint32_t;
constexpr TDBGridOptions kDefaultDBGridOptions = dgEditing | dgTitles | dgIndicator | dgColumnResize | dgColLines |
                                                 dgRowLines | dgTabs | dgConfirmDelete | dgCancelOnExit;

enum TGridDrawStateFlag : uint32_t { gdSelected = 1, gdFocused = 2, gdFixed = 4 };
using TGridDrawState = uint32_t;

enum class TGridState { gsNormal, gsColSizing, gsColMoving };

using TDrawColumnCellEvent = TEvent<TComponent*, const TRect&, int, TColumn*, TGridDrawState>;
using TDrawDataCellEvent = TEvent<TComponent*, const TRect&, TField*, TGridDrawState>;
using TDBGridClickEvent = TEvent<TColumn*>;
using TMovedEvent = TEvent<TComponent*, int, int>;

// The grid's window onto the data set: `BufferCount` records starting at `FirstRecord`
// (record numbers count from 0 in the data set's order); the current record lies inside
// the window at `ActiveRecord`. When the data set's current record leaves the window, the
// window moves and the grid is told the distance (TCustomDBGrid::Scroll).
class TGridDataLink;

class TCustomDBGrid : public TCustomControl {
 public:
  explicit TCustomDBGrid(TComponent* owner);
  ~TCustomDBGrid() override;
  QString ClassName() const override { return QStringLiteral("TCustomDBGrid"); }

  // Client area: the control without its vertical scroll bar.
  TRect ClientRect() const override;
  // True when the grid is the active control of its form (or, without a form, has the focus).
  bool IsActiveControl() const;

  // --- published properties ------------------------------------------------------------
  TDataSource* DataSource() const;
  void SetDataSource(TDataSource* ds);
  TDBGridColumns& Columns() { return columns_; }
  const TDBGridColumns& Columns() const { return columns_; }
  TDBGridOptions Options() const { return options_; }
  void SetOptions(TDBGridOptions o);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v) { readOnly_ = v; }
  TColor FixedColor() const { return fixedColor_; }
  void SetFixedColor(TColor c);
  const TFont& TitleFont() const { return titleFont_; }
  // The title font for editing in place; call LayoutChanged() afterwards.
  TFont& TitleFontRef() { return titleFont_; }
  void SetTitleFont(const TFont& f);
  bool DefaultDrawing() const { return defaultDrawing_; }
  void SetDefaultDrawing(bool v) { defaultDrawing_ = v; }
  // The menu that a right click, the menu key or Shift+F10 shows; referenced, not owned
  // (cleared when it goes).
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu);
  // Shows PopupMenu at a screen point; false when there is none.
  bool ShowPopupMenu(const TPoint& screen);

  TDrawColumnCellEvent OnDrawColumnCell;
  TDrawDataCellEvent OnDrawDataCell;
  TDBGridClickEvent OnCellClick;
  TDBGridClickEvent OnTitleClick;
  TMovedEvent OnColumnMoved;
  TNotifyEvent OnColEnter;
  TNotifyEvent OnColExit;

  // --- state ---------------------------------------------------------------------------
  TDataSet* DataSet() const;
  TGridDataLink* DataLink() const { return link_.get(); }
  // The data column of the selected cell.
  int SelectedIndex() const { return selectedIndex_; }
  void SetSelectedIndex(int dataCol);
  TColumn* SelectedColumn() const;
  int LeftCol() const { return geom_.LeftCol; }
  void SetLeftCol(int dataCol);
  const TGridGeometry& Geometry() const { return geom_; }
  int VisibleRowCount() const { return geom_.FullyVisibleRows(); }
  TGridState GridState() const { return gridState_; }
  // Display text of a column's field in data-set record `record` (empty when the column
  // has no field or the data set is closed).
  QString CellText(int record, const TColumn* column) const;
  // Rectangle of a cell in grid coordinates.
  TRect CellRect(int gridCol, int gridRow) const { return geom_.CellRect(gridCol, gridRow); }
  int IndicatorOffset() const { return (options_ & dgIndicator) ? 1 : 0; }
  int TitleOffset() const { return (options_ & dgTitles) ? 1 : 0; }
  // Data rows that hold a record now; 0 for an empty or closed data set (only the title row shows).
  int DataRowCount() const;

  // --- range of rows -------------------------------------------------------------------
  // Shift with a click or a vertical move key spans a range of rows from the record that was
  // current when it started (the anchor) to the current record; any other move ends it. A
  // range holds at least two records; the rows in it are painted in the highlight colours.
  bool HasRowRange() const;
  // First and last record (data-set order, 0-based) of the range, or the current record
  // twice when there is none; false when the data set is closed or empty.
  bool SelectedRows(int& first, int& last) const;
  // Spans the range from `anchor` to the current record (-1 ends it).
  void SetRowRangeAnchor(int anchor);
  int RowRangeAnchor() const { return rangeAnchor_; }
  // Whether screen row `dataRow` (0 = topmost shown) lies in the range.
  bool RowInRange(int dataRow) const;

  // --- copying and export (grid/GridCommands.cpp) -----------------------------------------
  // Ctrl+C and Ctrl+Insert: the range's rows when there is one, else the current cell.
  void CopySelection();
  // The current cell's display text to the clipboard.
  void CopyCell();
  // The range's rows (or the current row), titles first, to the clipboard.
  void CopyRows();
  // Every row of the result, titles first, to the clipboard.
  void CopyAllRows();
  // Asks for a file name and writes the whole result there as CSV; false when cancelled.
  // Raises EWriteError when the file cannot be written.
  bool ExportCsv();

  void BeginUpdate() { ++updateLock_; }
  void EndUpdate();
  int UpdateLock() const { return updateLock_; }

  // Lays out the columns again (widths, fonts, row heights) and repaints.
  void LayoutChanged();
  void Loaded() override;

  // Paints the cells that meet `clip` on `canvas` (client coordinates).
  void PaintCells(TCanvas& canvas, const TRect& clip);
  // Moves the current record by whole wheel notches (positive: towards the top).
  void MouseWheel(int notches);
  void WndProc(TMessage& m) override;

  // --- data link callbacks ---------------------------------------------------------------
  virtual void LinkActive(bool active);
  virtual void DataChanged();
  // The data set moved the visible rows by `distance` records.
  virtual void Scroll(int distance);
  // The base grid's reaction to a scroll; `moveBits` false when the caller repaints every
  // row at once anyway, so moving the rows on screen first would be wasted.
  void ScrollData(int distance, bool moveBits);
  virtual void RecordChanged(TField* field);

 protected:
  void Paint() override;
  void Resize() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void InitWidget(QWidget* w) override;
  void DestroyHandle() override;
  void Notification(TComponent* c, TOperation op) override;
  // Handles a navigation key; true when the key was used.
  bool NavigateKey(uint16_t key, TShiftState shift);
  // The move of a navigation key, without the range of rows.
  bool MoveKey(uint16_t key, TShiftState shift);
  // Paints one cell; `dataRow` rows count from the topmost shown row.
  virtual void DrawCell(int gridCol, int gridRow, const TRect& rect, TGridDrawState state);
  // The base grid's drawing of a fixed cell (indicator or title).
  void DrawFixedCell(int gridCol, int gridRow, const TRect& rect);
  // Whether a data cell is shown as selected: see the selection rules in the .cpp.
  bool HighlightCell(int dataCol, int dataRow, TGridDrawState state) const;
  void DefaultDrawColumnCell(const TRect& rect, int dataCol, TColumn* column, TGridDrawState state, TColor brush,
                             TColor text);
  // The canvas being painted on (the control's own, or a row image's while one is drawn).
  TCanvas& CellCanvas() { return paintCanvas_ ? *paintCanvas_ : Canvas(); }
  TCellFont& CellFontFor(int dataCol);
  // Rows whose look class is equal look the same for the same record (apart from the
  // current record's row); a grid that paints rows by their screen position says so here.
  virtual int RowLookClass(int dataRow) const { return 0; }
  // Something that shows in every row changed: drop the images of painted rows.
  bool RowCacheUsable() const;

 public:
  void LookChanged();

 protected:
  void InvalidateRect(const TRect& r);
  // Paints `r` now, with whatever else of the window waits to be painted.
  void RepaintRect(const TRect& r);
  void InvalidateRow(int dataRow);
  void InvalidateIndicator();
  // Right end of the last column shown, its line included (at most the client width).
  int CellsRight() const;
  // Everything a vertical scroll can change: the data rows under the columns. The title
  // row and the plain area right of the columns look the same whatever the rows show.
  TRect RowsArea() const;

 private:
  friend class TGridDataLink;
  void UpdateScrollBar();
  void UpdateScrollBarPosition();
  void UpdateBufferCount();
  void ScrollBarAction(int action, int value);
  void MoveCol(int dataCol);
  void ClampLeftCol();
  void RebuildColumnsIfDefault();
  // Before a move of the current record: starts the range with Shift, ends it without.
  void PrepareRowMove(TShiftState shift);
  // After the range may have changed: repaints the rows when it did.
  void RowRangeMoved(int oldFirst, int oldLast, bool hadRange);

  QScrollBar* vscroll_ = nullptr;  // owned by the widget; nullptr while there is none
  std::unique_ptr<TGridDataLink> link_;
  TDBGridColumns columns_{this};
  TDBGridOptions options_ = kDefaultDBGridOptions;
  bool readOnly_ = false;
  TColor fixedColor_;
  TFont titleFont_;
  bool defaultDrawing_ = true;
  TGridGeometry geom_;
  int selectedIndex_ = 0;
  int updateLock_ = 0;
  TGridState gridState_ = TGridState::gsNormal;
  int sizingCol_ = -1, sizingStartX_ = 0, sizingStartW_ = 0;
  int movingFrom_ = -1, movingTo_ = -1, mouseDownX_ = 0;
  std::vector<std::unique_ptr<TCellFont>> fonts_;  // per data column, rebuilt by LayoutChanged
  std::unique_ptr<TCellFont> titleCellFont_;
  bool layoutBusy_ = false;
  int wheelRest_ = 0;
  TCellTextCache textCache_;
  TRowImageCache rowCache_;
  TCanvas* paintCanvas_ = nullptr;  // referenced, set while painting
  bool plainRow_ = false;           // painting a row image without the current-record look
  int rangeAnchor_ = -1;            // record where the range of rows started; -1 for none
  TPopupMenu* popupMenu_ = nullptr; // referenced
};

// The grid class that the form definitions name.
class TDBGrid : public TCustomDBGrid {
 public:
  using TCustomDBGrid::TCustomDBGrid;
  QString ClassName() const override { return QStringLiteral("TDBGrid"); }
};
