#include "platform/DateTimePicker.h"

#include <QDateEdit>
#include <QLocale>

#include "platform/Colors.h"
#include "platform/Exceptions.h"
#include "platform/WidgetBridge.h"

TDateTimePicker::TDateTimePicker(TComponent* owner) : TWinControl(owner) {
  value_ = QDateTime::currentDateTime();
  width_ = 186;
  height_ = 21;
  tabStop_ = true;
  color_ = clWindow;
}

TDateTimePicker::~TDateTimePicker() = default;

QDateEdit* TDateTimePicker::Editor() const { return qobject_cast<QDateEdit*>(handle_); }

QWidget* TDateTimePicker::CreateWidget(QWidget* parent) {
  auto* w = new TBridgedWidget<QDateEdit>(this, TWidgetBridge::Part::Whole, parent);
  w->NativePaint = true;
  // Whatever the user does to the date reaches OnChange; values set by the program do not.
  QObject::connect(w, &QDateEdit::dateChanged, w, [this](const QDate&) {
    if (pushing_) return;
    try {
      UserChanged();
    } catch (...) {
      HandleCurrentException();
    }
  });
  return w;
}

void TDateTimePicker::InitWidget(QWidget* w) {
  TWinControl::InitWidget(w);
  ApplyFormat();
  PushValue();
}

QString TDateTimePicker::DisplayFormat() const {
  const QLocale locale;
  return locale.dateFormat(dateFormat_ == TDTDateFormat::dfShort ? QLocale::ShortFormat : QLocale::LongFormat);
}

void TDateTimePicker::ApplyFormat() {
  QDateEdit* e = Editor();
  if (!e) return;
  e->setDisplayFormat(DisplayFormat());
  e->setCalendarPopup(dateMode_ == TDTDateMode::dmComboBox && kind_ == TDateTimeKind::dtkDate);
}

void TDateTimePicker::PushValue() {
  QDateEdit* e = Editor();
  if (!e) return;
  pushing_ = true;
  e->setDate(value_.date());
  pushing_ = false;
}

void TDateTimePicker::UserChanged() {
  QDateEdit* e = Editor();
  if (!e || e->date() == value_.date()) return;
  value_.setDate(e->date());
  Change();
}

void TDateTimePicker::SetDateTime(const QDateTime& v) {
  if (!v.isValid()) throw EConvertError(QStringLiteral("Invalid date"));
  value_ = v;
  PushValue();
}

void TDateTimePicker::SetDate(const QDate& d) {
  if (!d.isValid()) throw EConvertError(QStringLiteral("Invalid date"));
  value_.setDate(d);
  PushValue();
}

void TDateTimePicker::SetTime(const QTime& t) {
  if (!t.isValid()) throw EConvertError(QStringLiteral("Invalid time"));
  value_.setTime(t);
}

void TDateTimePicker::SetDateValue(TDateTime v) { SetDate(DateToQt(v)); }

void TDateTimePicker::SetTimeValue(TDateTime v) { SetTime(TimeToQt(v)); }

void TDateTimePicker::SetKind(TDateTimeKind k) {
  kind_ = k;
  ApplyFormat();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat f) {
  dateFormat_ = f;
  ApplyFormat();
}

void TDateTimePicker::SetDateMode(TDTDateMode m) {
  dateMode_ = m;
  ApplyFormat();
}
