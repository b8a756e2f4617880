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

TFont* TColumnTitle::FontRef() {
  if (!font_) font_ = Font();
  return &*font_;
}

void TColumnTitle::FontChanged() { column_->Changed(); }

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

TColumn::TColumn(TCollection* collection) : TCollectionItem(collection), title_(this) {}

TDBGridColumns* TColumn::Columns() const { return static_cast<TDBGridColumns*>(Collection()); }

TCustomDBGrid* TColumn::Grid() const { return Columns() ? Columns()->Grid() : nullptr; }

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

TFont* TColumn::FontRef() {
  if (!font_) font_ = Font();
  return &*font_;
}

void TColumn::SetVisible(bool v) {
  visible_ = v;
  Changed();
}

void TColumn::Changed() {
  if (Columns()) Columns()->NotifyChanged();
}

// --- TDBGridColumns ----------------------------------------------------------------------

TDBGridColumns::TDBGridColumns(TCustomDBGrid* grid)
    : TCollection(QStringLiteral("TColumn"),
                  [this](TCollection* c) -> std::unique_ptr<TCollectionItem> {
                    // Columns made one by one (by code or by a stored definition) are the
                    // grid's own; RebuildDefault puts the default state back.
                    state_ = TDBGridColumnsState::csCustomized;
                    return std::make_unique<TColumn>(c);
                  }),
      grid_(grid) {}

void TDBGridColumns::SetState(TDBGridColumnsState s) {
  if (s == state_) return;
  state_ = s;
  if (s == TDBGridColumnsState::csDefault) Clear();
}

void TDBGridColumns::RebuildDefault(const std::vector<QString>& fieldNames) {
  BeginUpdate();
  Clear();
  for (const QString& n : fieldNames) Add()->SetFieldName(n);
  state_ = TDBGridColumnsState::csDefault;
  EndUpdate();
}

void TDBGridColumns::Changed() {
  if (grid_) grid_->LayoutChanged();
}
