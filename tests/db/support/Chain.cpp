#include "support/Chain.h"

#include "support/VoucherFields.h"

Chain::Chain(bool persistentFields, bool connect) : form(std::make_unique<TComponent>(nullptr)) {
  TComponent* f = form.get();
  connection = new TSQLConnection(f);
  connection->BeginLoading();
  connection->SetName(QStringLiteral("SQLConnection1"));
  connection->SetConnectionName(QStringLiteral("Kestrel"));
  connection->SetDriverName(QStringLiteral("Interbase"));
  connection->SetGetDriverFunc(QStringLiteral("getSQLDriverINTERBASE"));
  connection->SetLibraryName(QStringLiteral("dbexpint.dll"));
  connection->SetVendorLib(QStringLiteral("gds32.dll"));
  connection->SetLoadParamsOnConnect(true);
  connection->SetLoginPrompt(false);
  connection->SetKeepConnection(true);
  connection->SetParams({QStringLiteral("DriverName=Interbase"), QStringLiteral("Database=localhost:/data/kestrel.fdb"),
                         QStringLiteral("User_Name=sysdba"), QStringLiteral("Password=k7Rw2qZx")});
  connection->SetConnected(connect);

  auto makeChain = [&](int n, TSQLDataSet*& sql, TDataSetProvider*& prov, TClientDataSet*& cds, TDataSource*& src,
                       const QString& table) {
    sql = new TSQLDataSet(f);
    sql->SetName(QStringLiteral("SQLDataSet%1").arg(n));
    sql->SetSQLConnection(connection);
    sql->SetCommandText(QStringLiteral("select * from ") + table);
    prov = new TDataSetProvider(f);
    prov->SetName(QStringLiteral("DataSetProvider%1").arg(n));
    prov->SetDataSet(sql);
    prov->SetOptions(poAllowCommandText);
    cds = new TClientDataSet(f);
    cds->SetName(QStringLiteral("ClientDataSet%1").arg(n));
    cds->SetProviderName(prov->Name());
    src = new TDataSource(f);
    src->SetName(QStringLiteral("DataSource%1").arg(n));
    src->SetDataSet(cds);
  };
  makeChain(1, sql1, provider1, cds1, source1, QStringLiteral("ACC_MAIN_TEMP"));
  makeChain(2, sql2, provider2, cds2, source2, QStringLiteral("ACC_MAST_TEMP"));
  if (persistentFields) {
    AddHeaderFields(f, cds1);
    AddLineFields(f, cds2);
  }
  connection->Loaded();
}

Chain::~Chain() = default;

void Chain::Run(TClientDataSet* cds, const QString& sql) {
  cds->Close();
  cds->SetCommandText(sql);
  cds->Open();
}
