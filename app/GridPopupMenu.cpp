#include "app/GridPopupMenu.h"

#include <QTimer>
#include <QWidget>
#include <functional>

#include "grid/DBGrid.h"
#include "grid/GridDataLink.h"
#include "platform/Exceptions.h"
#include "platform/Menus.h"
#include "skin/menus/bsSkinPopupMenu.h"

TbsSkinPopupMenu* AttachGridPopupMenu(TComponent* owner, TCustomDBGrid* grid) {
  auto* menu = new TbsSkinPopupMenu(owner);
  auto add = [&](const QString& caption, std::function<void()> command) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    item->OnClick = [command = std::move(command)](TComponent*) { command(); };
    menu->Items()->Add(item);
    return item;
  };
  TMenuItem* cell = add(QStringLiteral("複製"), [grid] { grid->CopyCell(); });
  TMenuItem* row = add(QStringLiteral("複製整列"), [grid] { grid->CopyRows(); });
  TMenuItem* all = add(QStringLiteral("全部複製"), [grid] { grid->CopyAllRows(); });
  // The file dialog runs a loop of its own: it opens on the next turn of the message loop, so
  // that whoever pressed the item (a click, a key, a screen reader's action) gets its answer
  // first. A failure shows in the application's message box.
  TMenuItem* csv = add(QStringLiteral("匯出 CSV…"), [grid] {
    QTimer::singleShot(0, grid->Handle(), [grid] {
      try {
        grid->ExportCsv();
      } catch (...) {
        HandleCurrentException();
      }
    });
  });
  // Copying needs rows; an open result without rows still exports its titles.
  menu->OnPopup = [grid, cell, row, all, csv](TComponent*) {
    const bool open = grid->DataLink()->Active();
    const bool rows = open && grid->DataLink()->DataSetRecordCount() > 0;
    cell->SetEnabled(rows);
    row->SetEnabled(rows);
    all->SetEnabled(rows);
    csv->SetEnabled(open);
  };
  grid->SetPopupMenu(menu);
  return menu;
}
