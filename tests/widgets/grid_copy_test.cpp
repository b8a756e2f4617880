// Copying and exporting what a grid shows, over a real client data set on an embedded
// Firebird database: ranges of rows by Shift with keys and clicks, Ctrl+C and Ctrl+Insert on
// the real clipboard, rows as tab-separated text, and the whole result as CSV read back with
// an RFC 4180 reader.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <unistd.h>

#include "db/FloatFormat.h"
#include "app/GridPopupMenu.h"
#include "grid/GridDataLink.h"
#include "grid/GridText.h"
#include "grid/zebdbgrid.h"
#include "platform/Clipboard.h"
#include "platform/Colors.h"
#include "platform/Exceptions.h"
#include "platform/Forms.h"
#include "platform/Menus.h"
#include "skin/menus/bsSkinPopupMenu.h"
#include "support/Chain.h"
#include "support/Firebird.h"
#include "support/GridPixels.h"
#include "tests/TestUtil.h"

namespace {

const QColor kPale(206, 249, 208);
const QColor kWhite(255, 255, 255);
const QColor kHighlight(10, 36, 106);

void Click(QWidget* w, QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier, Qt::MouseButton button = Qt::LeftButton) {
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(p), QPointF(w->mapToGlobal(p)), button, button, mods);
  QApplication::sendEvent(w, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(p), QPointF(w->mapToGlobal(p)), button, Qt::NoButton, mods);
  QApplication::sendEvent(w, &release);
}

void Key(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, mods);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, mods);
  QApplication::sendEvent(w, &release);
}

// An RFC 4180 reader: records of fields; fails the test on malformed input.
std::vector<QStringList> ReadCsv(const QString& text) {
  std::vector<QStringList> out;
  QStringList record;
  QString field;
  bool quoted = false, wasQuoted = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar ch = text[i];
    if (quoted) {
      if (ch == u'"') {
        if (i + 1 < text.size() && text[i + 1] == u'"') {
          field += u'"';
          ++i;
        } else {
          quoted = false;
        }
      } else {
        field += ch;
      }
    } else if (ch == u'"') {
      EXPECT_TRUE(field.isEmpty() && !wasQuoted) << "quote inside an unquoted field at " << i;
      quoted = wasQuoted = true;
    } else if (ch == u',') {
      record << field;
      field.clear();
      wasQuoted = false;
    } else if (ch == u'\r') {
      EXPECT_TRUE(i + 1 < text.size() && text[i + 1] == u'\n') << "bare CR at " << i;
      record << field;
      out.push_back(record);
      record.clear();
      field.clear();
      wasQuoted = false;
      ++i;
    } else {
      EXPECT_NE(ch, u'\n') << "bare LF at " << i;
      field += ch;
    }
  }
  EXPECT_FALSE(quoted) << "unterminated quote";
  EXPECT_TRUE(record.isEmpty() && field.isEmpty()) << "last record without CR LF";
  return out;
}

