// A statement run on a connection: a forward-only cursor over its result. The provider
// reads the rows straight from the cursor; the data set holds no rows itself.
#pragma once
#include <QString>
#include <QStringList>
#include <vector>

#include "db/DataPacket.h"
#include "db/DataSet.h"
#include "db/DriverApi.h"

class TSQLConnection;

enum class TSQLCommandType { ctQuery, ctTable, ctStoredProc };

class TSQLDataSet : public TDataSet {
 public:
  explicit TSQLDataSet(TComponent* owner);
  ~TSQLDataSet() override;
  QString ClassName() const override { return QStringLiteral("TSQLDataSet"); }

  TSQLConnection* SQLConnection() const { return connection_; }
  void SetSQLConnection(TSQLConnection* c);
  TSQLCommandType CommandType() const { return commandType_; }
  void SetCommandType(TSQLCommandType t) { commandType_ = t; }
  const QString& CommandText() const { return commandText_; }
  void SetCommandText(const QString& text);
  // -1: blobs are read whole.
  int MaxBlobSize() const { return maxBlobSize_; }
  void SetMaxBlobSize(int n) { maxBlobSize_ = n; }
  QStringList& Params() { return params_; }

  // --- the open result
  const std::vector<TColumnDesc>& Columns() const { return columns_; }
  dbx::ISQLCursor* Cursor() const { return cursor_; }
  // The statement text actually run (the table's select for ctTable).
  QString StatementText() const;

 protected:
  void InternalOpen() override;
  void InternalClose() override;
  void Notification(TComponent* c, TOperation op) override;

 private:
  void FreeStatement();

  TSQLConnection* connection_ = nullptr;  // referenced, not owned
  TSQLCommandType commandType_ = TSQLCommandType::ctQuery;
  QString commandText_;
  int maxBlobSize_ = -1;
  QStringList params_;
  dbx::ISQLCommand* command_ = nullptr;  // owned (Release)
  dbx::ISQLCursor* cursor_ = nullptr;    // owned (Release)
  std::vector<TColumnDesc> columns_;
};

// The field kind of a driver column kind.
TFieldType FieldTypeOfColumn(dbx::ColumnType t);
