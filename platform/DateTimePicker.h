// The platform's date picker over QDateEdit: a date in the user's regional short (or long)
// date format with a drop-down calendar. The value is a full date-time; the picker shows and
// edits the date and keeps the time of day it was given.
//
// Only the date kind is shown (dtkTime is kept for stored definitions but shows the date too).
// OnChange fires when the user changes the date (typing, arrows or the calendar), never when
// the program sets the value. GUI thread only.
#pragma once
#include <QDateTime>

#include "platform/Controls.h"
#include "platform/DateTime.h"

class QDateEdit;

enum class TDateTimeKind { dtkDate, dtkTime };
enum class TDTDateFormat { dfShort, dfLong };
enum class TDTDateMode { dmComboBox, dmUpDown };

class TDateTimePicker : public TWinControl {
 public:
  explicit TDateTimePicker(TComponent* owner);
  ~TDateTimePicker() override;
  QString ClassName() const override { return QStringLiteral("TDateTimePicker"); }

  QDateTime DateTime() const { return value_; }
  void SetDateTime(const QDateTime& v);
  QDate Date() const { return value_.date(); }
  // Replaces the date part; the time of day stays.
  void SetDate(const QDate& d);
  QTime Time() const { return value_.time(); }
  void SetTime(const QTime& t);
  // The stored forms: the date part as whole days, the time as the day's fraction.
  TDateTime DateValue() const { return DateFromQt(value_.date()); }
  void SetDateValue(TDateTime v);
  TDateTime TimeValue() const { return TimeFromQt(value_.time()); }
  void SetTimeValue(TDateTime v);

  TDateTimeKind Kind() const { return kind_; }
  void SetKind(TDateTimeKind k);
  TDTDateFormat DateFormat() const { return dateFormat_; }
  void SetDateFormat(TDTDateFormat f);
  TDTDateMode DateMode() const { return dateMode_; }
  void SetDateMode(TDTDateMode m);
  // The display format in use (Qt notation), from the user's locale.
  QString DisplayFormat() const;
  // The Qt editor; nullptr before the window exists.
  QDateEdit* Editor() const;

  TNotifyEvent OnChange;

 protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget(QWidget* w) override;
  bool WantsFocus() const override { return true; }
  virtual void Change() { OnChange(this); }

 private:
  void PushValue();
  void ApplyFormat();
  void UserChanged();

  QDateTime value_;
  TDateTimeKind kind_ = TDateTimeKind::dtkDate;
  TDTDateFormat dateFormat_ = TDTDateFormat::dfShort;
  TDTDateMode dateMode_ = TDTDateMode::dmComboBox;
  bool pushing_ = false;
};
