// The grid's link to its data source. It keeps the grid's window onto the data set:
// BufferCount() records starting at FirstRecord(), with the data set's current record at
// ActiveRecord() inside it. Record numbers count from 0 in the data set's order. When the
// current record leaves the window the window moves just enough to hold it again and the
// grid is told the distance; painting moves ActiveRecord() over the window's rows and puts
// it back (TGridActiveRecordGuard).
#pragma once
#include <QString>
#include <set>
#include <vector>

#include "db/DataSet.h"
#include "db/DataSource.h"
#include "platform/Types.h"

class TCustomDBGrid;

class TGridDataLink : public TDataLink {
 public:
  explicit TGridDataLink(TCustomDBGrid* grid) : grid_(grid) {}

  int FirstRecord() const { return TopRow(); }
  // The current record's place in the window, or the row being painted while a
  // TGridActiveRecordGuard holds one (this hides the data link's own reading on purpose).
  int ActiveRecord() const { return paintRecord_ >= 0 ? paintRecord_ : TDataLink::ActiveRecord(); }
  // Where the current record stood in the window before the last move.
  int PreviousActiveRecord() const { return previousActive_; }

  int DataSetRecordCount() const;
  // The data set's current record number (0-based).
  int CurrentRecord() const;
  void MoveBy(int distance);
  void First();
  void Last();
  bool Bof() const;
  bool Eof() const;

  TField* FindField(const QString& name) const;
  std::vector<QString> VisibleFieldNames() const;
  // Display text of `field` in record `record`, read without moving the data set.
  QString DisplayText(int record, TField* field) const;

  // Records picked with the multi-select option.
  bool IsRecordSelected(int record) const { return selected_.count(record) != 0; }
  void ToggleRecordSelected(int record);
  void ClearSelection() { selected_.clear(); }

  // Brings the grid in line with the data set after loading.
  void DataSetStateChanged() { UpdateActive(); }

 protected:
  void ActiveChanged() override;
  void DataSetChanged() override;
  void DataSetScrolled(int distance) override;
  void RecordChanged(TField* field) override;
  void LayoutChanged() override;

 private:
  friend class TGridActiveRecordGuard;
  TCustomDBGrid* grid_;  // owner
  int paintRecord_ = -1;
  int previousActive_ = 0;
  std::set<int> selected_;
};

// Makes record `r` of the window the active one for its lifetime, then puts the previous
// one back, also when drawing fails.
class TGridActiveRecordGuard {
 public:
  TGridActiveRecordGuard(TGridDataLink& link, int r) : link_(link), saved_(link.paintRecord_) {
    link.paintRecord_ = r;
  }
  ~TGridActiveRecordGuard() { link_.paintRecord_ = saved_; }
  TGridActiveRecordGuard(const TGridActiveRecordGuard&) = delete;
  TGridActiveRecordGuard& operator=(const TGridActiveRecordGuard&) = delete;

 private:
  TGridDataLink& link_;
  int saved_;
};

// What the columns take from a field.
QString GridFieldDisplayName(const TField* f);
int GridFieldDisplayWidth(const TField* f);
TAlignment GridFieldAlignment(const TField* f);
