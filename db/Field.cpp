#include "db/Field.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTime>

#include "db/DataSet.h"
#include "db/FloatFormat.h"

TField::TField(TComponent* owner) : TComponent(owner) {}

TField::TField(TComponent* owner, TFieldType type, int size, TAlignment alignment)
    : TComponent(owner), size_(size), dataType_(type), alignment_(alignment) {}

TField::~TField() {
  if (dataSet_) dataSet_->DetachField(this);
}

void TField::SetDataSet(TDataSet* ds) {
  if (ds == dataSet_) return;
  if (dataSet_) dataSet_->DetachField(this);
  if (ds) ds->AttachField(this);
}

void TField::Notification(TComponent* c, TOperation op) { TComponent::Notification(c, op); }

int TField::Index() const {
  if (!dataSet_) return -1;
  const auto& list = dataSet_->FieldList();
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i] == this) return static_cast<int>(i);
  return -1;
}

int TField::CurrentRow() const { return dataSet_ ? dataSet_->RecNo() - 1 : -1; }

bool TField::IsNullAt(int row) const {
  if (!table_ || column_ < 0 || row < 0 || row >= table_->RowCount()) return true;
  return table_->IsNull(row, column_);
}

QString TField::AsStringAt(int row) const {
  if (IsNullAt(row)) return QString();
  return table_->Text(row, column_);
}

bool TField::IsNull() const { return IsNullAt(CurrentRow()); }
QString TField::AsString() const { return AsStringAt(CurrentRow()); }
QString TField::DisplayText() const { return DisplayTextAt(CurrentRow()); }

double TField::AsFloat() const {
  const int row = CurrentRow();
  if (IsNullAt(row)) return 0;
  if (table_->Column(column_).storage == TStorage::Text) {
    bool ok = false;
    const double v = AsStringAt(row).trimmed().toDouble(&ok);
    return ok ? v : 0;
  }
  return table_->Float(row, column_);
}

int64_t TField::AsLargeInt() const {
  const int row = CurrentRow();
  if (IsNullAt(row)) return 0;
  if (table_->Column(column_).storage == TStorage::Text) {
    bool ok = false;
    const qlonglong v = AsStringAt(row).trimmed().toLongLong(&ok);
    return ok ? v : 0;
  }
  return table_->Int(row, column_);
}

// ---------------------------------------------------------------------------------------------

TStringField::TStringField(TComponent* owner) : TField(owner, ftString, 20, taLeftJustify) {}

QString TStringField::AsStringAt(int row) const {
  if (IsNullAt(row)) return QString();
  return table_->Text(row, column_);
}

TFloatField::TFloatField(TComponent* owner) : TField(owner, ftFloat, 0, taRightJustify) {}

QString TFloatField::AsStringAt(int row) const {
  if (IsNullAt(row)) return QString();
  return FloatToStrGeneral(table_->Float(row, column_), precision_);
}

TIntegerField::TIntegerField(TComponent* owner, TFieldType type) : TField(owner, type, 0, taRightJustify) {}

QString TIntegerField::AsStringAt(int row) const {
  if (IsNullAt(row)) return QString();
  return QString::number(table_->Int(row, column_));
}

TFMTBCDField::TFMTBCDField(TComponent* owner, TFieldType type) : TField(owner, type, 0, taRightJustify) {}

QString TFMTBCDField::AsStringAt(int row) const {
  if (IsNullAt(row)) return QString();
  // The stored integer is the value times 10^scale: place the point, drop trailing zeros.
  const int64_t v = table_->Int(row, column_);
  const int scale = table_->Column(column_).scale;
  const bool neg = v < 0;
  const uint64_t mag = neg ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
  QString digits = QString::number(mag);
  if (scale > 0) {
    if (digits.size() <= scale) digits = QString(scale - digits.size() + 1, u'0') + digits;
    QString intPart = digits.left(digits.size() - scale);
    QString frac = digits.mid(digits.size() - scale);
    while (!frac.isEmpty() && frac.endsWith(u'0')) frac.chop(1);
    digits = frac.isEmpty() ? intPart : intPart + DecimalSeparator() + frac;
  }
  return neg && digits != QStringLiteral("0") ? u'-' + digits : digits;
}

TDateTimeField::TDateTimeField(TComponent* owner, TFieldType type) : TField(owner, type, 0, taLeftJustify) {}

QString TDateTimeField::AsStringAt(int row) const {
  if (IsNullAt(row)) return QString();
  // Days beyond any calendar (damaged values) show as empty text.
  const int64_t v = table_->Int(row, column_);
  if (v < -(int64_t{1} << 50) || v > (int64_t{1} << 50)) return QString();
  // Dates count days from 0001-01-01 as day 1; times count 1/10000 seconds.
  static const qint64 kJulianDay1 = QDate(1, 1, 1).toJulianDay();
  const QLocale loc = QLocale::system();
  if (DataType() == ftDate) return loc.toString(QDate::fromJulianDay(kJulianDay1 + v - 1), QLocale::ShortFormat);
  if (DataType() == ftTime) {
    const QTime t = QTime::fromMSecsSinceStartOfDay(static_cast<int>((v / 10) % 86400000));
    return loc.toString(t, QLocale::LongFormat);
  }
  const int64_t day = v / 864000000;
  const int64_t tm = v % 864000000;
  const QDateTime dt(QDate::fromJulianDay(kJulianDay1 + day - 1),
                     QTime::fromMSecsSinceStartOfDay(static_cast<int>(tm / 10)));
  return loc.toString(dt, QLocale::ShortFormat);
}

TBooleanField::TBooleanField(TComponent* owner) : TField(owner, ftBoolean, 0, taLeftJustify) {}

QString TBooleanField::AsStringAt(int row) const {
  if (IsNullAt(row)) return QString();
  return table_->Int(row, column_) ? QStringLiteral("True") : QStringLiteral("False");
}

TBlobField::TBlobField(TComponent* owner, TFieldType type) : TField(owner, type, 0, taLeftJustify) {}

QString TBlobField::AsStringAt(int row) const {
  if (IsNullAt(row)) return QString();
  return table_->Text(row, column_);
}

QString TBlobField::DisplayTextAt(int row) const {
  if (DataType() == ftMemo) return IsNullAt(row) ? QStringLiteral("(memo)") : QStringLiteral("(MEMO)");
  return IsNullAt(row) ? QStringLiteral("(blob)") : QStringLiteral("(BLOB)");
}

TField* CreateFieldForType(TComponent* owner, TFieldType type, int size) {
  TField* f = nullptr;
  switch (type) {
    case ftString:
    case ftFixedChar:
    case ftWideString: {
      auto* s = new TStringField(owner);
      s->SetFixedChar(type == ftFixedChar);
      f = s;
      f->SetSize(size);
      break;
    }
    case ftFloat:
    case ftCurrency:
      f = new TFloatField(owner);
      break;
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftLargeint:
      f = new TIntegerField(owner, type);
      break;
    case ftBCD:
    case ftFMTBcd:
      f = new TFMTBCDField(owner, type);
      f->SetSize(size);
      break;
    case ftDate:
    case ftTime:
    case ftDateTime:
    case ftTimeStamp:
      f = new TDateTimeField(owner, type);
      break;
    case ftBoolean:
      f = new TBooleanField(owner);
      break;
    case ftMemo:
    case ftFmtMemo:
      f = new TBlobField(owner, ftMemo);
      break;
    default:
      f = new TBlobField(owner, ftBlob);
      break;
  }
  return f;
}
