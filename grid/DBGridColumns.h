// Columns of a data grid: which field each shows, with its title, width, alignment, colour
// and font. A value the column does not set itself comes from its field and its grid at the
// time the grid lays out its columns. Owned by the grid's column collection.
#pragma once
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Collection.h"
#include "platform/Font.h"
#include "platform/Types.h"

class TField;
class TCustomDBGrid;
class TDBGridColumns;
class TColumn;

class TColumnTitle : public TPersistent {
 public:
  explicit TColumnTitle(TColumn* column) : column_(column) {}
  // The column's own caption, else its field's display name, else its field name.
  QString Caption() const;
  void SetCaption(const QString& s);
  bool IsCaptionStored() const { return caption_.has_value(); }
  TAlignment Alignment() const { return alignment_.value_or(taLeftJustify); }
  void SetAlignment(TAlignment a);
  // The grid's title font unless the title sets its own.
  TFont Font() const;
  void SetFont(const TFont& f);
  // The title's own font for editing in place (made from the grid's title font on first use).
  TFont* FontRef();
  void FontChanged();
  TColor Color() const;
  void SetColor(TColor c);

 private:
  TColumn* column_;  // owner
  std::optional<QString> caption_;
  std::optional<TAlignment> alignment_;
  std::optional<TFont> font_;
  std::optional<TColor> color_;
};

class TColumn : public TCollectionItem {
 public:
  explicit TColumn(TCollection* collection);
  TColumn(const TColumn&) = delete;
  TColumn& operator=(const TColumn&) = delete;

  TDBGridColumns* Columns() const;
  TCustomDBGrid* Grid() const;

  const QString& FieldName() const { return fieldName_; }
  void SetFieldName(const QString& name);
  // The data set's field of that name while the grid's data set has one; else nullptr.
  TField* Field() const;

  // Width in pixels: the stored width, else the width that the field and fonts give.
  int Width() const;
  void SetWidth(int w);
  bool IsWidthStored() const { return width_.has_value(); }
  // Text fields left, number fields right, unless the column says otherwise.
  TAlignment Alignment() const;
  void SetAlignment(TAlignment a);
  bool IsAlignmentStored() const { return alignment_.has_value(); }
  TColor Color() const;
  void SetColor(TColor c);
  TFont Font() const;
  void SetFont(const TFont& f);
  TFont* FontRef();
  void FontChanged() { Changed(); }
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v) { readOnly_ = v; }

  TColumnTitle& Title() { return title_; }
  const TColumnTitle& Title() const { return title_; }

  // Tells the grid that the look of this column changed.
  void Changed();

 private:
  QString fieldName_;
  std::optional<int> width_;
  std::optional<TAlignment> alignment_;
  std::optional<TColor> color_;
  std::optional<TFont> font_;
  bool visible_ = true;
  bool readOnly_ = false;
  TColumnTitle title_;
};

// The grid's column list. csDefault: built by the grid from the data set's fields, one per
// field; csCustomized: columns that were added or stored.
enum class TDBGridColumnsState { csDefault, csCustomized };

class TDBGridColumns : public TCollection {
 public:
  explicit TDBGridColumns(TCustomDBGrid* grid);
  TCustomDBGrid* Grid() const { return grid_; }
  TColumn* Items(int i) const { return static_cast<TColumn*>(TCollection::Items(i)); }
  TColumn* operator[](int i) const { return Items(i); }
  // Adds a column; the list becomes customized (so do columns read from a definition).
  TColumn* Add() { return static_cast<TColumn*>(TCollection::Add()); }
  TDBGridColumnsState State() const { return state_; }
  void SetState(TDBGridColumnsState s);
  // Replaces the list by one column per field of the data set (default columns).
  void RebuildDefault(const std::vector<QString>& fieldNames);
  void Changed() override;

 private:
  TCustomDBGrid* grid_;  // owner
  TDBGridColumnsState state_ = TDBGridColumnsState::csDefault;
};
