#include "db/DataSet.h"

#include <algorithm>

#include "db/DataSource.h"
#include "platform/Exceptions.h"

TDataSet::TDataSet(TComponent* owner) : TComponent(owner) {}

TDataSet::~TDataSet() {
  Destroying();
  // No notifications or driver calls from a half-destroyed object: drop the rows quietly.
  state_ = TDataSetState::dsInactive;
  table_.reset();
  for (TDataSource* s : std::vector<TDataSource*>(sources_)) s->DataEvent(TDataEvent::deActiveChange, 0);
  for (TDataSource* s : std::vector<TDataSource*>(sources_)) s->SetDataSet(nullptr);
  const std::vector<TField*> fields = fields_;
  fields_.clear();
  for (TField* f : fields) {
    f->dataSet_ = nullptr;
    f->Bind(nullptr, -1);
    if (defaultFields_ && f->Owner() == this) delete f;
  }
}

void TDataSet::DatabaseError(const QString& message) const {
  if (Name().isEmpty()) throw EDatabaseError(message);
  throw EDatabaseError(Name() + QStringLiteral(": ") + message);
}

void TDataSet::Loaded() {
  TComponent::Loaded();
  if (streamedActive_) {
    streamedActive_ = false;
    SetActive(true);
  }
}

void TDataSet::SetActive(bool on) {
  if (IsLoading()) {
    streamedActive_ = on;
    return;
  }
  if (on == Active()) return;
  if (on) {
    try {
      InternalOpen();
      BindFields();
    } catch (...) {
      UnbindFields();
      table_.reset();
      InternalClose();
      throw;
    }
    state_ = TDataSetState::dsBrowse;
    cur_ = 0;
    bof_ = true;
    eof_ = RecordCount() == 0;
  } else {
    InternalClose();
    UnbindFields();
    table_.reset();
    state_ = TDataSetState::dsInactive;
    cur_ = 0;
    bof_ = eof_ = true;
  }
  DataEvent(TDataEvent::deActiveChange);
}

void TDataSet::BindFields() {
  if (!table_) return;
  const TMemTable& t = *table_;
  if (fields_.empty()) {
    defaultFields_ = true;
    for (int i = 0; i < t.ColumnCount(); ++i) {
      const TColumnDesc& c = t.Column(i);
      TField* f = CreateFieldForType(this, c.dataType, c.dataType == ftFMTBcd || c.dataType == ftBCD ? c.scale : c.size);
      f->SetFieldName(c.name);
      f->SetRequired(c.required);
      f->SetDataSet(this);
    }
  }
  for (TField* f : fields_) {
    const int col = t.ColumnIndex(f->FieldName());
    if (col < 0) DatabaseError(QStringLiteral("Field '%1' not found").arg(f->DisplayName()));
    const TColumnDesc& c = t.Column(col);
    if (!f->AcceptsType(c.dataType))
      DatabaseError(QStringLiteral("Type mismatch for field '%1', expecting: %2 actual: %3")
                        .arg(f->DisplayName(), FieldTypeName(f->DataType()), FieldTypeName(c.dataType)));
    // A persistent text field wider than its column takes the column's width.
    if (c.storage == TStorage::Text && c.size > 0 && f->Size() > c.size &&
        (f->DataType() == ftString || f->DataType() == ftFixedChar || f->DataType() == ftWideString))
      f->SetSize(c.size);
    f->Bind(table_.get(), col);
  }
}

void TDataSet::UnbindFields() {
  for (TField* f : fields_) f->Bind(nullptr, -1);
  if (defaultFields_) {
    const std::vector<TField*> fields = fields_;
    for (TField* f : fields)
      if (f->Owner() == this) delete f;  // detaches itself
    defaultFields_ = false;
  }
}

void TDataSet::AttachField(TField* f) {
  if (std::find(fields_.begin(), fields_.end(), f) == fields_.end()) fields_.push_back(f);
  f->dataSet_ = this;
  if (!IsDestroying()) DataEvent(TDataEvent::deLayoutChange);
}

void TDataSet::DetachField(TField* f) {
  fields_.erase(std::remove(fields_.begin(), fields_.end(), f), fields_.end());
  f->dataSet_ = nullptr;
  f->Bind(nullptr, -1);
  if (!IsDestroying() && !defaultFields_) DataEvent(TDataEvent::deLayoutChange);
}

TField* TDataSet::FindField(const QString& name) const {
  for (TField* f : fields_)
    if (f->FieldName().compare(name, Qt::CaseInsensitive) == 0) return f;
  return nullptr;
}

TField* TDataSet::FieldByName(const QString& name) const {
  TField* f = FindField(name);
  if (!f) DatabaseError(QStringLiteral("Field '%1' not found").arg(name));
  return f;
}

// ---------------------------------------------------------------------------------------------
// Cursor.

int TDataSet::MoveBy(int distance) {
  const int n = RecordCount();
  if (!Active() || n == 0) {
    bof_ = eof_ = true;
    return 0;
  }
  if (distance == 0) return 0;
  const int64_t want = static_cast<int64_t>(cur_) + distance;
  const int target = static_cast<int>(std::clamp<int64_t>(want, 0, n - 1));
  if (distance > 0) {
    eof_ = want > n - 1;
    bof_ = false;
  } else {
    bof_ = want < 0;
    eof_ = false;
  }
  const int moved = target - cur_;
  cur_ = target;
  if (moved) DataEvent(TDataEvent::deDataSetScroll, moved);
  return moved;
}

void TDataSet::SetRecNo(int recNo) {
  const int n = RecordCount();
  if (!Active() || n == 0) return;
  const int target = std::clamp(recNo, 1, n) - 1;
  const int moved = target - cur_;
  cur_ = target;
  bof_ = eof_ = false;
  if (moved) DataEvent(TDataEvent::deDataSetScroll, moved);
}

void TDataSet::First() {
  if (!Active()) return;
  cur_ = 0;
  bof_ = true;
  eof_ = RecordCount() == 0;
  DataEvent(TDataEvent::deDataSetChange);
}

void TDataSet::Last() {
  if (!Active()) return;
  const int n = RecordCount();
  cur_ = n > 0 ? n - 1 : 0;
  eof_ = true;
  bof_ = n == 0;
  DataEvent(TDataEvent::deDataSetChange);
}

// ---------------------------------------------------------------------------------------------
// Data sources.

void TDataSet::AddDataSource(TDataSource* ds) {
  if (std::find(sources_.begin(), sources_.end(), ds) == sources_.end()) sources_.push_back(ds);
}

void TDataSet::RemoveDataSource(TDataSource* ds) {
  sources_.erase(std::remove(sources_.begin(), sources_.end(), ds), sources_.end());
}

void TDataSet::DataEvent(TDataEvent event, int info) {
  // Copy: a handler may detach its source.
  const std::vector<TDataSource*> sources = sources_;
  for (TDataSource* s : sources) s->DataEvent(event, info);
}
