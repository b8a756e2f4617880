// Data sources connect a data set to the controls that show it; a data link is a control's
// end of that connection and receives the data set's events.
#pragma once
#include <vector>

#include "db/DataSet.h"
#include "platform/Component.h"

class TDataLink;

class TDataSource : public TComponent {
 public:
  explicit TDataSource(TComponent* owner);
  ~TDataSource() override;
  QString ClassName() const override { return QStringLiteral("TDataSource"); }

  TDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TDataSet* ds);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);
  TDataSetState State() const {
    return dataSet_ && enabled_ ? dataSet_->State() : TDataSetState::dsInactive;
  }

  // Called by the data set.
  void DataEvent(TDataEvent event, int info);
  void AddLink(TDataLink* link);
  void RemoveLink(TDataLink* link);

 protected:
  void Notification(TComponent* c, TOperation op) override;

 private:
  TDataSet* dataSet_ = nullptr;  // referenced, not owned
  bool enabled_ = true;
  std::vector<TDataLink*> links_;  // referenced, not owned
};

// A control's link to a data source. The link keeps a window of BufferCount records that
// follows the current record: TopRow is the window's first row (0-based), ActiveRecord the
// current record's place in it.
class TDataLink {
 public:
  TDataLink() = default;
  virtual ~TDataLink();
  TDataLink(const TDataLink&) = delete;
  TDataLink& operator=(const TDataLink&) = delete;

  TDataSource* DataSource() const { return dataSource_; }
  void SetDataSource(TDataSource* ds);
  TDataSet* DataSet() const { return dataSource_ ? dataSource_->DataSet() : nullptr; }
  // True when the source is enabled and its data set open.
  bool Active() const { return active_; }

  int BufferCount() const { return bufferCount_; }
  void SetBufferCount(int n);
  int TopRow() const { return top_; }
  int ActiveRecord() const;
  // Records inside the window (fewer than BufferCount near the end).
  int RecordCount() const;

  // Called by the data source.
  void DataEvent(TDataEvent event, int info);
  void UpdateActive();

 protected:
  virtual void ActiveChanged() {}
  virtual void DataSetChanged() {}
  // The window moved by `distance` records (positive: towards later records; 0 when only
  // the current record moved inside it).
  virtual void DataSetScrolled(int distance) {}
  virtual void RecordChanged(TField* field) {}
  virtual void LayoutChanged() { DataSetChanged(); }

 private:
  // Moves the window so that it holds the current record; returns how far it moved.
  int FollowCurrent();

  TDataSource* dataSource_ = nullptr;  // referenced, not owned
  bool active_ = false;
  int bufferCount_ = 1;
  int top_ = 0;
};
