#include "grid/DBGridColumns.h"

#include <algorithm>

#include "grid/DBGrid.h"
#include "grid/GridDataLink.h"
#include "platform/Colors.h"

// --- TColumnTitle ------------------------------------------------------------------------

QString TColumnTitle::Caption() const {
  if (caption_) return *caption_;
  if (TField* f = column_->Field()) return GridFieldDisplayName(f);
  return column_->FieldName();
}

void TColumnTitle::SetCaption(const QString& s) {
  caption_ = s;
  column_->Changed();
}

void TColumnTitle::SetAlignment(TAlignment a) {
  alignment_ = a;
  column_->Changed();
}

TFont TColumnTitle::Font() const {
  if (font_) return *font_;
  if (TCustomDBGrid* g = column_->Grid()) return g->TitleFont();
  return TFont();
}

void TColumnTitle::SetFont(const TFont& f) {
  font_ = f;
  column_->Changed();
}

TColor TColumnTitle::Color() const {
  if (color_) return *color_;
  if (TCustomDBGrid* g = column_->Grid()) return g->FixedColor();
  return clBtnFace;
}

void TColumnTitle::SetColor(TColor c) {
  color_ = c;
  column_->Changed();
}

// --- TColumn -----------------------------------------------------------------------------

TColumn::TColumn(TDBGridColumns* collection) : collection_(collection), title_(this) {}

TCustomDBGrid* TColumn::Grid() const { return collection_ ? collection_->Grid() : nullptr; }

int TColumn::Index() const { return collection_ ? collection_->IndexOf(this) : -1; }

void TColumn::SetFieldName(const QString& name) {
  fieldName_ = name;
  Changed();
}

TField* TColumn::Field() const {
  TCustomDBGrid* g = Grid();
  if (!g || fieldName_.isEmpty() || !g->DataLink()) return nullptr;
  return g->DataLink()->FindField(fieldName_);
}

int TColumn::Width() const {
  if (width_) return *width_;
  TCustomDBGrid* g = Grid();
  const int displayWidth = Field() ? GridFieldDisplayWidth(Field()) : 10;
  const bool titles = g && (g->Options() & dgTitles);
  return DefaultColumnWidth(displayWidth, TCellFont(Font()), Title().Caption(), TCellFont(Title().Font()), titles);
}

void TColumn::SetWidth(int w) {
  width_ = std::max(0, w);
  Changed();
}

TAlignment TColumn::Alignment() const {
  if (alignment_) return *alignment_;
  if (TField* f = Field()) return GridFieldAlignment(f);
  return taLeftJustify;
}

void TColumn::SetAlignment(TAlignment a) {
  alignment_ = a;
  Changed();
}

TColor TColumn::Color() const {
  if (color_) return *color_;
  if (TCustomDBGrid* g = Grid()) return g->Color();
  return clWindow;
}

void TColumn::SetColor(TColor c) {
  color_ = c;
  Changed();
}

TFont TColumn::Font() const {
  if (font_) return *font_;
  if (TCustomDBGrid* g = Grid()) return g->Font();
  return TFont();
}

void TColumn::SetFont(const TFont& f) {
  font_ = f;
  Changed();
}

void TColumn::SetVisible(bool v) {
  visible_ = v;
  Changed();
}

void TColumn::Changed() {
  if (collection_) collection_->Changed();
}

// --- TDBGridColumns ----------------------------------------------------------------------

TColumn* TDBGridColumns::Add() {
  items_.push_back(std::make_unique<TColumn>(this));
  state_ = TDBGridColumnsState::csCustomized;
  Changed();
  return items_.back().get();
}

void TDBGridColumns::Clear() {
  items_.clear();
  Changed();
}

void TDBGridColumns::Delete(int i) {
  if (i < 0 || i >= Count()) return;
  items_.erase(items_.begin() + i);
  Changed();
}

void TDBGridColumns::Move(int from, int to) {
  if (from < 0 || from >= Count() || to < 0 || to >= Count() || from == to) return;
  auto col = std::move(items_[static_cast<size_t>(from)]);
  items_.erase(items_.begin() + from);
  items_.insert(items_.begin() + to, std::move(col));
  Changed();
}

int TDBGridColumns::IndexOf(const TColumn* c) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[static_cast<size_t>(i)].get() == c) return i;
  return -1;
}

void TDBGridColumns::SetState(TDBGridColumnsState s) {
  if (s == state_) return;
  state_ = s;
  if (s == TDBGridColumnsState::csDefault) Clear();
}

void TDBGridColumns::RebuildDefault(const std::vector<QString>& fieldNames) {
  BeginUpdate();
  items_.clear();
  for (const QString& n : fieldNames) {
    items_.push_back(std::make_unique<TColumn>(this));
    items_.back()->fieldName_ = n;
  }
  state_ = TDBGridColumnsState::csDefault;
  EndUpdate();
}

void TDBGridColumns::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) Changed();
}

void TDBGridColumns::Changed() {
  if (updateCount_ == 0 && grid_) grid_->LayoutChanged();
}
