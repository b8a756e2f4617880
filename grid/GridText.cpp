#include "grid/GridText.h"

#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>
#include <algorithm>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

#include "db/Field.h"
#include "db/MemTable.h"
#include "grid/DBGrid.h"
#include "grid/GridDataLink.h"
#include "platform/Exceptions.h"

namespace {

// A column as the texts take it.
struct TTextColumn {
  QString Title;
  const TField* Field = nullptr;
  // A plain text field whose bytes are already the UTF-8 of its display text.
  const TMemTable* Table = nullptr;
  int TableColumn = -1;
};

std::vector<TTextColumn> TextColumns(const TCustomDBGrid& grid) {
  std::vector<TTextColumn> out;
  const TDBGridColumns& cols = grid.Columns();
  for (int i = 0; i < cols.Count(); ++i) {
    const TColumn* c = cols.Items(i);
    if (!c->Visible()) continue;
    TTextColumn t;
    t.Title = c->Title().Caption();
    t.Field = grid.DataLink()->Active() ? c->Field() : nullptr;
    if (t.Field && typeid(*t.Field) == typeid(TStringField) && t.Field->BoundTable() && t.Field->BoundColumn() >= 0) {
      const TColumnDesc& d = t.Field->BoundTable()->Column(t.Field->BoundColumn());
      // ISO8859_1 columns are decoded byte by byte; every other set is read as UTF-8.
      if (d.storage == TStorage::Text && d.charSet != 21) {
        t.Table = t.Field->BoundTable();
        t.TableColumn = t.Field->BoundColumn();
      }
    }
    out.push_back(std::move(t));
  }
  return out;
}

int RecordCount(const TCustomDBGrid& grid) { return grid.DataLink()->DataSetRecordCount(); }

QString CellText(const TTextColumn& c, int record) { return c.Field ? c.Field->DisplayTextAt(record) : QString(); }

void AppendTabCell(QString& out, const QString& text) {
  const qsizetype start = out.size();
  out += text;
  for (qsizetype i = start; i < out.size(); ++i)
    if (out[i] == u'\t' || out[i] == u'\n' || out[i] == u'\r') out[i] = u' ';
}

// --- CSV -----------------------------------------------------------------------------------

bool NeedsQuotes(std::string_view s) { return s.find_first_of(",\"\r\n") != std::string_view::npos; }

bool NeedsQuotes(const QString& s) {
  for (QChar ch : s)
    if (ch == u',' || ch == u'"' || ch == u'\r' || ch == u'\n') return true;
  return false;
}

// True when `s` is well-formed UTF-8 (what QString::fromUtf8 would give back unchanged).
bool IsUtf8(std::string_view s) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  const unsigned char* end = p + s.size();
  while (p < end) {
    const unsigned char b = *p;
    if (b < 0x80) {
      ++p;
      continue;
    }
    int n;
    uint32_t cp;
    if ((b & 0xE0) == 0xC0) n = 1, cp = b & 0x1F;
    else if ((b & 0xF0) == 0xE0) n = 2, cp = b & 0x0F;
    else if ((b & 0xF8) == 0xF0) n = 3, cp = b & 0x07;
    else return false;
    if (end - p <= n) return false;
    for (int i = 1; i <= n; ++i) {
      if ((p[i] & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (p[i] & 0x3F);
    }
    // Overlong forms, surrogates and values past the last code point.
    if ((n == 1 && cp < 0x80) || (n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000) || cp > 0x10FFFF ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    p += n + 1;
  }
  return true;
}

void AppendUtf8(std::string& out, const QString& s) {
  const QByteArray bytes = s.toUtf8();
  out.append(bytes.constData(), static_cast<size_t>(bytes.size()));
}

void AppendQuoted(std::string& out, std::string_view s) {
  out += '"';
  for (char ch : s) {
    if (ch == '"') out += '"';
    out += ch;
  }
  out += '"';
}

void AppendCsvCell(std::string& out, const QString& text) {
  if (!NeedsQuotes(text)) {
    AppendUtf8(out, text);
    return;
  }
  const QByteArray bytes = text.toUtf8();
  AppendQuoted(out, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

void AppendCsvCell(std::string& out, const TTextColumn& c, int record) {
  if (c.Table) {
    // A null cell shows as empty text; its bytes are empty too.
    const std::string_view bytes = c.Table->TextBytes(record, c.TableColumn);
    // Decoding drops a leading byte order mark, so such text takes the general path.
    if (IsUtf8(bytes) && !bytes.starts_with("\xEF\xBB\xBF")) {
      if (NeedsQuotes(bytes)) AppendQuoted(out, bytes);
      else out.append(bytes);
      return;
    }
  }
  AppendCsvCell(out, CellText(c, record));
}

void Flush(QIODevice& out, std::string& buffer) {
  if (buffer.empty()) return;
  const char* data = buffer.data();
  qint64 left = static_cast<qint64>(buffer.size());
  while (left > 0) {
    const qint64 n = out.write(data, left);
    if (n <= 0) throw EWriteError(QStringLiteral("Stream write error: %1").arg(out.errorString()));
    data += n;
    left -= n;
  }
  buffer.clear();
}

}  // namespace

QString GridCellText(const TCustomDBGrid& grid) {
  if (!grid.DataLink()->Active() || RecordCount(grid) == 0) return QString();
  return grid.CellText(grid.DataLink()->CurrentRecord(), grid.SelectedColumn());
}

QString GridRowsText(const TCustomDBGrid& grid, int first, int last) {
  const std::vector<TTextColumn> cols = TextColumns(grid);
  QString out;
  auto line = [&](auto&& cell) {
    for (size_t i = 0; i < cols.size(); ++i) {
      if (i) out += u'\t';
      AppendTabCell(out, cell(cols[i]));
    }
    out += u'\n';
  };
  line([](const TTextColumn& c) { return c.Title; });
  first = std::max(first, 0);
  last = std::min(last, RecordCount(grid) - 1);
  for (int r = first; r <= last; ++r) line([r](const TTextColumn& c) { return CellText(c, r); });
  return out;
}

QString GridSelectionText(const TCustomDBGrid& grid) {
  int first = 0, last = 0;
  if (grid.HasRowRange() && grid.SelectedRows(first, last)) return GridRowsText(grid, first, last);
  return GridCellText(grid);
}

void WriteGridCsv(const TCustomDBGrid& grid, QIODevice& out) {
  const std::vector<TTextColumn> cols = TextColumns(grid);
  std::string buffer = "\xEF\xBB\xBF";
  constexpr size_t kChunk = 1 << 20;
  buffer.reserve(kChunk + 4096);
  for (size_t i = 0; i < cols.size(); ++i) {
    if (i) buffer += ',';
    AppendCsvCell(buffer, cols[i].Title);
  }
  buffer += "\r\n";
  const int records = RecordCount(grid);
  for (int r = 0; r < records; ++r) {
    for (size_t i = 0; i < cols.size(); ++i) {
      if (i) buffer += ',';
      AppendCsvCell(buffer, cols[i], r);
    }
    buffer += "\r\n";
    if (buffer.size() >= kChunk) Flush(out, buffer);
  }
  Flush(out, buffer);
}

void ExportGridCsv(const TCustomDBGrid& grid, const QString& path) {
  QSaveFile file(path);
  const QString name = QFileInfo(path).fileName();
  if (!file.open(QIODevice::WriteOnly))
    throw EWriteError(QStringLiteral("Cannot create file \"%1\". %2").arg(name, file.errorString()));
  try {
    WriteGridCsv(grid, file);
  } catch (const EWriteError& e) {
    file.cancelWriting();
    throw EWriteError(QStringLiteral("Cannot write file \"%1\". %2").arg(name, e.Message()));
  }
  if (!file.commit()) throw EWriteError(QStringLiteral("Cannot write file \"%1\". %2").arg(name, file.errorString()));
}
