// A grid's texts from a data packet of bytes: the whole result as CSV and as tab-separated
// rows, through a grid with default columns. The CSV must read back, cell by cell, as the
// display texts the grid paints (the copy of raw text bytes and the general path agree).
#include <QApplication>
#include <QBuffer>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "db/ClientDataSet.h"
#include "db/DataSource.h"
#include "grid/DBGrid.h"
#include "grid/GridText.h"
#include "platform/Exceptions.h"

namespace {

// Fields of one CSV record starting at `at` (RFC 4180); moves `at` past its CR LF.
QStringList ReadRecord(const QString& text, qsizetype& at) {
  QStringList fields;
  QString field;
  bool quoted = false;
  for (; at < text.size(); ++at) {
    const QChar ch = text[at];
    if (quoted) {
      if (ch == u'"' && at + 1 < text.size() && text[at + 1] == u'"') {
        field += u'"';
        ++at;
      } else if (ch == u'"') {
        quoted = false;
      } else {
        field += ch;
      }
    } else if (ch == u'"') {
      quoted = true;
    } else if (ch == u',') {
      fields << field;
      field.clear();
    } else if (ch == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n') {
      at += 2;
      break;
    } else {
      field += ch;
    }
  }
  fields << field;
  return fields;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static int argc = 1;
  static char name[] = "fuzz_grid_csv";
  static char* argv[] = {name, nullptr};
  static QApplication* app = (qputenv("QT_QPA_PLATFORM", "offscreen"), new QApplication(argc, argv));
  (void)app;
  try {
    TComponent owner(nullptr);
    auto* ds = new TClientDataSet(&owner);
    ds->SetData(TDataPacket::Load(data, size));
    ds->Open();
    if (ds->RecordCount() > 500) return 0;
    auto* source = new TDataSource(&owner);
    source->SetDataSet(ds);
    auto* grid = new TDBGrid(&owner);
    grid->SetDataSource(source);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteGridCsv(*grid, buffer);
    const QByteArray bytes = buffer.data();
    if (!bytes.startsWith("\xEF\xBB\xBF")) std::abort();
    const QString text = QString::fromUtf8(bytes.mid(3));
    qsizetype at = 0;
    const QStringList titles = ReadRecord(text, at);
    const int cols = grid->Columns().Count();
    if (titles.size() != std::max(cols, 1)) std::abort();
    for (int r = 0; r < ds->RecordCount(); ++r) {
      const QStringList cells = ReadRecord(text, at);
      for (int c = 0; c < cols; ++c)
        if (cells.value(c) != grid->CellText(r, grid->Columns().Items(c))) std::abort();
    }
    if (at != text.size()) std::abort();
    const QString rows = GridRowsText(*grid, 0, ds->RecordCount() - 1);
    if (rows.count(u'\n') != ds->RecordCount() + 1) std::abort();
  } catch (const Exception&) {
  }
  return 0;
}