class GridCopy : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new QTemporaryDir;
    db_ = dir_->path() + QStringLiteral("/copy.fdb");
    MakeDatabase(db_, {
        "CREATE TABLE ACC_MAIN_TEMP (MASTERBILLID VARCHAR(20) NOT NULL)",
        "CREATE TABLE ACC_MAST_TEMP (MASTERBILLID VARCHAR(20) NOT NULL, ITEM VARCHAR(2) NOT NULL,"
        " ACC_NAME VARCHAR(25), HLP_NAME VARCHAR(80), AMOUNT DOUBLE PRECISION)",
        "INSERT INTO ACC_MAST_TEMP VALUES ('A001', '01', '現金', '摘要, 第一筆', 1234.5)",
        "INSERT INTO ACC_MAST_TEMP VALUES ('A001', '02', '銀行\"存款\"', '兩行' || ASCII_CHAR(13) || ASCII_CHAR(10) || '摘要', -20)",
        "INSERT INTO ACC_MAST_TEMP VALUES ('A002', '01', NULL, '定位' || ASCII_CHAR(9) || '符號', NULL)",
        // Text that starts with a byte order mark, which decoding drops.
        "INSERT INTO ACC_MAST_TEMP VALUES ('A002', '02', '\xEF\xBB\xBF開頭', 'x', 0)",
        "EXECUTE BLOCK AS DECLARE I INTEGER = 3; BEGIN WHILE (I < 60) DO BEGIN"
        " INSERT INTO ACC_MAST_TEMP VALUES ('V' || LPAD(:I, 4, '0'), '01', '應付帳款', '摘要 ' || :I, :I * 1.5);"
        " I = I + 1; END END",
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
    chain_ = std::make_unique<Chain>(false);
    Chain::Run(chain_->cds2, QStringLiteral("SELECT * FROM ACC_MAST_TEMP ORDER BY MASTERBILLID, ITEM\r\n"));
    form_ = std::make_unique<TForm>(nullptr);
    form_->SetBounds(0, 0, 700, 400);
    grid_ = new Tzebdbgrid(form_.get());
    grid_->SetName(QStringLiteral("zebdbgrid2"));
    grid_->SetParent(form_.get());
    grid_->SetColor(RGBColor(206, 249, 208));
    grid_->SetReadOnly(true);
    grid_->SetZebra(true);
    grid_->SetZebraColor(clWindow);
    for (const char* c : {"MASTERBILLID", "ITEM", "ACC_NAME", "HLP_NAME", "AMOUNT"})
      grid_->Columns().Add()->SetFieldName(QString::fromLatin1(c));
    grid_->SetDataSource(chain_->source2);
    grid_->SetBounds(0, 0, 660, 300);
    form_->Show();
    form_->Handle()->activateWindow();
    grid_->SetFocus();
    QApplication::processEvents();
  }

  void TearDown() override {
    form_.reset();
    chain_.reset();
  }

  QPoint CellPoint(int dataCol, int dataRow) const {
    const TRect r = grid_->CellRect(grid_->IndicatorOffset() + dataCol, grid_->TitleOffset() + dataRow);
    return QPoint(r.Left + 4, r.Top + 4);
  }
  QColor RowBackground(const QImage& img, int dataRow) const {
    const TRect r = grid_->CellRect(grid_->IndicatorOffset() + 1, grid_->TitleOffset() + dataRow);
    return img.pixelColor(r.Right - 2, r.Top + 1);
  }
  std::pair<int, int> Rows() const {
    int first = -1, last = -1;
    EXPECT_TRUE(grid_->SelectedRows(first, last));
    return {first, last};
  }

  ConnectionFiles files_;
  std::unique_ptr<Chain> chain_;
  std::unique_ptr<TForm> form_;
  Tzebdbgrid* grid_ = nullptr;
  static QTemporaryDir* dir_;
  static QString db_;
};
QTemporaryDir* GridCopy::dir_ = nullptr;
QString GridCopy::db_;

