#include "grid/GridDataLink.h"

#include "db/Field.h"
#include "grid/DBGrid.h"

int TGridDataLink::DataSetRecordCount() const {
  TDataSet* ds = DataSet();
  return Active() && ds ? ds->RecordCount() : 0;
}

int TGridDataLink::CurrentRecord() const {
  TDataSet* ds = DataSet();
  return Active() && ds && ds->RecNo() > 0 ? ds->RecNo() - 1 : 0;
}

void TGridDataLink::MoveBy(int distance) {
  if (TDataSet* ds = DataSet(); Active() && distance != 0) ds->MoveBy(distance);
}

void TGridDataLink::First() {
  if (TDataSet* ds = DataSet(); Active()) ds->First();
}

void TGridDataLink::Last() {
  if (TDataSet* ds = DataSet(); Active()) ds->Last();
}

bool TGridDataLink::Bof() const {
  TDataSet* ds = DataSet();
  return !Active() || !ds || ds->RecNo() <= 1;
}

bool TGridDataLink::Eof() const {
  TDataSet* ds = DataSet();
  return !Active() || !ds || ds->RecNo() >= ds->RecordCount();
}

TField* TGridDataLink::FindField(const QString& name) const {
  TDataSet* ds = DataSet();
  return ds ? ds->FindField(name) : nullptr;
}

std::vector<QString> TGridDataLink::VisibleFieldNames() const {
  std::vector<QString> names;
  if (TDataSet* ds = DataSet())
    for (TField* f : ds->FieldList())
      if (f->Visible()) names.push_back(f->FieldName());
  return names;
}

QString TGridDataLink::DisplayText(int record, TField* field) const {
  if (!Active() || !field || record < 0 || record >= DataSetRecordCount()) return QString();
  return field->DisplayTextAt(record);
}

void TGridDataLink::ToggleRecordSelected(int record) {
  if (!selected_.erase(record)) selected_.insert(record);
}

void TGridDataLink::ActiveChanged() {
  selected_.clear();
  previousActive_ = ActiveRecord();
  grid_->LinkActive(Active());
}

void TGridDataLink::DataSetChanged() {
  selected_.clear();
  previousActive_ = ActiveRecord();
  grid_->DataChanged();
}

void TGridDataLink::DataSetScrolled(int distance) {
  grid_->Scroll(distance);
  previousActive_ = ActiveRecord();
}

void TGridDataLink::RecordChanged(TField* field) { grid_->RecordChanged(field); }

void TGridDataLink::LayoutChanged() {
  grid_->LayoutChanged();
  DataSetChanged();
}

QString GridFieldDisplayName(const TField* f) { return f ? f->DisplayName() : QString(); }
int GridFieldDisplayWidth(const TField* f) { return f ? f->DisplayWidth() : 0; }
TAlignment GridFieldAlignment(const TField* f) { return f ? f->Alignment() : taLeftJustify; }
