// The data set base: open/close, a cursor over the rows (RecNo is 1-based), the field
// list, and the data sources that watch it. Data sets that hold their rows in memory keep a
// TMemTable; fields and DisplayText read it directly. GUI thread only.
#pragma once
#include <QString>
#include <memory>
#include <vector>

#include "db/Field.h"
#include "db/MemTable.h"
#include "platform/Component.h"

class TDataSource;

enum class TDataSetState { dsInactive, dsBrowse };

enum class TDataEvent {
  deActiveChange,      // opened or closed
  deDataSetChange,     // the rows changed as a whole (open, First, Last)
  deDataSetScroll,     // the current record moved
  deRecordChange,      // one record's values changed
  deLayoutChange,      // fields added, removed or rearranged
};

class TDataSet : public TComponent {
 public:
  explicit TDataSet(TComponent* owner);
  ~TDataSet() override;
  QString ClassName() const override { return QStringLiteral("TDataSet"); }

  // --- state
  bool Active() const { return state_ != TDataSetState::dsInactive; }
  void SetActive(bool on);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  TDataSetState State() const { return state_; }
  void Loaded() override;

  // --- cursor
  int RecordCount() const { return table_ ? table_->RowCount() : 0; }
  // 1-based; 0 when closed or empty.
  int RecNo() const { return RecordCount() > 0 ? cur_ + 1 : 0; }
  void SetRecNo(int recNo);
  void First();
  void Last();
  void Next() { MoveBy(1); }
  void Prior() { MoveBy(-1); }
  // Moves by `distance` records (clamped); returns how far it moved. Trying to pass the
  // last record sets Eof, the first Bof.
  int MoveBy(int distance);
  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }
  bool IsEmpty() const { return RecordCount() == 0; }

  // --- fields
  int FieldCount() const { return static_cast<int>(fields_.size()); }
  TField* Fields(int i) const { return fields_.at(static_cast<size_t>(i)); }
  const std::vector<TField*>& FieldList() const { return fields_; }
  // By field name without regard to case; nullptr when absent.
  TField* FindField(const QString& name) const;
  // As FindField; raises "<name>: Field '<name>' not found" when absent.
  TField* FieldByName(const QString& name) const;

  // Text of field `fieldIndex` in 0-based row `row`, without moving the cursor; empty for
  // rows out of range. What the grid paints.
  QString DisplayText(int row, int fieldIndex) const {
    if (row < 0 || row >= RecordCount() || fieldIndex < 0 || fieldIndex >= FieldCount()) return QString();
    return fields_[static_cast<size_t>(fieldIndex)]->DisplayTextAt(row);
  }

  const TMemTable* Table() const { return table_.get(); }

  // --- data sources (called by TDataSource)
  void AddDataSource(TDataSource* ds);
  void RemoveDataSource(TDataSource* ds);
  void DataEvent(TDataEvent event, int info = 0);

  // Raises an EDatabaseError with "<Name>: " before the text when the data set has a name.
  [[noreturn]] void DatabaseError(const QString& message) const;

 protected:
  // Opens the data set: fills table_ (may stay null for data sets without rows in memory).
  virtual void InternalOpen() = 0;
  // Releases what InternalOpen made; table_ is dropped by the caller afterwards.
  virtual void InternalClose() {}
  // Binds the fields to table_ by name: default fields when none are persistent.
  void BindFields();
  void UnbindFields();

  std::unique_ptr<TMemTable> table_;

 private:
  friend class TField;
  void AttachField(TField* f);
  void DetachField(TField* f);

  TDataSetState state_ = TDataSetState::dsInactive;
  bool streamedActive_ = false;
  int cur_ = 0;  // 0-based current row
  bool eof_ = true;
  bool bof_ = true;
  std::vector<TField*> fields_;       // persistent: referenced; default: owned by this
  bool defaultFields_ = false;
  std::vector<TDataSource*> sources_;  // referenced, not owned
};
