// Fields: named access to one column of a data set's current record (or of any row, for
// painting), with the column's title, width, alignment and display text.
//
// Persistent fields are created by their owner (the form) and attached to a data set with
// SetDataSet; a data set without persistent fields makes default fields for every column
// when it opens and frees them when it closes. A field reads the data set's in-memory
// table directly; `row` arguments are 0-based presentation rows.
#pragma once
#include <QString>
#include <cstdint>

#include "db/FieldTypes.h"
#include "platform/Component.h"
#include "platform/Types.h"

class TDataSet;
class TMemTable;

enum class TFieldKind { fkData, fkCalculated, fkLookup, fkInternalCalc, fkAggregate };

class TField : public TComponent {
 public:
  explicit TField(TComponent* owner);
  ~TField() override;
  QString ClassName() const override { return QStringLiteral("TField"); }

  // Attaches the field to a data set (appended to its field list); nullptr detaches.
  TDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TDataSet* ds);

  const QString& FieldName() const { return fieldName_; }
  void SetFieldName(const QString& name) { fieldName_ = name; }
  // The label as stored; empty when none.
  const QString& DisplayLabel() const { return displayLabel_; }
  void SetDisplayLabel(const QString& label) { displayLabel_ = label; }
  // The label when there is one, else the field name: the column title and error name.
  QString DisplayName() const { return displayLabel_.isEmpty() ? fieldName_ : displayLabel_; }
  // Width in characters: the stored value, or the kind's default (size of a text field,
  // 10 for a floating-point field).
  int DisplayWidth() const { return displayWidth_ > 0 ? displayWidth_ : DefaultWidth(); }
  void SetDisplayWidth(int w) { displayWidth_ = w; }
  int Size() const { return size_; }
  void SetSize(int size) { size_ = size; }
  TFieldType DataType() const { return dataType_; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a) { alignment_ = a; }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { visible_ = v; }
  bool Required() const { return required_; }
  void SetRequired(bool r) { required_ = r; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool r) { readOnly_ = r; }
  TFieldKind FieldKind() const { return TFieldKind::fkData; }
  // Position in the data set's field list (0-based); -1 when detached.
  int Index() const;
  // 1-based column number in the open table; 0 when unbound.
  int FieldNo() const { return column_ + 1; }

  // --- value of the current record
  bool IsNull() const;
  QString AsString() const;
  double AsFloat() const;
  int64_t AsLargeInt() const;
  int AsInteger() const { return static_cast<int>(AsLargeInt()); }
  QString DisplayText() const;
  QString Text() const { return DisplayText(); }

  // --- value of any row, without moving the cursor
  bool IsNullAt(int row) const;
  virtual QString AsStringAt(int row) const;
  virtual QString DisplayTextAt(int row) const { return IsNullAt(row) ? QString() : AsStringAt(row); }

  // Whether a result column of kind `t` can feed this field.
  virtual bool AcceptsType(TFieldType t) const { return t == dataType_; }

  // Binding by the data set: column index in `table`, or -1.
  void Bind(const TMemTable* table, int column) {
    table_ = table;
    column_ = table ? column : -1;
  }
  const TMemTable* BoundTable() const { return table_; }
  int BoundColumn() const { return column_; }

 protected:
  TField(TComponent* owner, TFieldType type, int size, TAlignment alignment);
  virtual int DefaultWidth() const { return size_ > 0 ? size_ : 10; }
  int CurrentRow() const;
  void SetDataType(TFieldType t) { dataType_ = t; }
  void Notification(TComponent* c, TOperation op) override;

  const TMemTable* table_ = nullptr;
  int column_ = -1;

 private:
  friend class TDataSet;
  TDataSet* dataSet_ = nullptr;  // referenced, not owned
  QString fieldName_;
  QString displayLabel_;
  int displayWidth_ = 0;
  int size_ = 0;
  TFieldType dataType_ = ftUnknown;
  TAlignment alignment_ = taLeftJustify;
  bool visible_ = true;
  bool required_ = false;
  bool readOnly_ = false;
};

// Text of at most Size characters (20 by default).
class TStringField : public TField {
 public:
  explicit TStringField(TComponent* owner);
  QString ClassName() const override { return QStringLiteral("TStringField"); }
  QString AsStringAt(int row) const override;
  bool AcceptsType(TFieldType t) const override {
    return t == ftString || t == ftFixedChar || t == ftWideString;
  }
  bool FixedChar() const { return DataType() == ftFixedChar; }
  void SetFixedChar(bool on) { SetDataType(on ? ftFixedChar : ftString); }
};

// An 8-byte floating-point number, shown in general format with `Precision` digits.
class TFloatField : public TField {
 public:
  explicit TFloatField(TComponent* owner);
  QString ClassName() const override { return QStringLiteral("TFloatField"); }
  QString AsStringAt(int row) const override;
  int Precision() const { return precision_; }
  void SetPrecision(int p) { precision_ = p; }
  bool Currency() const { return currency_; }
  void SetCurrency(bool c) { currency_ = c; }

 protected:
  int DefaultWidth() const override { return 10; }

 private:
  int precision_ = 15;
  bool currency_ = false;
};

// Whole numbers: ftSmallint, ftInteger or ftLargeint.
class TIntegerField : public TField {
 public:
  explicit TIntegerField(TComponent* owner, TFieldType type = ftInteger);
  QString ClassName() const override { return QStringLiteral("TIntegerField"); }
  QString AsStringAt(int row) const override;

 protected:
  int DefaultWidth() const override { return DataType() == ftLargeint ? 15 : 10; }
};

// Fixed-point decimal (ftFMTBcd or ftBCD); Size holds the digits after the point.
class TFMTBCDField : public TField {
 public:
  explicit TFMTBCDField(TComponent* owner, TFieldType type = ftFMTBcd);
  QString ClassName() const override { return QStringLiteral("TFMTBCDField"); }
  QString AsStringAt(int row) const override;
  int Precision() const { return precision_; }
  void SetPrecision(int p) { precision_ = p; }

 protected:
  int DefaultWidth() const override { return precision_ > 0 ? precision_ + 2 : 20; }

 private:
  int precision_ = 18;
};

// ftDate, ftTime or ftTimeStamp.
class TDateTimeField : public TField {
 public:
  explicit TDateTimeField(TComponent* owner, TFieldType type = ftTimeStamp);
  QString ClassName() const override { return QStringLiteral("TDateTimeField"); }
  QString AsStringAt(int row) const override;

 protected:
  int DefaultWidth() const override { return 18; }
};

class TBooleanField : public TField {
 public:
  explicit TBooleanField(TComponent* owner);
  QString ClassName() const override { return QStringLiteral("TBooleanField"); }
  QString AsStringAt(int row) const override;

 protected:
  int DefaultWidth() const override { return 5; }
};

// ftMemo (text shown) or ftBlob (shown as "(BLOB)").
class TBlobField : public TField {
 public:
  explicit TBlobField(TComponent* owner, TFieldType type = ftBlob);
  QString ClassName() const override { return QStringLiteral("TBlobField"); }
  QString AsStringAt(int row) const override;
  QString DisplayTextAt(int row) const override;

 protected:
  int DefaultWidth() const override { return 10; }
};

// A default field of the class that fits a column kind.
TField* CreateFieldForType(TComponent* owner, TFieldType type, int size);
