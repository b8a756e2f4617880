#include "db/ClientDataSet.h"

#include "db/DataSetProvider.h"
#include "platform/Exceptions.h"

TClientDataSet::TClientDataSet(TComponent* owner) : TDataSet(owner) {}

TClientDataSet::~TClientDataSet() { Destroying(); }

void TClientDataSet::SetProviderName(const QString& name) {
  if (name == providerName_) return;
  Close();
  providerName_ = name;
}

void TClientDataSet::SetData(TDataPacket packet) {
  Close();
  data_ = std::make_unique<TDataPacket>(std::move(packet));
}

void TClientDataSet::InternalOpen() {
  if (!providerName_.isEmpty()) {
    TComponent* owner = Owner();
    auto* provider = owner ? dynamic_cast<TDataSetProvider*>(owner->FindComponent(providerName_)) : nullptr;
    if (provider) {
      table_ = std::make_unique<TMemTable>(provider->GetRecords(packetRecords_, commandText_));
      return;
    }
  } else if (data_) {
    // A given packet is used once; the next open needs a new one.
    table_ = std::make_unique<TMemTable>(std::move(*data_));
    data_.reset();
    return;
  }
  DatabaseError(QStringLiteral("Missing data provider or data packet"));
}
