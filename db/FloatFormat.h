// Number to text the way the fields show numbers: general format, a given number of
// significant digits, no thousands separators, the user's regional decimal separator.
#pragma once
#include <QChar>
#include <QString>

// The user's decimal separator (read once from the system locale); tests may override it.
QChar DecimalSeparator();
void SetDecimalSeparator(QChar c);

// General format: fixed notation when the value has at most `precision` digits before the
// point and is not below 0.00001 in magnitude, else exponent notation ("1.5E20", "1E-7");
// trailing zeros dropped; "NAN", "INF", "-INF" for the non-finite values.
QString FloatToStrGeneral(double value, int precision, QChar decimalSeparator);
inline QString FloatToStrGeneral(double value, int precision = 15) {
  return FloatToStrGeneral(value, precision, DecimalSeparator());
}
