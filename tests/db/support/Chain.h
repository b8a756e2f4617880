// The query form's data components, built as its stored definition builds them: one
// connection and two chains of SQL data set, provider, client data set and data source.
#pragma once
#include <memory>

#include "db/ClientDataSet.h"
#include "db/DataSetProvider.h"
#include "db/DataSource.h"
#include "db/SQLConnection.h"
#include "db/SQLDataSet.h"

struct Chain {
  // With `connect` the connection opens at the end of loading, as the stored Connected does.
  explicit Chain(bool persistentFields = true, bool connect = true);
  // Frees the form; the connection closes last.
  ~Chain();

  std::unique_ptr<TComponent> form;
  TSQLConnection* connection = nullptr;
  TSQLDataSet* sql1 = nullptr;
  TSQLDataSet* sql2 = nullptr;
  TDataSetProvider* provider1 = nullptr;
  TDataSetProvider* provider2 = nullptr;
  TClientDataSet* cds1 = nullptr;
  TClientDataSet* cds2 = nullptr;
  TDataSource* source1 = nullptr;
  TDataSource* source2 = nullptr;

  // Closes, sets the statement and opens, as a query does.
  static void Run(TClientDataSet* cds, const QString& sql);
};
