// The grid's copy and export commands: what Ctrl+C, Ctrl+Insert and the grid's context menu
// run. The texts themselves are made in GridText.cpp.
#include "grid/DBGrid.h"
#include "grid/GridDataLink.h"
#include "grid/GridText.h"
#include "platform/Clipboard.h"
#include "platform/SaveDialog.h"
#include "platform/Screen.h"

namespace {

// The hourglass over every window while a long command runs; the old cursor comes back
// also when the command fails.
class TBusyCursor {
 public:
  TBusyCursor() : saved_(TScreen::Instance().Cursor()) { TScreen::Instance().SetCursor(crHourGlass); }
  ~TBusyCursor() { TScreen::Instance().SetCursor(saved_); }
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;

 private:
  TCursor saved_;
};

}  // namespace

void TCustomDBGrid::CopySelection() { Clipboard().SetAsText(GridSelectionText(*this)); }

void TCustomDBGrid::CopyCell() { Clipboard().SetAsText(GridCellText(*this)); }

void TCustomDBGrid::CopyRows() {
  int first = 0, last = -1;
  SelectedRows(first, last);
  Clipboard().SetAsText(GridRowsText(*this, first, last));
}

void TCustomDBGrid::CopyAllRows() {
  const TBusyCursor busy;
  Clipboard().SetAsText(GridRowsText(*this, 0, link_->DataSetRecordCount() - 1));
}

bool TCustomDBGrid::ExportCsv() {
  TSaveDialog dialog(nullptr);
  dialog.SetTitle(QStringLiteral("匯出 CSV"));
  dialog.SetFilter(QStringLiteral("CSV (*.csv)|*.csv|*.*|*"));
  dialog.SetDefaultExt(QStringLiteral("csv"));
  dialog.SetFileName((Name().isEmpty() ? QStringLiteral("export") : Name()) + QStringLiteral(".csv"));
  if (!dialog.Execute()) return false;
  const TBusyCursor busy;
  ExportGridCsv(*this, dialog.FileName());
  return true;
}
