// The client data set: asks its provider (found by ProviderName among its owner's
// components) for every row of CommandText and holds the result as an in-memory table.
// Read-only. A packet given with SetData is used instead when there is no provider name.
#pragma once
#include <QString>
#include <QStringList>
#include <memory>

#include "db/DataPacket.h"
#include "db/DataSet.h"

class TDataSetProvider;

class TClientDataSet : public TDataSet {
 public:
  explicit TClientDataSet(TComponent* owner);
  ~TClientDataSet() override;
  QString ClassName() const override { return QStringLiteral("TClientDataSet"); }

  const QString& ProviderName() const { return providerName_; }
  void SetProviderName(const QString& name);
  const QString& CommandText() const { return commandText_; }
  void SetCommandText(const QString& text) { commandText_ = text; }
  // Rows per packet; -1 fetches every row in one packet.
  int PacketRecords() const { return packetRecords_; }
  void SetPacketRecords(int n) { packetRecords_ = n; }
  QStringList& Params() { return params_; }
  // The "LCID" attribute of the open result.
  int32_t Lcid() const { return table_ ? table_->Lcid() : 0; }

  // Gives the data set a packet to open on instead of asking a provider.
  void SetData(TDataPacket packet);

 protected:
  void InternalOpen() override;

 private:
  QString providerName_;
  QString commandText_;
  int packetRecords_ = -1;
  QStringList params_;
  std::unique_ptr<TDataPacket> data_;
};
