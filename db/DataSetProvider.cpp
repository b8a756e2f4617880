#include "db/DataSetProvider.h"

#include "db/SQLConnection.h"
#include "db/SQLDataSet.h"
#include "db/SqlText.h"
#include "platform/Exceptions.h"

TDataSetProvider::TDataSetProvider(TComponent* owner) : TComponent(owner) {}

TDataSetProvider::~TDataSetProvider() { Destroying(); }

void TDataSetProvider::SetDataSet(TSQLDataSet* ds) {
  if (ds == dataSet_) return;
  if (dataSet_) RemoveFreeNotification(dataSet_);
  dataSet_ = ds;
  if (ds) FreeNotification(ds);
}

void TDataSetProvider::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op == TOperation::opRemove && c == dataSet_) dataSet_ = nullptr;
}

namespace {

int FindColumn(const std::vector<TColumnDesc>& cols, const QString& name) {
  for (size_t i = 0; i < cols.size(); ++i)
    if (cols[i].name.compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
  return -1;
}

// The default order: the ORDER BY fields, else the table's primary key when all its
// fields are in the result; empty keeps the server's order.
std::vector<TSortKey> DefaultOrder(const TSQLDataSet& ds) {
  std::vector<TSortKey> keys;
  const auto& cols = ds.Columns();
  const QString sql = ds.StatementText();
  if (const auto order = OrderByOfStatement(sql)) {
    for (const TOrderItem& item : *order) {
      const int col = item.position > 0 ? item.position - 1 : FindColumn(cols, item.field);
      if (col < 0 || col >= static_cast<int>(cols.size())) return {};
      keys.push_back({col, item.descending});
    }
    return keys;
  }
  const QString table = TableNameOfStatement(sql);
  if (table.isEmpty() || !ds.SQLConnection()) return {};
  for (const QString& name : ds.SQLConnection()->PrimaryKeyColumns(table)) {
    const int col = FindColumn(cols, name);
    if (col < 0) return {};
    keys.push_back({col, false});
  }
  return keys;
}

void WriteRows(dbx::ISQLCursor* cur, const std::vector<TColumnDesc>& cols, TDataPacket& pk, int count,
               const TSQLConnection& conn) {
  const int n = static_cast<int>(cols.size());
  // Per column: storage kind and slot, read once.
  struct Col {
    TStorage storage;
    int32_t slot;
  };
  std::vector<Col> plan;
  plan.reserve(static_cast<size_t>(n));
  for (const TColumnDesc& c : pk.Columns()) plan.push_back({c.storage, c.slot});
  for (int64_t row = 0; count < 0 || row < count; ++row) {
    const dbx::TStatus st = cur->Next();
    if (st == dbx::kEof) break;
    conn.CheckError(st);
    pk.BeginRow();
    for (int i = 0; i < n; ++i) {
      const Col& c = plan[static_cast<size_t>(i)];
      const bool isNull = cur->IsNull(i);
      switch (c.storage) {
        case TStorage::Text:
          if (isNull) {
            pk.PutNullText();
          } else {
            int32_t len = 0;
            const char* p = cur->GetText(i, &len);
            pk.PutText(p, static_cast<size_t>(len));
          }
          break;
        case TStorage::Float64:
          pk.PutDouble(c.slot, isNull ? 0.0 : cur->GetDouble(i), isNull);
          break;
        case TStorage::Int64:
          pk.PutNumber(c.slot, isNull ? 0 : static_cast<uint64_t>(cur->GetInt64(i)), isNull);
          break;
      }
    }
    pk.EndRow();
  }
}

}  // namespace

TDataPacket TDataSetProvider::GetRecords(int count, const QString& commandText) {
  if (!dataSet_) throw EDatabaseError(QStringLiteral("Missing data provider or data packet"));
  if (!commandText.isEmpty()) {
    if (!(options_ & poAllowCommandText)) throw EDatabaseError(QStringLiteral("CommandText changes are not allowed"));
    dataSet_->SetCommandText(commandText);
  }
  try {
    return BuildPacket(count);
  } catch (const EDatabaseError&) {
    // A connection that broke (a server restart, a dropped network) is made again once and
    // the statement run again; any other failure, or a second one, reaches the user.
    TSQLConnection* connection = dataSet_ ? dataSet_->SQLConnection() : nullptr;
    if (!connection || !connection->ConnectionLost()) throw;
  }
  dataSet_->SQLConnection()->Reconnect();
  return BuildPacket(count);
}

TDataPacket TDataSetProvider::BuildPacket(int count) {
  TSQLDataSet& ds = *dataSet_;
  ds.Open();
  try {
    TDataPacket pk;
    for (const TColumnDesc& c : ds.Columns()) pk.AddColumn(c);
    pk.SetLcid(ds.SQLConnection()->LocaleCode());
    if (!(options_ & poRetainServerOrder)) pk.SetDefaultOrder(DefaultOrder(ds));
    WriteRows(ds.Cursor(), ds.Columns(), pk, count, *ds.SQLConnection());
    pk.Finish();
    ds.Close();
    return pk;
  } catch (...) {
    ds.Close();
    throw;
  }
}
