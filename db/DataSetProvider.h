// The provider: runs its SQL data set and writes the whole result into one data packet,
// with the field descriptions, the "LCID" attribute and the default order.
#pragma once
#include <QString>
#include <cstdint>

#include "db/DataPacket.h"
#include "platform/Component.h"

class TSQLDataSet;

enum TProviderOption : uint32_t {
  poFetchBlobsOnDemand = 1u << 0,
  poFetchDetailsOnDemand = 1u << 1,
  poIncFieldProps = 1u << 2,
  poCascadeDeletes = 1u << 3,
  poCascadeUpdates = 1u << 4,
  poReadOnly = 1u << 5,
  poAllowMultiRecordUpdates = 1u << 6,
  poDisableInserts = 1u << 7,
  poDisableEdits = 1u << 8,
  poDisableDeletes = 1u << 9,
  poNoReset = 1u << 10,
  poAutoRefresh = 1u << 11,
  poPropogateChanges = 1u << 12,
  poAllowCommandText = 1u << 13,
  poRetainServerOrder = 1u << 14,
};

class TDataSetProvider : public TComponent {
 public:
  explicit TDataSetProvider(TComponent* owner);
  ~TDataSetProvider() override;
  QString ClassName() const override { return QStringLiteral("TDataSetProvider"); }

  TSQLDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TSQLDataSet* ds);
  uint32_t Options() const { return options_; }
  void SetOptions(uint32_t o) { options_ = o; }

  // Runs `commandText` (the data set's own text when empty) and returns up to `count` rows
  // (-1: every row) in one packet. The SQL data set is closed again before returning. When the
  // connection turns out to be lost, it is made again once and the statement run again.
  TDataPacket GetRecords(int count, const QString& commandText);

 protected:
  void Notification(TComponent* c, TOperation op) override;

 private:
  TDataPacket BuildPacket(int count);

  TSQLDataSet* dataSet_ = nullptr;  // referenced, not owned
  uint32_t options_ = 0;
};
