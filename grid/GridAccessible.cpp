#include "grid/GridAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>
#include <unordered_map>

#include "grid/DBGrid.h"
#include "grid/GridDataLink.h"

namespace {

std::unordered_map<const QObject*, TCustomDBGrid*>& Registry() {
  static std::unordered_map<const QObject*, TCustomDBGrid*> map;
  return map;
}

TCustomDBGrid* GridOf(const QObject* o) {
  auto it = Registry().find(o);
  return it == Registry().end() ? nullptr : it->second;
}

class TGridAccessible;

// One cell: a column header (row -1) or a data cell.
class TGridCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
 public:
  TGridCellAccessible(QWidget* widget, int row, int column) : widget_(widget), row_(row), column_(column) {}

  bool isValid() const override {
    TCustomDBGrid* g = GridOf(widget_);
    if (!g || column_ >= g->Columns().Count()) return false;
    return row_ < 0 || row_ < RecordCount(g);
  }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return widget_->window()->windowHandle(); }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(widget_); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text t) const override {
    TCustomDBGrid* g = GridOf(widget_);
    if (!g || (t != QAccessible::Name && t != QAccessible::Value)) return QString();
    if (column_ >= g->Columns().Count()) return QString();
    const TColumn* col = g->Columns().Items(column_);
    if (row_ < 0) return t == QAccessible::Name ? col->Title().Caption() : QString();
    return g->CellText(row_, col);
  }
  void setText(QAccessible::Text, const QString&) override {}  // read-only
  QRect rect() const override {
    TCustomDBGrid* g = GridOf(widget_);
    if (!g) return QRect();
    const int gridCol = column_ + g->IndicatorOffset();
    int gridRow = 0;
    if (row_ >= 0) {
      const int onScreen = row_ - g->DataLink()->FirstRecord();
      if (onScreen < 0 || onScreen >= g->Geometry().PartlyVisibleRows()) return QRect();
      gridRow = onScreen + g->TitleOffset();
    } else if (!(g->Options() & dgTitles)) {
      return QRect();
    }
    const TRect r = g->CellRect(gridCol, gridRow);
    if (r.Width() <= 0) return QRect();
    const QPoint origin = widget_->mapToGlobal(QPoint(0, 0));
    return QRect(origin.x() + r.Left, origin.y() + r.Top, r.Width(), r.Height());
  }
  QAccessible::Role role() const override { return row_ < 0 ? QAccessible::ColumnHeader : QAccessible::Cell; }
  QAccessible::State state() const override {
    QAccessible::State s;
    s.readOnly = true;
    TCustomDBGrid* g = GridOf(widget_);
    if (!g || row_ < 0) return s;
    s.selectable = true;
    s.focusable = true;
    s.selected = isSelected();
    s.focused = s.selected && g->Focused();
    s.invisible = rect().isEmpty();
    return s;
  }
  void* interface_cast(QAccessible::InterfaceType t) override {
    return t == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
  }

  bool isSelected() const override {
    TCustomDBGrid* g = GridOf(widget_);
    if (!g || row_ < 0 || !g->DataLink()->Active()) return false;
    int first = 0, last = 0;
    // Every cell of a range of rows is selected; without one, the current cell.
    if (g->HasRowRange() && g->SelectedRows(first, last)) return row_ >= first && row_ <= last;
    return row_ == g->DataLink()->CurrentRecord() &&
           ((g->Options() & dgRowSelect) || column_ == g->SelectedIndex());
  }
  QList<QAccessibleInterface*> columnHeaderCells() const override;
  QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
  int columnIndex() const override { return column_; }
  int rowIndex() const override { return row_; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return parent(); }

  static int RecordCount(TCustomDBGrid* g) {
    return g->DataLink()->Active() ? g->DataLink()->DataSetRecordCount() : 0;
  }

 private:
  QWidget* widget_;  // the grid's widget; the table interface drops its cells before it goes
  int row_;          // -1 for a column header
  int column_;
};

class TGridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit TGridAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::Table) {}
  ~TGridAccessible() override { DropCells(); }

  TCustomDBGrid* Grid() const { return GridOf(object()); }
  int Rows() const { return Grid() ? TGridCellAccessible::RecordCount(Grid()) : 0; }
  int Cols() const { return Grid() ? Grid()->Columns().Count() : 0; }

  // Cell objects live in Qt's accessibility cache; the table keeps their ids.
  QAccessibleInterface* Cell(int row, int column) const {
    if (column < 0 || column >= Cols() || row < -1 || row >= Rows()) return nullptr;
    const int64_t key = (static_cast<int64_t>(row + 1) << 20) | column;
    auto it = cells_.find(key);
    if (it != cells_.end()) return QAccessible::accessibleInterface(it->second);
    auto* cell = new TGridCellAccessible(widget(), row, column);
    cells_[key] = QAccessible::registerAccessibleInterface(cell);
    return cell;
  }
  void DropCells() {
    for (auto& [key, id] : cells_) QAccessible::deleteAccessibleInterface(id);
    cells_.clear();
  }

  // Children: the column headers, then every cell row by row.
  int childCount() const override { return Cols() * (Rows() + 1); }
  QAccessibleInterface* child(int index) const override {
    const int cols = Cols();
    if (cols == 0 || index < 0 || index >= childCount()) return nullptr;
    return Cell(index / cols - 1, index % cols);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    if (!child) return -1;
    auto* cell = const_cast<QAccessibleInterface*>(child)->tableCellInterface();
    if (!cell || cell->table() != this) return -1;
    return (cell->rowIndex() + 1) * Cols() + cell->columnIndex();
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    TCustomDBGrid* g = Grid();
    if (!g) return nullptr;
    const QPoint p = widget()->mapFromGlobal(QPoint(x, y));
    int gc = 0, gr = 0;
    if (!g->Geometry().CellAt(p.x(), p.y(), gc, gr) || gc < g->IndicatorOffset()) return nullptr;
    const int col = gc - g->IndicatorOffset();
    if (gr < g->TitleOffset()) return Cell(-1, col);
    return Cell(g->DataLink()->FirstRecord() + gr - g->TitleOffset(), col);
  }
  QAccessibleInterface* focusChild() const override {
    TCustomDBGrid* g = Grid();
    if (!g || !g->DataLink()->Active() || Rows() == 0) return nullptr;
    return Cell(g->DataLink()->CurrentRecord(), g->SelectedIndex());
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name && Grid()) return Grid()->Name();
    return QAccessibleWidget::text(t);
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = true;
    return s;
  }
  // The context menu, for those who cannot right-click.
  QStringList actionNames() const override {
    QStringList names = QAccessibleWidget::actionNames();
    if (Grid() && Grid()->PopupMenu()) names << showMenuAction();
    return names;
  }
  void doAction(const QString& name) override {
    TCustomDBGrid* g = Grid();
    if (name == showMenuAction() && g && g->PopupMenu()) {
      const QRect r = focusChild() ? focusChild()->rect() : widget()->rect().translated(widget()->mapToGlobal(QPoint()));
      g->ShowPopupMenu(TPoint(r.left() + 2, r.bottom() + 1));
      return;
    }
    QAccessibleWidget::doAction(name);
  }
  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }

  // QAccessibleTableInterface
  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override {
    if (row < 0) return nullptr;
    return Cell(row, column);
  }
  int selectedCellCount() const override { return focusChild() ? 1 : 0; }
  QList<QAccessibleInterface*> selectedCells() const override {
    QList<QAccessibleInterface*> l;
    if (QAccessibleInterface* c = focusChild()) l << c;
    return l;
  }
  QString columnDescription(int column) const override {
    return column >= 0 && column < Cols() ? Grid()->Columns().Items(column)->Title().Caption() : QString();
  }
  QString rowDescription(int) const override { return QString(); }
  int selectedColumnCount() const override { return 0; }
  // The range of rows, when there is one.
  int selectedRowCount() const override {
    int first = 0, last = -1;
    return RowRange(first, last) ? last - first + 1 : 0;
  }
  int columnCount() const override { return Cols(); }
  int rowCount() const override { return Rows(); }
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override {
    QList<int> rows;
    int first = 0, last = -1;
    if (RowRange(first, last))
      for (int r = first; r <= last; ++r) rows << r;
    return rows;
  }
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int row) const override {
    int first = 0, last = -1;
    return RowRange(first, last) && row >= first && row <= last;
  }
  bool selectRow(int) override { return false; }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent*) override { DropCells(); }

 private:
  bool RowRange(int& first, int& last) const {
    TCustomDBGrid* g = Grid();
    return g && g->HasRowRange() && g->SelectedRows(first, last);
  }

  mutable std::unordered_map<int64_t, QAccessible::Id> cells_;
};

QList<QAccessibleInterface*> TGridCellAccessible::columnHeaderCells() const {
  auto* table = static_cast<TGridAccessible*>(parent());
  QList<QAccessibleInterface*> l;
  if (table && table->Grid() && (table->Grid()->Options() & dgTitles))
    if (QAccessibleInterface* h = table->Cell(-1, column_)) l << h;
  return l;
}

QAccessibleInterface* Factory(const QString&, QObject* o) {
  if (o && o->isWidgetType() && GridOf(o)) return new TGridAccessible(static_cast<QWidget*>(o));
  return nullptr;
}

}  // namespace

void RegisterGridAccessible(TCustomDBGrid* grid, QWidget* widget) {
  static const bool installed = [] {
    QAccessible::installFactory(Factory);
    return true;
  }();
  (void)installed;
  Registry()[widget] = grid;
}

void UnregisterGridAccessible(QWidget* widget) { Registry().erase(widget); }

void NotifyGridAccessibleReset(TCustomDBGrid* grid, QWidget* widget) {
  if (!QAccessible::isActive() || !widget) return;
  QAccessibleTableModelChangeEvent e(widget, QAccessibleTableModelChangeEvent::ModelReset);
  QAccessible::updateAccessibility(&e);
}

void NotifyGridAccessibleFocus(TCustomDBGrid* grid, QWidget* widget) {
  if (!QAccessible::isActive() || !widget || !grid->Focused()) return;
  QAccessibleInterface* table = QAccessible::queryAccessibleInterface(widget);
  if (!table) return;
  QAccessibleInterface* cell = table->focusChild();
  if (!cell) return;
  QAccessibleEvent e(cell, QAccessible::Focus);
  QAccessible::updateAccessibility(&e);
}
