#include "db/SQLDataSet.h"

#include "db/SQLConnection.h"
#include "platform/Exceptions.h"

TFieldType FieldTypeOfColumn(dbx::ColumnType t) {
  switch (t) {
    case dbx::ColumnType::Text: return ftString;
    case dbx::ColumnType::FixedText: return ftFixedChar;
    case dbx::ColumnType::Int16: return ftSmallint;
    case dbx::ColumnType::Int32: return ftInteger;
    case dbx::ColumnType::Int64: return ftLargeint;
    case dbx::ColumnType::Float: return ftFloat;
    case dbx::ColumnType::Fixed: return ftFMTBcd;
    case dbx::ColumnType::Date: return ftDate;
    case dbx::ColumnType::Time: return ftTime;
    case dbx::ColumnType::Timestamp: return ftTimeStamp;
    case dbx::ColumnType::Boolean: return ftBoolean;
    case dbx::ColumnType::Memo: return ftMemo;
    case dbx::ColumnType::Blob: return ftBlob;
    default: return ftUnknown;
  }
}

TSQLDataSet::TSQLDataSet(TComponent* owner) : TDataSet(owner) {}

TSQLDataSet::~TSQLDataSet() {
  Destroying();
  FreeStatement();
}

void TSQLDataSet::SetSQLConnection(TSQLConnection* c) {
  if (c == connection_) return;
  Close();
  if (connection_) RemoveFreeNotification(connection_);
  connection_ = c;
  if (c) FreeNotification(c);
}

void TSQLDataSet::Notification(TComponent* c, TOperation op) {
  TDataSet::Notification(c, op);
  if (op == TOperation::opRemove && c == connection_) {
    FreeStatement();
    connection_ = nullptr;
  }
}

void TSQLDataSet::SetCommandText(const QString& text) {
  if (text == commandText_) return;
  Close();
  commandText_ = text;
}

QString TSQLDataSet::StatementText() const {
  if (commandType_ == TSQLCommandType::ctTable) return QStringLiteral("select * from ") + commandText_;
  return commandText_;
}

void TSQLDataSet::InternalOpen() {
  if (!connection_) DatabaseError(QStringLiteral("SQLConnection property required for this operation"));
  if (commandText_.trimmed().isEmpty()) DatabaseError(QStringLiteral("No SQL statement available"));
  connection_->Open();
  try {
    connection_->CheckError(connection_->DriverConnection()->GetCommand(&command_));
    const QByteArray sql = StatementText().toUtf8();
    connection_->CheckError(command_->Prepare(sql.constData(), static_cast<int32_t>(sql.size())));
    connection_->CheckError(command_->Execute(&cursor_));
    if (!cursor_) DatabaseError(QStringLiteral("Cursor not returned from Query"));
    const int n = cursor_->ColumnCount();
    columns_.clear();
    columns_.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
      dbx::ColumnInfo info;
      connection_->CheckError(cursor_->Describe(i, &info));
      TColumnDesc c;
      c.name = QString::fromUtf8(info.name, info.nameLength);
      c.dataType = FieldTypeOfColumn(info.type);
      c.size = info.type == dbx::ColumnType::Text || info.type == dbx::ColumnType::FixedText ? info.size : 0;
      c.precision = info.precision;
      c.scale = info.scale;
      c.charSet = info.charSet;
      c.required = !info.nullable;
      columns_.push_back(std::move(c));
    }
  } catch (...) {
    FreeStatement();
    throw;
  }
}

void TSQLDataSet::InternalClose() { FreeStatement(); }

void TSQLDataSet::FreeStatement() {
  // The cursor goes first: closing it ends the server cursor (and the statement's transaction).
  if (cursor_) cursor_->Release();
  cursor_ = nullptr;
  if (command_) command_->Release();
  command_ = nullptr;
  columns_.clear();
}
