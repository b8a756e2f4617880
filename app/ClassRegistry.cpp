// Stored properties of the data access classes, and the registrations of every library whose
// classes the query form's definition names.
#include "app/ClassRegistry.h"

#include "db/ClientDataSet.h"
#include "db/DataSetProvider.h"
#include "db/DataSource.h"
#include "db/Field.h"
#include "db/SQLConnection.h"
#include "db/SQLDataSet.h"
#include "grid/GridRegistry.h"
#include "platform/Streaming.h"
#include "skin/data/SkinDataClasses.h"
#include "skin/controls/SkinControlsRegistry.h"
#include "skin/form/SkinFormRegistry.h"
#include "skin/menus/bsSkinPopupMenu.h"

namespace {
// A property that the definition may hold but that nothing here keeps (empty parameter and
// aggregate collections of the data sets).
template <class T>
void Accept(TClassBuilder<T>& b, const char* name) {
  b.Ignored(QLatin1String(name));
}

void RegisterDataClasses() {
  RegisterClass<TSQLConnection>(QStringLiteral("TSQLConnection"), QStringLiteral("TComponent"))
      .String(QStringLiteral("ConnectionName"), &TSQLConnection::ConnectionName, &TSQLConnection::SetConnectionName)
      .String(QStringLiteral("DriverName"), &TSQLConnection::DriverName, &TSQLConnection::SetDriverName)
      .String(QStringLiteral("GetDriverFunc"), &TSQLConnection::GetDriverFunc, &TSQLConnection::SetGetDriverFunc)
      .String(QStringLiteral("LibraryName"), &TSQLConnection::LibraryName, &TSQLConnection::SetLibraryName)
      .Bool(QStringLiteral("LoadParamsOnConnect"), &TSQLConnection::LoadParamsOnConnect,
            &TSQLConnection::SetLoadParamsOnConnect, false)
      .Bool(QStringLiteral("LoginPrompt"), &TSQLConnection::LoginPrompt, &TSQLConnection::SetLoginPrompt, true)
      .StringList(QStringLiteral("Params"), [](const TSQLConnection* c) { return c->Params(); }, &TSQLConnection::SetParams)
      .String(QStringLiteral("VendorLib"), &TSQLConnection::VendorLib, &TSQLConnection::SetVendorLib)
      .Bool(QStringLiteral("KeepConnection"), &TSQLConnection::KeepConnection, &TSQLConnection::SetKeepConnection, true)
      .Bool(QStringLiteral("Connected"), &TSQLConnection::Connected, &TSQLConnection::SetConnected, false);

  static const TIdentTable kCommandTypes = {{QStringLiteral("ctQuery"), static_cast<int>(TSQLCommandType::ctQuery)},
                                            {QStringLiteral("ctTable"), static_cast<int>(TSQLCommandType::ctTable)},
                                            {QStringLiteral("ctStoredProc"),
                                             static_cast<int>(TSQLCommandType::ctStoredProc)}};
  auto sql = RegisterClass<TSQLDataSet>(QStringLiteral("TSQLDataSet"), QStringLiteral("TComponent"));
  sql.String(QStringLiteral("CommandText"), &TSQLDataSet::CommandText, &TSQLDataSet::SetCommandText)
      .Enum(QStringLiteral("CommandType"), &TSQLDataSet::CommandType, &TSQLDataSet::SetCommandType, kCommandTypes,
            static_cast<int>(TSQLCommandType::ctQuery))
      .Integer(QStringLiteral("MaxBlobSize"), &TSQLDataSet::MaxBlobSize, &TSQLDataSet::SetMaxBlobSize, 0)
      .Reference<TSQLConnection>(QStringLiteral("SQLConnection"), &TSQLDataSet::SQLConnection,
                                 &TSQLDataSet::SetSQLConnection);
  Accept(sql, "Params");

  static const TIdentTable kProviderOptions = {
      {QStringLiteral("poFetchBlobsOnDemand"), poFetchBlobsOnDemand},
      {QStringLiteral("poFetchDetailsOnDemand"), poFetchDetailsOnDemand},
      {QStringLiteral("poIncFieldProps"), poIncFieldProps},
      {QStringLiteral("poCascadeDeletes"), poCascadeDeletes},
      {QStringLiteral("poCascadeUpdates"), poCascadeUpdates},
      {QStringLiteral("poReadOnly"), poReadOnly},
      {QStringLiteral("poAllowMultiRecordUpdates"), poAllowMultiRecordUpdates},
      {QStringLiteral("poDisableInserts"), poDisableInserts},
      {QStringLiteral("poDisableEdits"), poDisableEdits},
      {QStringLiteral("poDisableDeletes"), poDisableDeletes},
      {QStringLiteral("poNoReset"), poNoReset},
      {QStringLiteral("poAutoRefresh"), poAutoRefresh},
      {QStringLiteral("poPropogateChanges"), poPropogateChanges},
      {QStringLiteral("poAllowCommandText"), poAllowCommandText},
      {QStringLiteral("poRetainServerOrder"), poRetainServerOrder}};
  RegisterClass<TDataSetProvider>(QStringLiteral("TDataSetProvider"), QStringLiteral("TComponent"))
      .Reference<TSQLDataSet>(QStringLiteral("DataSet"), &TDataSetProvider::DataSet, &TDataSetProvider::SetDataSet)
      .Set(QStringLiteral("Options"), &TDataSetProvider::Options, &TDataSetProvider::SetOptions, kProviderOptions, 0u);

  auto cds = RegisterClass<TClientDataSet>(QStringLiteral("TClientDataSet"), QStringLiteral("TComponent"));
  cds.String(QStringLiteral("ProviderName"), &TClientDataSet::ProviderName, &TClientDataSet::SetProviderName)
      .Integer(QStringLiteral("PacketRecords"), &TClientDataSet::PacketRecords, &TClientDataSet::SetPacketRecords, -1)
      .Bool(QStringLiteral("Active"), &TClientDataSet::Active, &TClientDataSet::SetActive, false);
  Accept(cds, "Aggregates");
  Accept(cds, "Params");

  RegisterClass<TDataSource>(QStringLiteral("TDataSource"), QStringLiteral("TComponent"))
      .Reference<TDataSet>(QStringLiteral("DataSet"), &TDataSource::DataSet, &TDataSource::SetDataSet)
      .Bool(QStringLiteral("Enabled"), &TDataSource::Enabled, &TDataSource::SetEnabled, true);

  RegisterClass<TField>(QStringLiteral("TField"), QStringLiteral("TComponent"))
      .String(QStringLiteral("DisplayLabel"), &TField::DisplayLabel, &TField::SetDisplayLabel)
      .String(QStringLiteral("FieldName"), &TField::FieldName, &TField::SetFieldName)
      .Bool(QStringLiteral("Required"), &TField::Required, &TField::SetRequired, false)
      .Integer(QStringLiteral("Size"), &TField::Size, &TField::SetSize, 0);
  RegisterClass<TStringField>(QStringLiteral("TStringField"), QStringLiteral("TField"));
  RegisterClass<TFloatField>(QStringLiteral("TFloatField"), QStringLiteral("TField"));
}

}  // namespace

void RegisterLibraryClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterPlatformClasses();
  RegisterDataClasses();
  ::RegisterSkinDataClasses();
  ::RegisterSkinControlClasses();
  ::RegisterSkinFormClasses();
  ::RegisterSkinMenuClasses();
  ::RegisterGridClasses();
}
