#include "db/DataSource.h"

#include <algorithm>

TDataSource::TDataSource(TComponent* owner) : TComponent(owner) {}

TDataSource::~TDataSource() {
  Destroying();
  SetDataSet(nullptr);
  for (TDataLink* l : std::vector<TDataLink*>(links_)) l->SetDataSource(nullptr);
}

void TDataSource::SetDataSet(TDataSet* ds) {
  if (ds == dataSet_) return;
  if (dataSet_) {
    dataSet_->RemoveDataSource(this);
    RemoveFreeNotification(dataSet_);
  }
  dataSet_ = ds;
  if (ds) {
    ds->AddDataSource(this);
    FreeNotification(ds);
  }
  for (TDataLink* l : std::vector<TDataLink*>(links_)) l->UpdateActive();
}

void TDataSource::SetEnabled(bool on) {
  if (on == enabled_) return;
  enabled_ = on;
  for (TDataLink* l : std::vector<TDataLink*>(links_)) l->UpdateActive();
}

void TDataSource::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op == TOperation::opRemove && c == dataSet_) SetDataSet(nullptr);
}

void TDataSource::DataEvent(TDataEvent event, int info) {
  if (!enabled_) return;
  for (TDataLink* l : std::vector<TDataLink*>(links_)) l->DataEvent(event, info);
}

void TDataSource::AddLink(TDataLink* link) {
  if (std::find(links_.begin(), links_.end(), link) == links_.end()) links_.push_back(link);
}

void TDataSource::RemoveLink(TDataLink* link) {
  links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end());
}

// ---------------------------------------------------------------------------------------------

TDataLink::~TDataLink() {
  if (dataSource_) dataSource_->RemoveLink(this);
}

void TDataLink::SetDataSource(TDataSource* ds) {
  if (ds == dataSource_) return;
  if (dataSource_) dataSource_->RemoveLink(this);
  dataSource_ = ds;
  if (ds) ds->AddLink(this);
  UpdateActive();
}

void TDataLink::UpdateActive() {
  const bool now = dataSource_ && dataSource_->State() != TDataSetState::dsInactive;
  if (now == active_) return;
  active_ = now;
  top_ = 0;
  if (now) FollowCurrent();
  ActiveChanged();
}

void TDataLink::SetBufferCount(int n) {
  bufferCount_ = std::max(1, n);
  if (active_) FollowCurrent();
}

int TDataLink::ActiveRecord() const {
  TDataSet* ds = DataSet();
  if (!active_ || !ds || ds->RecNo() == 0) return 0;
  return ds->RecNo() - 1 - top_;
}

int TDataLink::RecordCount() const {
  TDataSet* ds = DataSet();
  if (!active_ || !ds) return 0;
  return std::clamp(ds->RecordCount() - top_, 0, bufferCount_);
}

int TDataLink::FollowCurrent() {
  TDataSet* ds = DataSet();
  const int old = top_;
  if (!ds || ds->RecNo() == 0) {
    top_ = 0;
    return -old;
  }
  const int cur = ds->RecNo() - 1;
  if (cur < top_) top_ = cur;
  else if (cur >= top_ + bufferCount_) top_ = cur - bufferCount_ + 1;
  // A window that grew (or a result that shrank) near the end takes in earlier records
  // rather than leaving rows empty; the current record stays inside it.
  top_ = std::max(0, std::min(top_, ds->RecordCount() - bufferCount_));
  return top_ - old;
}

void TDataLink::DataEvent(TDataEvent event, int info) {
  switch (event) {
    case TDataEvent::deActiveChange:
      UpdateActive();
      break;
    case TDataEvent::deDataSetChange:
      if (active_) {
        FollowCurrent();
        DataSetChanged();
      }
      break;
    case TDataEvent::deDataSetScroll:
      if (active_) DataSetScrolled(FollowCurrent());
      break;
    case TDataEvent::deRecordChange:
      if (active_) RecordChanged(nullptr);
      break;
    case TDataEvent::deLayoutChange:
      if (active_) LayoutChanged();
      break;
  }
}