TEST_F(GridCopy, ShiftSpansARangeOfRowsThatOtherMovesEnd) {
  QWidget* w = grid_->Handle();
  ASSERT_EQ(chain_->cds2->RecNo(), 1);
  EXPECT_FALSE(grid_->HasRowRange());
  EXPECT_EQ(Rows(), std::make_pair(0, 0));
  Key(w, Qt::Key_Down, Qt::ShiftModifier);
  Key(w, Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_TRUE(grid_->HasRowRange());
  EXPECT_EQ(Rows(), std::make_pair(0, 2));
  // The range shows in the highlight colours across the stripes; the rows below keep theirs.
  QImage img = OnScreen(grid_);
  for (int r = 0; r < 3; ++r) EXPECT_EQ(RowBackground(img, r), kHighlight) << r;
  EXPECT_EQ(RowBackground(img, 3), kWhite);
  EXPECT_EQ(RowBackground(img, 4), kPale);
  EXPECT_TRUE(img == FreshPaint(grid_));
  // Screen readers see the same rows selected.
  QAccessibleInterface* table = QAccessible::queryAccessibleInterface(w);
  ASSERT_TRUE(table && table->tableInterface());
  EXPECT_EQ(table->tableInterface()->selectedRows(), QList<int>({0, 1, 2}));
  EXPECT_TRUE(table->tableInterface()->isRowSelected(2));
  EXPECT_FALSE(table->tableInterface()->isRowSelected(3));
  EXPECT_TRUE(table->tableInterface()->cellAt(1, 4)->state().selected);
  EXPECT_FALSE(table->tableInterface()->cellAt(3, 0)->state().selected);
  // Back up past the anchor: the range turns round it.
  Key(w, Qt::Key_Up, Qt::ShiftModifier);
  Key(w, Qt::Key_Up, Qt::ShiftModifier);
  EXPECT_FALSE(grid_->HasRowRange());
  Key(w, Qt::Key_Down);
  Key(w, Qt::Key_Down);
  Key(w, Qt::Key_Up, Qt::ShiftModifier);
  EXPECT_EQ(Rows(), std::make_pair(1, 2));
  // A move without Shift ends it and the rows take their stripes again.
  Key(w, Qt::Key_Down);
  EXPECT_FALSE(grid_->HasRowRange());
  EXPECT_EQ(Rows(), std::make_pair(2, 2));
  img = OnScreen(grid_);
  EXPECT_EQ(RowBackground(img, 1), kWhite);
  EXPECT_EQ(RowBackground(img, 3), kWhite);
  // Shift+click spans from the current record to the clicked one; a plain click ends it.
  Click(w, CellPoint(0, 6), Qt::ShiftModifier);
  EXPECT_EQ(Rows(), std::make_pair(2, 6));
  Click(w, CellPoint(0, 4), Qt::ShiftModifier);
  EXPECT_EQ(Rows(), std::make_pair(2, 4));
  Click(w, CellPoint(0, 5));
  EXPECT_FALSE(grid_->HasRowRange());
  EXPECT_EQ(table->tableInterface()->selectedRowCount(), 0);
  // Shift+Ctrl+End reaches the last record; closing the data set ends the range.
  Key(w, Qt::Key_End, Qt::ShiftModifier | Qt::ControlModifier);
  EXPECT_EQ(Rows(), std::make_pair(5, chain_->cds2->RecordCount() - 1));
  QApplication::processEvents();
  img = OnScreen(grid_);
  EXPECT_TRUE(img == FreshPaint(grid_));
  for (int r = 0; r < grid_->DataLink()->RecordCount(); ++r) EXPECT_EQ(RowBackground(img, r), kHighlight) << r;
  chain_->cds2->Close();
  EXPECT_FALSE(grid_->HasRowRange());
  int first = 0, last = 0;
  EXPECT_FALSE(grid_->SelectedRows(first, last));
  chain_->cds2->Open();
  EXPECT_FALSE(grid_->HasRowRange());
}

TEST_F(GridCopy, CtrlCAndCtrlInsertCopyTheCellOrTheRange) {
  QWidget* w = grid_->Handle();
  Clipboard().SetAsText(QStringLiteral("old"));
  Click(w, CellPoint(2, 1));
  Key(w, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(Clipboard().AsText(), QStringLiteral("銀行\"存款\""));
  Key(w, Qt::Key_Right);
  Key(w, Qt::Key_Right);
  Key(w, Qt::Key_Insert, Qt::ControlModifier);
  EXPECT_EQ(Clipboard().AsText(), QStringLiteral("-20"));
  // Shift+Ctrl+C is not a copy.
  Clipboard().SetAsText(QStringLiteral("old"));
  Key(w, Qt::Key_C, Qt::ShiftModifier | Qt::ControlModifier);
  EXPECT_EQ(Clipboard().AsText(), QStringLiteral("old"));
  // With a range: titles, then the rows, tabs between cells; a tab or line break inside a
  // cell becomes a blank and a null cell is empty.
  Key(w, Qt::Key_Down, Qt::ShiftModifier);
  Key(w, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(Clipboard().AsText(), QStringLiteral("MASTERBILLID\tITEM\tACC_NAME\tHLP_NAME\tAMOUNT\n"
                                                 "A001\t02\t銀行\"存款\"\t兩行  摘要\t-20\n"
                                                 "A002\t01\t\t定位 符號\t\n"));
  Key(w, Qt::Key_Insert, Qt::ControlModifier);
  EXPECT_TRUE(Clipboard().AsText().startsWith(QStringLiteral("MASTERBILLID\t")));
}

TEST_F(GridCopy, RowsFollowTheGridsColumnsAndTheirOrder) {
  // A moved column stands where it was put, a hidden one is left out, a title is the
  // column's caption.
  grid_->Columns().Move(4, 0);
  grid_->Columns().Items(2)->SetVisible(false);  // ITEM
  grid_->Columns().Items(0)->Title().SetCaption(QStringLiteral("金額"));
  const QString rows = GridRowsText(*grid_, 0, 0);
  EXPECT_EQ(rows, QStringLiteral("金額\tMASTERBILLID\tACC_NAME\tHLP_NAME\n1234.5\tA001\t現金\t摘要, 第一筆\n"));
  // Out-of-range bounds are clamped.
  const int n = chain_->cds2->RecordCount();
  EXPECT_EQ(GridRowsText(*grid_, -5, n + 10).count(u'\n'), n + 1);
  EXPECT_EQ(GridRowsText(*grid_, n, n + 3).count(u'\n'), 1);
  // The menu's commands put the same on the clipboard; none moves the data set.
  chain_->cds2->SetRecNo(3);
  grid_->SetSelectedIndex(4);  // HLP_NAME
  grid_->CopyRows();
  EXPECT_EQ(Clipboard().AsText(), GridRowsText(*grid_, 2, 2));
  grid_->CopyAllRows();
  EXPECT_EQ(Clipboard().AsText(), GridRowsText(*grid_, 0, n - 1));
  grid_->CopyCell();
  EXPECT_EQ(Clipboard().AsText(), QStringLiteral("定位\t符號"));
  EXPECT_EQ(chain_->cds2->RecNo(), 3);
  // A closed data set gives the titles alone and an empty cell.
  chain_->cds2->Close();
  EXPECT_EQ(GridRowsText(*grid_, 0, 10), QStringLiteral("金額\tMASTERBILLID\tACC_NAME\tHLP_NAME\n"));
  EXPECT_EQ(GridCellText(*grid_), QString());
}

TEST_F(GridCopy, CsvHoldsTheWholeResultAsTheGridShowsIt) {
  grid_->Columns().Items(4)->Title().SetCaption(QStringLiteral("金額, 元"));
  SetDecimalSeparator(u',');  // amounts then hold a comma and must be quoted
  QTemporaryDir dir;
  const QString path = dir.path() + QStringLiteral("/out.csv");
  ExportGridCsv(*grid_, path);
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray bytes = f.readAll();
  ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
  EXPECT_TRUE(bytes.contains("\"1234,5\""));
  EXPECT_TRUE(bytes.contains("\"銀行\"\"存款\"\"\""));
  const std::vector<QStringList> records = ReadCsv(QString::fromUtf8(bytes.mid(3)));
  const int n = chain_->cds2->RecordCount();
  ASSERT_EQ(static_cast<int>(records.size()), n + 1);
  EXPECT_EQ(records[0], QStringList({"MASTERBILLID", "ITEM", "ACC_NAME", "HLP_NAME", "金額, 元"}));
  for (int r = 0; r < n; ++r) {
    ASSERT_EQ(records[static_cast<size_t>(r + 1)].size(), 5) << r;
    for (int c = 0; c < 5; ++c)
      EXPECT_EQ(records[static_cast<size_t>(r + 1)][c], grid_->CellText(r, grid_->Columns().Items(c))) << r << "," << c;
  }
  EXPECT_EQ(records[2][3], QStringLiteral("兩行\r\n摘要"));
  EXPECT_EQ(records[3][2], QString());
  EXPECT_EQ(records[4][2], QStringLiteral("開頭"));
  SetDecimalSeparator(u'.');
  // A closed data set: the titles alone.
  chain_->cds2->Close();
  ExportGridCsv(*grid_, path);
  QFile again(path);
  ASSERT_TRUE(again.open(QIODevice::ReadOnly));
  EXPECT_EQ(again.readAll(), QByteArray("\xEF\xBB\xBFMASTERBILLID,ITEM,ACC_NAME,HLP_NAME,\"金額, 元\"\r\n"));
}

TEST_F(GridCopy, AFailedExportSaysSoAndKeepsTheOldFile) {
  QTemporaryDir dir;
  // No such folder.
  EXPECT_THROW(ExportGridCsv(*grid_, dir.path() + QStringLiteral("/missing/out.csv")), EWriteError);
  // A full disk: the old file stays as it was and no half-written file is left.
  const QString full = QStringLiteral("/dev/full");
  if (QFile::exists(full)) {
    QFile dev(full);
    ASSERT_TRUE(dev.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    try {
      WriteGridCsv(*grid_, dev);
      ADD_FAILURE() << "writing to a full device succeeded";
    } catch (const EWriteError& e) {
      EXPECT_TRUE(e.Message().contains(QStringLiteral("write"))) << e.Message().toStdString();
    }
  }
  const QString path = dir.path() + QStringLiteral("/keep.csv");
  {
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
  }
  // A folder where the file should be.
  QDir(dir.path()).mkdir(QStringLiteral("taken.csv"));
  try {
    ExportGridCsv(*grid_, dir.path() + QStringLiteral("/taken.csv"));
    ADD_FAILURE() << "export over a folder succeeded";
  } catch (const EWriteError& e) {
    EXPECT_TRUE(e.Message().contains(QStringLiteral("taken.csv"))) << e.Message().toStdString();
  }
  // A folder that cannot be written (root writes anywhere, so only for other users).
  if (geteuid() != 0) {
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_THROW(ExportGridCsv(*grid_, path), EWriteError);
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }
  QFile old(path);
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), QByteArray("old"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"keep.csv"}));
}

TEST_F(GridCopy, ExportAsksForTheFileName) {
  QTemporaryDir tmp;
  const QString folder = tmp.path();
  // The dialog is Qt's own: type a name without extension into it and accept.
  auto answer = [&](const QString& name, bool accept) {
    QTimer::singleShot(0, [name, accept, folder] {
      for (QWidget* top : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QFileDialog*>(top);
        if (!dialog || !dialog->isVisible()) continue;
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("匯出 CSV"));
        EXPECT_EQ(dialog->findChild<QLineEdit*>()->text(), QStringLiteral("zebdbgrid2.csv"));
        if (!accept) {
          dialog->reject();
          return;
        }
        dialog->setDirectory(folder);
        dialog->selectFile(name);
        QMetaObject::invokeMethod(dialog, "accept");
        return;
      }
      ADD_FAILURE() << "no file dialog";
    });
  };
  answer(QString(), false);
  EXPECT_FALSE(grid_->ExportCsv());
 EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());
  answer(QStringLiteral("匯出"), true);
  EXPECT_TRUE(grid_->ExportCsv());
  QFile f(folder + QStringLiteral("/匯出.csv"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(ReadCsv(QString::fromUtf8(f.readAll().mid(3))).size(), static_cast<size_t>(chain_->cds2->RecordCount() + 1));
}

TEST_F(GridCopy, RightClickAndTheMenuKeyOpenTheGridsMenu) {
  QWidget* w = grid_->Handle();
  TbsSkinPopupMenu* menu = AttachGridPopupMenu(form_.get(), grid_);
  ASSERT_EQ(grid_->PopupMenu(), menu);
  TMenuItem* root = menu->Items();
  ASSERT_EQ(root->Count(), 4);
  QStringList captions;
  for (int i = 0; i < root->Count(); ++i) captions << root->Items(i)->Caption();
  EXPECT_EQ(captions, QStringList({"複製", "複製整列", "全部複製", "匯出 CSV…"}));
  // The menu opens where the click was (this form has no frame component, so it stays
  // invisible; its OnPopup still runs).
  int popups = 0;
  const TNotifyEvent own = menu->OnPopup;
  menu->OnPopup = [&, own](TComponent* s) {
    own(s);
    ++popups;
  };
  // A right click on a row outside the range makes it current and ends the range.
  Key(w, Qt::Key_Down, Qt::ShiftModifier);
  Click(w, CellPoint(3, 5), Qt::NoModifier, Qt::RightButton);
  EXPECT_EQ(popups, 1);
  EXPECT_FALSE(grid_->HasRowRange());
  EXPECT_EQ(chain_->cds2->RecNo(), 6);
  EXPECT_EQ(grid_->SelectedIndex(), 3);
  // Inside the range the range stays, so that "複製整列" copies it.
  Key(w, Qt::Key_Down, Qt::ShiftModifier);
  Key(w, Qt::Key_Down, Qt::ShiftModifier);
  Click(w, CellPoint(1, 6), Qt::NoModifier, Qt::RightButton);
  EXPECT_EQ(popups, 2);
  EXPECT_EQ(Rows(), std::make_pair(5, 7));
  root->Items(1)->Click();
  EXPECT_EQ(Clipboard().AsText(), GridRowsText(*grid_, 5, 7));
  root->Items(0)->Click();
  EXPECT_EQ(Clipboard().AsText(), GridCellText(*grid_));
  // The menu key and Shift+F10 open it too; Shift+F10 is not taken by another key.
  Key(w, Qt::Key_Menu);
  Key(w, Qt::Key_F10, Qt::ShiftModifier);
  EXPECT_EQ(popups, 4);
  // A screen reader opens it through the grid's "show menu" action.
  QAccessibleInterface* table = QAccessible::queryAccessibleInterface(w);
  ASSERT_TRUE(table && table->actionInterface());
  ASSERT_TRUE(table->actionInterface()->actionNames().contains(QAccessibleActionInterface::showMenuAction()));
  table->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
  EXPECT_EQ(popups, 5);
  // Without rows the copy commands are off; export still writes the titles.
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(root->Items(i)->Enabled()) << i;
  Chain::Run(chain_->cds2, QStringLiteral("SELECT * FROM ACC_MAST_TEMP WHERE 1 = 0\r\n"));
  Key(w, Qt::Key_Menu);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(root->Items(i)->Enabled()) << i;
  EXPECT_TRUE(root->Items(3)->Enabled());
  chain_->cds2->Close();
  Key(w, Qt::Key_Menu);
  EXPECT_FALSE(root->Items(3)->Enabled());
  // The grid forgets a menu that goes.
  delete menu;
  EXPECT_EQ(grid_->PopupMenu(), nullptr);
  EXPECT_FALSE(table->actionInterface()->actionNames().contains(QAccessibleActionInterface::showMenuAction()));
  Click(w, CellPoint(0, 0), Qt::NoModifier, Qt::RightButton);
}

}  // namespace
